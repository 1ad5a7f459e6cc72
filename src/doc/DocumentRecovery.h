#pragma once
// What the document asks of the keeper of recovery records around an open: the records a
// program that died left for the file are offered before it is read. The keeper implements
// it, so the document knows nothing more of recovery.

class QString;

class CDocumentRecovery {
public:
    virtual ~CDocumentRecovery() = default;
    // Before path is read: offers the orphaned records of path; one the user takes back
    // waits for the open to end, and may switch the view's code page to its own.
    virtual void OfferRecordsOf(const QString& path) = 0;
    // Whether a record taken back for path stands in for a file that no longer exists: the
    // text then opens empty under path and the record fills it.
    virtual bool RestoresMissingFile(const QString& path) const = 0;
    // The open failed: a record taken back is let go, an orphan as before.
    virtual void OpenFailed() = 0;
};
