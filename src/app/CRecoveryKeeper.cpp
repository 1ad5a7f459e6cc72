#include "app/CRecoveryKeeper.h"

#include "doc/CMyDoc.h"
#include "doc/RecoveryWriter.h"
#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/FileError.h"
#include "platform/fx/UiHost.h"
#include "platform/nls/CodePages.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/CMyView.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <unicode/utf16.h>

#include <algorithm>

namespace {

using platform::toQString;
using platform::toU16String;

QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Whether the two units around at would be parted: a CR LF pair or a surrogate pair.
bool partsPair(std::u16string_view text, std::size_t at)
{
    if (at == 0 || at >= text.size())
        return false;
    const char16_t before = text[at - 1], after = text[at];
    return (before == u'\r' && after == u'\n') ||
           (U16_IS_LEAD(before) && U16_IS_TRAIL(after));
}

// The record's path names the file being opened: the same full path, or the same file
// reached through a link.
bool namesFile(const std::u16string& recorded, const QFileInfo& opened)
{
    if (recorded.empty())
        return false;
    const QString path = toQString(recorded);
    if (path == opened.absoluteFilePath())
        return true;
    const QString canonical = opened.canonicalFilePath();
    return !canonical.isEmpty() && QFileInfo(path).canonicalFilePath() == canonical;
}

} // namespace

CRecoveryKeeper::CRecoveryKeeper(CMyDoc* document, CMyView* view, std::string folder)
    : m_pDoc(document), m_pView(view), m_folder(std::move(folder))
{
    if (m_folder.empty())
        return;
    // Told on the writer's thread; shown on this one.
    m_writer = std::make_unique<doc::RecoveryWriter>(m_folder, [this](int error) {
        QMetaObject::invokeMethod(
            this, [this, error] { ReportWriteFailure(error); }, Qt::QueuedConnection);
    });
    m_timer.setSingleShot(true);
    // Precise, so that "a second" is never the five per cent later a coarse timer allows.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kWriteDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryKeeper::WriteRecord);
    connect(m_pView, &platform::EditControl::textChanged, this, &CRecoveryKeeper::OnTextChanged);
    connect(m_pDoc, &platform::fx::Document::modifiedChanged, this,
            &CRecoveryKeeper::OnModifiedChanged);
}

// The writer finishes what it was asked; a record still there (the end was not normal) stays.
CRecoveryKeeper::~CRecoveryKeeper() = default;

std::string CRecoveryKeeper::RecordPath() const
{
    return m_writer ? m_folder + '/' + m_writer->name() : std::string();
}

// ---- writing ---------------------------------------------------------------------------------

void CRecoveryKeeper::OnTextChanged()
{
    // All a keystroke costs: the timer is started once and not again until it has fired.
    if (!m_timer.isActive())
        m_timer.start();
}

void CRecoveryKeeper::OnModifiedChanged(bool modified)
{
    if (modified) {
        // Also a text given back its modified flag when an open failed after the save
        // question was answered No: it is still there, so it is kept.
        if (!m_timer.isActive())
            m_timer.start();
        return;
    }
    // Saved, or its changes given up (a new text, another file opened, No at the question).
    m_timer.stop();
    m_writer->remove();
}

void CRecoveryKeeper::WriteRecord()
{
    if (!m_pDoc->isModified())
        return;
    doc::RecoveryRecord record;
    record.path = toU16String(m_pDoc->pathName());
    record.codePage = m_pView->m_nCodePage;
    record.savedAt = QDateTime::currentSecsSinceEpoch();
    record.text = m_pView->text();
    m_writer->write(std::move(record));
}

void CRecoveryKeeper::End()
{
    if (!m_writer)
        return;
    m_timer.stop();
    m_taken.reset();
    m_writer->remove();
    m_writer->wait();
}

void CRecoveryKeeper::FlushForTesting()
{
    if (!m_writer)
        return;
    if (m_timer.isActive()) {
        m_timer.stop();
        WriteRecord();
    }
    m_writer->wait();
    QCoreApplication::sendPostedEvents(this);
}

void CRecoveryKeeper::ReportWriteFailure(int error)
{
    // Editing goes on undisturbed; the user is told once in a run, not at every change.
    if (m_bFailureShown)
        return;
    m_bFailureShown = true;
    const std::u16string fileError = platform::fx::fileErrorMessage(
        platform::fx::causeFromErrno(error), toU16String(fromLocalPath(RecordPath())));
    platform::fx::showMessage(
        platform::fx::dialogParentOf(m_pView),
        toQString(fileError) + QLatin1Char('\n') +
            toQString(res::loadString(res::IDP_RECOVERY_NOT_KEPT)),
        platform::fx::MsgIcon::Exclamation);
}

// ---- offering ---------------------------------------------------------------------------------

doc::RecoveryScan CRecoveryKeeper::Scan()
{
    doc::RecoveryScan scan = doc::scanRecoveryFolder(m_folder, m_writer->name());
    ReportSetAside(scan.setAside);
    return scan;
}

void CRecoveryKeeper::ReportSetAside(const std::vector<doc::SetAsideRecord>& records)
{
    for (const doc::SetAsideRecord& r : records) {
        const QString text = platform::toQString(res::formatStrings(
            res::loadString(res::IDP_RECOVERY_SET_ASIDE),
            {toU16String(fromLocalPath(r.from)),
             toU16String(fromLocalPath(r.to.empty() ? r.from : r.to))}));
        platform::fx::showMessage(platform::fx::dialogParentOf(m_pView), text,
                                  platform::fx::MsgIcon::Exclamation);
    }
}

CRecoveryKeeper::Offer CRecoveryKeeper::Ask(doc::OrphanRecord& orphan)
{
    const doc::RecoveryRecord& head = orphan.head();
    const std::u16string shown =
        head.path.empty() ? std::u16string(res::loadString(res::AFX_IDS_UNTITLED)) : head.path;
    const QString when = QDateTime::fromSecsSinceEpoch(head.savedAt)
                             .toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    const QString text = platform::toQString(res::formatStrings(
        res::loadString(res::IDP_RECOVERY_OFFER), {shown, toU16String(when)}));
    if (platform::fx::showMessage(platform::fx::dialogParentOf(m_pView), text,
                                  platform::fx::MsgIcon::Question,
                                  platform::fx::MsgButtons::YesNo) != platform::fx::MsgAnswer::Yes) {
        orphan.remove();
        return Offer::Refused;
    }
    doc::RecoveryRecord record;
    std::string setAsideTo;
    if (orphan.load(record, setAsideTo) != doc::RecordFault::None) {
        ReportSetAside({{orphan.filePath(), setAsideTo}});
        return Offer::Unreadable;
    }
    // The text was edited in the record's page: the file is read in it, without the language
    // dialog, and saved in it. A page this system cannot convert leaves the current one.
    if (platform::nls::isValidCodePage(record.codePage)) {
        if (record.codePage != m_pView->m_nCodePage)
            m_pView->SelectCodePage(record.codePage);
        m_pView->SkipLanguageDialogOnce();
    }
    m_taken = Taken{std::move(orphan), std::move(record)};
    return Offer::Taken;
}

void CRecoveryKeeper::OfferRecordsOf(const QString& path)
{
    // A record taken back at the start is opened without a second question.
    if (!m_writer || !m_bOffering || m_taken)
        return;
    const QFileInfo opened(path);
    doc::RecoveryScan scan = Scan();
    for (doc::OrphanRecord& orphan : scan.orphans) {
        if (namesFile(orphan.head().path, opened) && Ask(orphan) == Offer::Taken)
            return;  // the others are let go with the scan, orphans as before
    }
}

bool CRecoveryKeeper::RestoresMissingFile(const QString& path) const
{
    return m_taken && namesFile(m_taken->record.path, QFileInfo(path)) &&
           !QFileInfo::exists(path);
}

void CRecoveryKeeper::OpenFailed()
{
    m_taken.reset();
    m_pView->SkipLanguageDialogOnce(false);
}

void CRecoveryKeeper::OfferAtStart()
{
    if (!m_writer || !m_bOffering)
        return;
    doc::RecoveryScan scan = Scan();
    for (doc::OrphanRecord& orphan : scan.orphans) {
        if (Ask(orphan) != Offer::Taken)
            continue;
        const QString path = toQString(m_taken->record.path);
        if (path.isEmpty()) {
            RestoreTaken();  // into the new, empty text
            return;
        }
        auto* app = platform::fx::App::instance();
        if (app && app->openDocumentFile(path))
            return;
        // Not opened (and reported): the record stays for a later start; the next is offered.
        m_taken.reset();
    }
}

void CRecoveryKeeper::RestoreTaken()
{
    if (!m_taken)
        return;
    Taken taken = std::move(*m_taken);
    m_taken.reset();
    m_pView->SkipLanguageDialogOnce(false);
    // The record becomes this program's own before the text changes, so the first write
    // replaces it under its name and there is never a moment without it.
    m_writer->adopt(taken.orphan);
    PutText(taken.record.text);
    // Nothing differed from the file: there is nothing to keep.
    if (!m_pDoc->isModified())
        m_writer->remove();
}

void CRecoveryKeeper::PutText(const std::u16string& text)
{
    const std::u16string now = m_pView->text();
    const auto firstDifference = std::mismatch(now.begin(), now.end(), text.begin(), text.end());
    std::size_t prefix = std::size_t(firstDifference.first - now.begin());
    const std::size_t room = std::min(now.size(), text.size()) - prefix;
    std::size_t suffix = 0;
    while (suffix < room && now[now.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    // The replaced range starts and ends between characters, not inside a pair.
    while (prefix > 0 && (partsPair(now, prefix) || partsPair(text, prefix)))
        --prefix;
    while (suffix > 0 &&
           (partsPair(now, now.size() - suffix) || partsPair(text, text.size() - suffix)))
        --suffix;
    if (prefix == now.size() && prefix == text.size())
        return;
    m_pView->setSel(int(prefix), int(now.size() - suffix));
    m_pView->ReplaceSelWithUndo(
        std::u16string_view(text).substr(prefix, text.size() - prefix - suffix));
    m_pView->scrollCaret();
}
