#pragma once
// Keeps a text with unsaved changes safe from the program's death: a recovery record of it
// is written at most a second after a change (by the recovery writer's thread, never while a
// key is handled), and goes when the changes are saved or given up and at the normal end.
// Records that a program which died left behind are offered back when their file is opened,
// and all of them at a start without a file.

#include "doc/DocumentRecovery.h"
#include "doc/RecoveryFolder.h"
#include "doc/RecoveryRecord.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMyDoc;
class CMyView;
namespace doc { class RecoveryWriter; }

class CRecoveryKeeper : public QObject, public CDocumentRecovery {
    Q_OBJECT
public:
    // From the first change to its record; the changes made meanwhile go into the same one,
    // so a record is written at most once a second however fast the typing goes.
    static constexpr int kWriteDelayMs = 1000;

    // Keeps the records of document's text, which view holds, in folder; an empty folder
    // (no home folder known) keeps none and offers none.
    CRecoveryKeeper(CMyDoc* document, CMyView* view, std::string folder);
    ~CRecoveryKeeper() override;

    // Printing from the command line offers nothing.
    void SetOffering(bool offering) { m_bOffering = offering; }
    // A start without a file, once the window is up: every orphaned record is offered,
    // newest first, until one is taken back (the window holds one text; the rest wait for
    // the next start). No removes the record answered.
    void OfferAtStart();
    // Once the view shows the opened file (the frame's initial update): the text of a record
    // taken back replaces it through the undoable replace, so one undo shows the file as it
    // is on disk (two when the changes both removed and added text), and the record becomes
    // this program's own.
    void RestoreTaken();
    // The normal end: the record goes, and is gone on return.
    void End();

    // ---- asked by the document at an open ----------------------------------------------------
    void OfferRecordsOf(const QString& path) override;
    bool RestoresMissingFile(const QString& path) const override;
    void OpenFailed() override;

    // ---- for tests -----------------------------------------------------------------------------
    // Whether a record is due (its timer runs), and how long until it is written.
    bool WriteIsDue() const { return m_timer.isActive(); }
    int MillisecondsToWrite() const { return m_timer.remainingTime(); }
    // Writes a due record now and waits until the writer is done and has told of failures.
    void FlushForTesting();
    const std::string& Folder() const { return m_folder; }
    // This program's own record (it need not exist).
    std::string RecordPath() const;

private:
    enum class Offer { Taken, Refused, Unreadable };
    // One orphaned record put to the user: Yes loads it whole and takes it (its code page
    // becomes current for the open); No removes it.
    Offer Ask(doc::OrphanRecord& orphan);
    // The orphans in the folder; what could not be read is reported.
    doc::RecoveryScan Scan();
    void ReportSetAside(const std::vector<doc::SetAsideRecord>& records);
    void ReportWriteFailure(int error);
    void OnTextChanged();
    void OnModifiedChanged(bool modified);
    void WriteRecord();
    // Puts text in the view's place of what differs from it, through ReplaceSelWithUndo.
    void PutText(const std::u16string& text);

    CMyDoc* m_pDoc;
    CMyView* m_pView;
    std::string m_folder;
    std::unique_ptr<doc::RecoveryWriter> m_writer;
    QTimer m_timer;
    // A record taken back, waiting for its open to end.
    struct Taken {
        doc::OrphanRecord orphan;
        doc::RecoveryRecord record;
    };
    std::optional<Taken> m_taken;
    bool m_bOffering = true;
    // A failed write is told once in a run.
    bool m_bFailureShown = false;
};
