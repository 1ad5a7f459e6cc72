#pragma once
// The document: a path, a title and a modified flag. Everything that knows about encodings
// lives in the view, to which load and save are handed.

#include "doc/DocumentRecovery.h"
#include "doc/DocumentText.h"
#include "platform/fx/Document.h"

class CMyDoc : public platform::fx::Document {
    Q_OBJECT
public:
    CMyDoc();
    ~CMyDoc() override;

    // The one view of the document.
    void setView(CDocumentText* view) { m_view = view; }
    CDocumentText* GetFirstView() const { return m_view; }
    // The keeper of recovery records, asked at every open; none: no records are offered.
    void setRecovery(CDocumentRecovery* recovery) { m_recovery = recovery; }

    bool onNewDocument() override;
    // Offers the recovery records of path first. Refuses, before anything is read or
    // emptied, a file the view's code page cannot decode.
    bool onOpenDocument(const QString& path) override;
    void deleteContents() override;
    void serialize(platform::fx::Archive& ar) override;

private:
    CDocumentText* m_view = nullptr;
    CDocumentRecovery* m_recovery = nullptr;
};
