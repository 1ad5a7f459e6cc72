// The question before a modified text is replaced or the window closes, the file-error
// messages of open and save, and what a failed save leaves behind.
#include "ShellTestSupport.h"

#include "platform/fx/EndRequests.h"

#include <QElapsedTimer>

#include <csignal>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <sys/stat.h>

using namespace quillet_test;
using platform::fx::FileDialogRequest;
using platform::fx::MsgAnswer;
using platform::fx::MsgButtons;
using platform::fx::ScriptedUiHost;

namespace {

class SaveChanges : public ShellTest {
protected:
    void type(const QString& keys)
    {
        QTest::keyClicks(view(), keys);
        ASSERT_TRUE(document()->isModified());
    }

    // Every write fails as on a full disk until the scope ends.
    struct FullDisk {
        FullDisk()
        {
            platform::shell::setWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
                errno = ENOSPC;
                return -1;
            });
        }
        ~FullDisk() { platform::shell::setWriteFunctionForTesting(nullptr); }
    };
};

} // namespace

TEST_F(SaveChanges, NoDiscardsTheTextAndGoesOn)
{
    ASSERT_TRUE(start());
    type(QStringLiteral("draft"));
    ui.answerMessage(MsgAnswer::No);
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_NEW));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("無題 への変更を保存しますか?"));
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Quillet"));
    EXPECT_EQ(ui.messages()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(text().empty());
    EXPECT_FALSE(document()->isModified());
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(SaveChanges, CancelStopsTheCommandAndKeepsTheText)
{
    const QString other = writeFile(QStringLiteral("other.txt"), "other");
    ASSERT_TRUE(start());
    type(QStringLiteral("draft"));

    ui.answerMessage(MsgAnswer::Cancel);
    frame()->executeCommand(res::ID_FILE_NEW);
    EXPECT_EQ(text(), u"draft");
    EXPECT_TRUE(document()->isModified());

    // Opening another file asks too; the open dialog comes first.
    ui.answerFile(other);
    ui.answerMessage(MsgAnswer::Cancel);
    frame()->executeCommand(res::ID_FILE_OPEN);
    EXPECT_EQ(text(), u"draft");
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
    EXPECT_EQ(ui.messages().size(), 2);
}

TEST_F(SaveChanges, YesOnAnUntitledTextAsksForANameAndSaves)
{
    ASSERT_TRUE(start());
    view()->m_nCodePage = 932;
    type(QStringLiteral("abc"));
    const QString path = filePath(QStringLiteral("chosen.txt"));
    ui.answerMessage(MsgAnswer::Yes);
    ui.answerFile(path);
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_NEW));

    ASSERT_EQ(ui.shown().size(), 2);
    const FileDialogRequest& dialog = ui.shown()[1].file;
    EXPECT_EQ(ui.shown()[1].kind, ScriptedUiHost::Shown::Kind::FileDialog);
    EXPECT_EQ(dialog.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(dialog.title, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(dialog.proposedPath, QStringLiteral("無題.txt"));
    EXPECT_TRUE(dialog.confirmOverwrite);
    ASSERT_EQ(dialog.filters.size(), 2);
    EXPECT_EQ(dialog.filters[0].name, QStringLiteral("テキスト ファイル (*.txt)"));
    EXPECT_EQ(dialog.filters[0].pattern, QStringLiteral("*.txt"));
    EXPECT_EQ(dialog.filters[1].name, QStringLiteral("すべてのﾌｧｲﾙ (*.*)"));

    EXPECT_EQ(readFile(path), QByteArray("abc"));
    EXPECT_TRUE(text().empty());
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

TEST_F(SaveChanges, YesThenCancellingTheNameKeepsTheText)
{
    ASSERT_TRUE(start());
    type(QStringLiteral("abc"));
    ui.answerMessage(MsgAnswer::Yes);
    ui.answerFile(std::nullopt);
    frame()->executeCommand(res::ID_FILE_NEW);
    EXPECT_EQ(text(), u"abc");
    EXPECT_TRUE(document()->isModified());
}

TEST_F(SaveChanges, YesOnAFileSavesItWithoutADialog)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old");
    ASSERT_TRUE(start({path}));
    QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
    type(QStringLiteral("er"));
    ui.answerMessage(MsgAnswer::Yes);
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_NEW));
    ASSERT_EQ(ui.shown().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("memo.txt への変更を保存しますか?"));
    EXPECT_EQ(readFile(path), QByteArray("older"));
    EXPECT_TRUE(text().empty());
}

TEST_F(SaveChanges, AnUnmodifiedTextIsReplacedWithoutAQuestion)
{
    const QString a = writeFile(QStringLiteral("a.txt"), "A");
    const QString b = writeFile(QStringLiteral("b.txt"), "B");
    ASSERT_TRUE(start({a}));
    ui.answerFile(b);
    frame()->executeCommand(res::ID_FILE_OPEN);
    EXPECT_EQ(text(), u"B");
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(SaveChanges, ClosingTheWindowAsksAndCancelKeepsItOpen)
{
    ASSERT_TRUE(start());
    type(QStringLiteral("keep me"));
    ui.answerMessage(MsgAnswer::Cancel);
    EXPECT_FALSE(frame()->close());
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(text(), u"keep me");

    ui.answerMessage(MsgAnswer::No);
    EXPECT_TRUE(frame()->close());
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(ui.messages().size(), 2);
}

TEST_F(SaveChanges, TheExitCommandGoesThroughTheSameQuestion)
{
    ASSERT_TRUE(start());
    type(QStringLiteral("x"));
    ui.answerMessage(MsgAnswer::Cancel);
    frame()->executeCommand(res::ID_APP_EXIT);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(SaveChanges, ASignalToEndAsksAsTheCloseBoxDoesAndTheSettingsAreWritten)
{
    ASSERT_TRUE(start());
    platform::fx::EndRequests ends([this] { return app->closeOnRequest(); });
    type(QStringLiteral("draft"));
    // The signal reaches the program through its event loop, as in the running program.
    auto deliver = [&](int sig, qsizetype questions) {
        ASSERT_EQ(::raise(sig), 0);
        QElapsedTimer waited;
        waited.start();
        while (ui.messages().size() < questions && waited.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_EQ(ui.messages().size(), questions);
        EXPECT_EQ(ui.messages().last().text, QStringLiteral("無題 への変更を保存しますか?"));
    };
    ui.answerMessage(MsgAnswer::Cancel);
    deliver(SIGTERM, 1);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(text(), u"draft");
    EXPECT_FALSE(settings().readBinary(u"Settings", u"Window").has_value());

    ui.answerMessage(MsgAnswer::No);
    deliver(SIGHUP, 2);
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_TRUE(settings().readBinary(u"Settings", u"Window").has_value());
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", -1), 932);
}

TEST_F(SaveChanges, AMissingFileIsReportedAndTheTextStaysAsItWas)
{
    ASSERT_TRUE(start());
    type(QStringLiteral("draft"));
    const QString missing = filePath(QStringLiteral("missing.txt"));
    ui.answerFile(missing);
    ui.answerMessage(MsgAnswer::No);  // do not save the draft
    frame()->executeCommand(res::ID_FILE_OPEN);
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[1].text, missing + QStringLiteral(" が見つかりませんでした。"));
    // The open never began: the draft and its modified mark survive.
    EXPECT_EQ(text(), u"draft");
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

TEST_F(SaveChanges, AFolderCannotBeOpenedAsAFile)
{
    ASSERT_TRUE(start());
    const QString folder = filePath(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ui.answerFile(folder);
    frame()->executeCommand(res::ID_FILE_OPEN);
    EXPECT_EQ(messageTexts(), QStringList{folder + QStringLiteral(" へのｱｸｾｽは拒否されました。")});
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

TEST_F(SaveChanges, ADeniedFileIsReportedOnOpen)
{
    const QString path = writeFile(QStringLiteral("secret.txt"), "secret");
    ASSERT_EQ(::chmod(QFile::encodeName(filePath(QString())).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    ASSERT_TRUE(start());
    ui.answerFile(path);
    {
        WithoutRootPrivileges unprivileged;
        ASSERT_TRUE(unprivileged.ok());
        frame()->executeCommand(res::ID_FILE_OPEN);
    }
    EXPECT_EQ(messageTexts(), QStringList{path + QStringLiteral(" へのｱｸｾｽは拒否されました。")});
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

TEST_F(SaveChanges, ADeniedFolderStillSavesAWritableFileInPlace)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(filePath(QString())).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("new "));
    {
        WithoutRootPrivileges unprivileged;
        ASSERT_TRUE(unprivileged.ok());
        frame()->executeCommand(res::ID_FILE_SAVE);
    }
    EXPECT_EQ(messageTexts(), QStringList{});
    EXPECT_EQ(readFile(path), QByteArray("new old"));
    EXPECT_FALSE(document()->isModified());
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);

    // A file the user may not write there is read-only as before: Save asks for another
    // name (cancelled here) and the file is kept.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    type(QStringLiteral("newer "));
    ui.answerFile(std::nullopt);
    {
        WithoutRootPrivileges unprivileged;
        ASSERT_TRUE(unprivileged.ok());
        frame()->executeCommand(res::ID_FILE_SAVE);
    }
    ASSERT_EQ(ui.shown().size(), 1);
    EXPECT_EQ(ui.shown()[0].kind, ScriptedUiHost::Shown::Kind::FileDialog);
    EXPECT_EQ(readFile(path), QByteArray("new old"));
    EXPECT_TRUE(document()->isModified());
}

TEST_F(SaveChanges, AReadOnlyFileIsNeverReplacedThoughItsFolderIsWritable)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("new "));
    // Save asks for another name (cancelled here), even of the superuser.
    ui.answerFile(std::nullopt);
    frame()->executeCommand(res::ID_FILE_SAVE);
    ASSERT_EQ(ui.shown().size(), 1);
    EXPECT_EQ(ui.shown()[0].kind, ScriptedUiHost::Shown::Kind::FileDialog);
    ui.clear();
    // Save as onto it, and an export, are refused.
    const std::pair<unsigned, QString> refusals[] = {
        {res::ID_FILE_SAVE_AS, path + QStringLiteral(" へのｱｸｾｽは拒否されました。")},
        {res::ID_EXPORT_UTF8,
         QStringLiteral("エクスポートに失敗しました。\n") + QString::fromLocal8Bit(std::strerror(EACCES))},
    };
    for (const auto& [command, told] : refusals) {
        ui.answerFile(path);
        ui.answerMessage(MsgAnswer::Ok);
        frame()->executeCommand(command);
        EXPECT_EQ(messageTexts(), QStringList{told});
        ui.clear();
    }
    EXPECT_EQ(readFile(path), QByteArray("old"));
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(document()->title(), QStringLiteral("memo.txt"));
}

TEST_F(SaveChanges, AFullDiskFailsTheSaveAndLeavesTheOldFileAlone)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "the old contents");
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("new "));
    {
        FullDisk full;
        frame()->executeCommand(res::ID_FILE_SAVE);
    }
    EXPECT_EQ(messageTexts(),
              QStringList{path + QStringLiteral(" へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。")});
    EXPECT_EQ(readFile(path), QByteArray("the old contents"));
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("memo.txt")});
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(document()->pathName(), path);

    // With room again the same save goes through.
    frame()->executeCommand(res::ID_FILE_SAVE);
    EXPECT_EQ(readFile(path), QByteArray("new the old contents"));
    EXPECT_FALSE(document()->isModified());
}

TEST_F(SaveChanges, AFailedSaveAsKeepsTheDocumentsOldName)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old");
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("x"));
    const QString other = filePath(QStringLiteral("copy.txt"));
    ui.answerFile(other);
    {
        FullDisk full;
        frame()->executeCommand(res::ID_FILE_SAVE_AS);
    }
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(document()->pathName(), path);
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("memo.txt - Quillet"));
    EXPECT_TRUE(document()->isModified());
}

TEST_F(SaveChanges, AFailedSaveUnderTheQuestionStopsTheCommand)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old");
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("typed "));
    ui.answerMessage(MsgAnswer::Yes);
    {
        FullDisk full;
        frame()->executeCommand(res::ID_FILE_NEW);
    }
    // The question, then the disk-full message; the typed text is still there.
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(text(), u"typed old");
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(readFile(path), QByteArray("old"));
}

TEST_F(SaveChanges, AMissingFolderIsABadPathToOpenAndToSave)
{
    const QString folder = filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/memo.txt");
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    ASSERT_TRUE(start({path}));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    type(QStringLiteral("kept "));
    const QString bad = path + QStringLiteral(" には無効なﾊﾟｽが含まれています。");
    frame()->executeCommand(res::ID_FILE_SAVE);
    EXPECT_EQ(messageTexts(), QStringList{bad});
    EXPECT_TRUE(document()->isModified());
    ui.clear();
    ui.answerMessage(MsgAnswer::No);  // do not save the text first
    ui.answerFile(path);
    frame()->executeCommand(res::ID_FILE_OPEN);
    EXPECT_EQ(messageTexts().value(1), bad);
    EXPECT_EQ(text(), u"kept ");
}

TEST_F(SaveChanges, ARecentFileThatIsGoneLeavesTheList)
{
    const QString a = writeFile(QStringLiteral("a.txt"), "A");
    const QString b = writeFile(QStringLiteral("b.txt"), "B");
    ASSERT_TRUE(start({a}));
    ui.answerFile(b);
    frame()->executeCommand(res::ID_FILE_OPEN);
    ASSERT_EQ(app->recentFiles()->entries().size(), 2u);
    ASSERT_TRUE(QFile::remove(a));
    // The second entry is a.txt.
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_MRU_FILE2));
    EXPECT_EQ(messageTexts(), QStringList{a + QStringLiteral(" が見つかりませんでした。")});
    ASSERT_EQ(app->recentFiles()->entries().size(), 1u);
    EXPECT_EQ(qstr(app->recentFiles()->entries()[0]), b);
    EXPECT_EQ(text(), u"B");
}

TEST_F(SaveChanges, AFifoIsRefusedWithoutWaitingForAWriter)
{
    const QString fifo = filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Should the open wait for a writer, this one comes after two seconds so that the
    // test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([fifo, &done] {
        for (int i = 0; i < 40 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (done)
            return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("draft"));
    ui.answerMessage(MsgAnswer::No);
    ui.answerFile(fifo);
    QElapsedTimer timer;
    timer.start();
    frame()->executeCommand(res::ID_FILE_OPEN);
    const qint64 elapsed = timer.elapsed();
    done = true;
    rescue.join();
    EXPECT_LT(elapsed, 1000);
    ASSERT_EQ(messageTexts().size(), 2);
    EXPECT_EQ(messageTexts()[1], fifo + QStringLiteral(" へのｱｸｾｽは拒否されました。"));
    EXPECT_EQ(text(), u"draft");
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
}

TEST_F(SaveChanges, APercentSignInTheNameIsShownAsItIs)
{
    const QString path = writeFile(QStringLiteral("100%1 %2.txt"), "x");
    ASSERT_TRUE(start({path}));
    type(QStringLiteral("y"));
    ui.answerMessage(MsgAnswer::Cancel);
    frame()->executeCommand(res::ID_FILE_NEW);
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("100%1 %2.txt への変更を保存しますか?")});
}

