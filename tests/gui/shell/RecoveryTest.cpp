// Nothing typed is lost when the program dies: the recovery record follows the unsaved
// changes, and the records a program that died left are offered back, at an open of their
// file and at a start without one.
#include "ShellTestSupport.h"

#include "app/CRecoveryKeeper.h"
#include "doc/RecoveryFile.h"
#include "doc/RecoveryFolder.h"
#include "platform/fx/FileError.h"
#include "platform/nls/CodePages.h"

#include <QDateTime>
#include <QFileInfo>

using namespace quillet_test;
using platform::fx::MsgAnswer;
using platform::fx::MsgButtons;
using platform::fx::MsgIcon;

namespace {

class Recovery : public ShellTest {
protected:
    CRecoveryKeeper* keeper() const { return frame()->Recovery(); }
    std::string folder() const { return QFile::encodeName(recoveryFolder()).toStdString(); }
    QStringList records() const
    {
        return QDir(recoveryFolder()).entryList({QStringLiteral("*.qrec")}, QDir::Files);
    }
    // The program's own record as it is on disk now (written first).
    doc::RecoveryRecord ownRecord() const
    {
        keeper()->FlushForTesting();
        doc::RecoveryRecord record;
        EXPECT_EQ(doc::parseRecoveryRecord(
                      readFile(QString::fromStdString(keeper()->RecordPath())).toStdString(),
                      record),
                  doc::RecordFault::None);
        return record;
    }
    // A record as a program that died leaves it.
    void leaveOrphan(const QString& path, const std::u16string& text, std::int64_t savedAt,
                     std::uint32_t codePage = 932)
    {
        doc::RecoveryFile file(folder());
        ASSERT_EQ(file.write({path.toStdU16String(), codePage, savedAt, text}), 0);
    }
    static QByteArray encoded(std::uint32_t codePage, std::u16string_view text)
    {
        const auto bytes = platform::nls::encode(codePage, text);
        EXPECT_TRUE(bytes);
        return bytes ? QByteArray::fromStdString(bytes->bytes) : QByteArray();
    }
    static QString when(std::int64_t savedAt)
    {
        return QDateTime::fromSecsSinceEpoch(savedAt).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    }
    QString offerText(const QString& shown, std::int64_t savedAt) const
    {
        return QString::fromStdU16String(res::formatStrings(
            res::loadString(res::IDP_RECOVERY_OFFER),
            {shown.toStdU16String(), when(savedAt).toStdU16String()}));
    }
    void type(const QString& keys)
    {
        QTest::keyClicks(view(), keys);
        ASSERT_TRUE(document()->isModified());
    }
};

constexpr std::int64_t kDied = 1733900000;

} // namespace

TEST_F(Recovery, TheRecordFollowsTheTypingAtMostOnceASecond)
{
    ASSERT_TRUE(start());
    QTest::keyClick(view(), Qt::Key_A);
    // Nothing is written while the key is handled; a write is due within the second.
    EXPECT_TRUE(records().isEmpty());
    ASSERT_TRUE(keeper()->WriteIsDue());
    const int first = keeper()->MillisecondsToWrite();
    EXPECT_LE(first, CRecoveryKeeper::kWriteDelayMs);
    QTest::qWait(150);
    type(QStringLiteral("b\r"));
    EXPECT_LT(keeper()->MillisecondsToWrite(), first - 100) << "more typing does not put it off";

    const doc::RecoveryRecord record = ownRecord();
    EXPECT_EQ(record.text, u"ab\r\n");
    EXPECT_EQ(record.path, u"");
    EXPECT_EQ(record.codePage, view()->m_nCodePage);
    EXPECT_LE(std::abs(record.savedAt - QDateTime::currentSecsSinceEpoch()), 5);
    EXPECT_FALSE(keeper()->WriteIsDue());

    // Once written, no write is due until the next change.
    QTest::qWait(50);
    EXPECT_FALSE(keeper()->WriteIsDue());
    type(QStringLiteral("c"));
    EXPECT_EQ(ownRecord().text, u"ab\r\nc");
}

TEST_F(Recovery, TheRecordGoesWithTheChangesAndStaysAfterAFailedSave)
{
    const QString saved = filePath(QStringLiteral("saved.txt"));
    const QString other = writeFile(QStringLiteral("other.txt"), "other");
    ASSERT_TRUE(start());
    type(QStringLiteral("one"));
    ownRecord();
    ASSERT_EQ(records().size(), 1);

    // A save that fails keeps the record; one that succeeds takes it away.
    ui.answerFile(saved);
    platform::shell::setWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
        errno = EIO;
        return -1;
    });
    frame()->executeCommand(res::ID_FILE_SAVE);
    platform::shell::setWriteFunctionForTesting(nullptr);
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(records().size(), 1);
    EXPECT_EQ(ownRecord().text, u"one");
    ui.answerFile(saved);
    frame()->executeCommand(res::ID_FILE_SAVE);
    keeper()->FlushForTesting();
    EXPECT_TRUE(records().isEmpty());

    // Changes given up: No, then a new text or another file.
    type(QStringLiteral("two"));
    ownRecord();
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_FILE_NEW);
    keeper()->FlushForTesting();
    EXPECT_TRUE(records().isEmpty());
    type(QStringLiteral("three"));
    ownRecord();
    ui.answerFile(other);
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_FILE_OPEN);
    keeper()->FlushForTesting();
    EXPECT_TRUE(records().isEmpty());

    // The normal end after No: the folder is left empty.
    type(QStringLiteral("four"));
    ownRecord();
    ui.answerMessage(MsgAnswer::No);
    EXPECT_TRUE(frame()->close());
    EXPECT_EQ(QDir(recoveryFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                               QDir::Hidden | QDir::System),
              QStringList());
}

TEST_F(Recovery, YesPutsTheRecordsTextInPlaceOfTheFileUndoably)
{
    const std::u16string onDisk = u"日本語の文\r\n二行目\r\n";
    const std::u16string typed = u"日本語の文\r\n二行目\r\n追加した行";
    const QString memo = writeFile(QStringLiteral("memo.txt"), encoded(932, onDisk));
    leaveOrphan(memo, typed, kDied);
    // Another page is current and the language dialog is on: the record's page is taken,
    // without the dialog.
    setSetting(u"CodePage", 1252);
    setSetting(u"LangSelect", 1);

    ui.answerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(start({memo}));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text,
              memo + QStringLiteral(" には、前回保存されずに終了した変更があります (") +
                  when(kDied) + QStringLiteral(")。\n変更を復元しますか？"));
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Quillet"));
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(text(), typed);
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(view()->m_nCodePage, 932u);
    EXPECT_EQ(document()->title(), QStringLiteral("memo.txt"));
    // The record is this program's now: held, and written over under its name.
    const QStringList before = records();
    EXPECT_TRUE(doc::scanRecoveryFolder(folder()).orphans.empty());
    EXPECT_EQ(ownRecord().text, typed);
    EXPECT_EQ(records(), before);

    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), onDisk) << "one undo shows the file as it is on disk";
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), typed);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(memo), encoded(932, typed));
    keeper()->FlushForTesting();
    EXPECT_TRUE(records().isEmpty());
}

TEST_F(Recovery, NoRemovesTheRecordAndTheFileOpensAsItIs)
{
    const QString memo = writeFile(QStringLiteral("memo.txt"), "on disk\r\n");
    const QString other = writeFile(QStringLiteral("other.txt"), "other\r\n");
    leaveOrphan(memo, u"typed", kDied);
    leaveOrphan(other, u"other, typed", kDied + 60);

    // Opened from the command line: only the record of the file opened is asked about.
    ui.answerMessage(MsgAnswer::No);
    ASSERT_TRUE(start({memo}));
    EXPECT_EQ(messageTexts(), QStringList{offerText(memo, kDied)});
    EXPECT_EQ(text(), u"on disk\r\n");
    EXPECT_FALSE(document()->isModified());
    EXPECT_EQ(records().size(), 1);
    ui.clear();

    // Opened through the dialog, the same.
    ui.answerFile(other);
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_FILE_OPEN);
    EXPECT_EQ(messageTexts(), QStringList{offerText(other, kDied + 60)});
    EXPECT_EQ(text(), u"other\r\n");
    EXPECT_TRUE(records().isEmpty());
}

TEST_F(Recovery, APlainStartOffersTheRecordsNewestFirstUntilOneIsTakenBack)
{
    const QString kept = writeFile(QStringLiteral("kept.txt"), encoded(936, u"简体\r\n"));
    const QString gone = filePath(QStringLiteral("gone.txt"));
    leaveOrphan(QString(), u"untitled, newest", kDied + 120);
    leaveOrphan(kept, u"简体\r\n中文", kDied + 60, 936);
    leaveOrphan(gone, u"the file was deleted", kDied);

    ui.answerMessage(MsgAnswer::No);
    ui.answerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(start());
    ASSERT_EQ(messageTexts(),
              QStringList({offerText(QStringLiteral("無題"), kDied + 120), offerText(kept, kDied + 60)}));
    EXPECT_EQ(document()->pathName(), kept);
    EXPECT_EQ(text(), u"简体\r\n中文");
    EXPECT_EQ(view()->m_nCodePage, 936u);
    // Ended normally without saving: the restored record goes with it; the last one waits.
    ui.answerMessage(MsgAnswer::No);
    EXPECT_TRUE(frame()->close());
    ui.clear();

    // A record whose file is gone opens as that file, empty on disk, and saves it again.
    ui.answerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(restart());
    EXPECT_EQ(messageTexts(), QStringList{offerText(gone, kDied)});
    EXPECT_EQ(document()->title(), QStringLiteral("gone.txt"));
    EXPECT_EQ(text(), u"the file was deleted");
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readFile(gone), QByteArray("the file was deleted"));
    ui.clear();

    // An untitled text comes back as an untitled text; one undo empties it.
    leaveOrphan(QString(), u"untitled again", kDied);
    ui.answerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(restart());
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
    EXPECT_EQ(text(), u"untitled again");
    EXPECT_TRUE(document()->isModified());
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"");
}

TEST_F(Recovery, AnUnreadableRecordIsToldOnceAndAFullDiskOnceARun)
{
    ASSERT_EQ(doc::prepareRecoveryFolder(folder()), 0);
    const QString damaged = recoveryFolder() + QStringLiteral("/damaged.qrec");
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("QuilletR but not a record");
    }
    ASSERT_TRUE(start());
    EXPECT_EQ(messageTexts(),
              QStringList{QString::fromStdU16String(res::formatStrings(
                  res::loadString(res::IDP_RECOVERY_SET_ASIDE),
                  {damaged.toStdU16String(),
                   (damaged + QStringLiteral(".unreadable")).toStdU16String()}))});
    ui.clear();
    ASSERT_TRUE(restart());
    EXPECT_TRUE(messageTexts().isEmpty()) << "told once, kept aside";
    EXPECT_TRUE(QFileInfo::exists(damaged + QStringLiteral(".unreadable")));

    // A full disk: the editing goes on, and the user hears of it once in the run.
    platform::shell::setWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    type(QStringLiteral("x"));
    keeper()->FlushForTesting();
    type(QStringLiteral("y"));
    keeper()->FlushForTesting();
    platform::shell::setWriteFunctionForTesting(nullptr);
    EXPECT_EQ(text(), u"xy");
    const QString record = QString::fromStdString(keeper()->RecordPath());
    EXPECT_EQ(messageTexts(),
              QStringList{QString::fromStdU16String(platform::fx::fileErrorMessage(
                              platform::fx::FileErrorCause::DiskFull, record.toStdU16String())) +
                          QLatin1Char('\n') + resString(res::IDP_RECOVERY_NOT_KEPT)});
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Exclamation);
    type(QStringLiteral("z"));
    EXPECT_EQ(ownRecord().text, u"xyz") << "and the next write goes through";
}
