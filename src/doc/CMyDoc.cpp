#include "doc/CMyDoc.h"

#include "platform/fx/Archive.h"
#include "view/CMyView.h"

CMyDoc::CMyDoc() = default;
CMyDoc::~CMyDoc() = default;

bool CMyDoc::onNewDocument()
{
    if (!Document::onNewDocument())
        return false;
    // The code page and the font stay as they are; only the text goes.
    if (m_view)
        m_view->setText(std::u16string_view());
    return true;
}

bool CMyDoc::onOpenDocument(const QString& path)
{
    // Refused this early, the text on screen and the modified flag stay as they were.
    if (m_view && !m_view->CheckCodePageForOpen())
        return false;
    return Document::onOpenDocument(path);
}

void CMyDoc::deleteContents()
{
    if (m_view)
        m_view->setText(std::u16string_view());
}

void CMyDoc::serialize(platform::fx::Archive& ar)
{
    if (m_view)
        m_view->SerializeEncoded(ar);
}
