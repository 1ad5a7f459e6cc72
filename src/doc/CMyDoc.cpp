#include "doc/CMyDoc.h"

#include "platform/Utf16.h"
#include "platform/fx/Archive.h"
#include "res/Resource.h"
#include "res/Strings.h"

CMyDoc::CMyDoc()
{
    setDocString(platform::toQString(res::loadString(res::IDR_MAINFRAME)));
}

CMyDoc::~CMyDoc() = default;

bool CMyDoc::onNewDocument()
{
    if (!Document::onNewDocument())
        return false;
    // The code page and the font stay as they are; only the text goes.
    if (m_view)
        m_view->DeleteText();
    return true;
}

bool CMyDoc::onOpenDocument(const QString& path)
{
    // Asked first: a record taken back brings the code page the file is to be read in.
    if (m_recovery)
        m_recovery->OfferRecordsOf(path);
    bool opened = false;
    // Refused this early, the text on screen and the modified flag stay as they were.
    if (m_view && !m_view->CheckCodePageForOpen()) {
        opened = false;
    } else if (m_recovery && m_recovery->RestoresMissingFile(path)) {
        deleteContents();
        opened = true;
    } else {
        opened = Document::onOpenDocument(path);
    }
    if (!opened && m_recovery)
        m_recovery->OpenFailed();
    return opened;
}

void CMyDoc::deleteContents()
{
    if (m_view)
        m_view->DeleteText();
}

void CMyDoc::serialize(platform::fx::Archive& ar)
{
    if (m_view)
        m_view->SerializeEncoded(ar);
}
