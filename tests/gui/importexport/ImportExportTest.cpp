// The import and export commands through the real view, with the scripted UI host: what
// lands in the text, what lands on disk, and what stays as it was.

#include "../shell/ShellTestSupport.h"

#include "platform/fx/UiHost.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quillet_test {
namespace {

// One sentence of Japanese, as Python's codecs write it.
const QByteArray kJapaneseEuc = QByteArray::fromHex(
    "c6fccbdcb8eca4cea5c6a5ada5b9a5c8a1a2a4aba4caa5aba5caa1a3");
const QByteArray kJapaneseJis = QByteArray::fromHex(
    "1b2442467c4b5c386c244e2546252d253925482122242b244a252b254a21231b2842");
const QByteArray kJapaneseSjis = QByteArray::fromHex(
    "93fa967b8cea82cc8365834c83588367814182a982c8834a83698142");
const QString kJapanese = QStringLiteral("日本語のテキスト、かなカナ。");

// Latin, Japanese, Chinese and Korean: Python's utf_16_le, utf_16_be and utf_8_sig.
const QString kMixed = QStringLiteral("Aé日本語中文한국어");
const QByteArray kMixedUtf16Le =
    QByteArray::fromHex("fffe4100e900e5652c679e8a2d4e87655cd56dadb4c5");
const QByteArray kMixedUtf16Be =
    QByteArray::fromHex("feff004100e965e5672c8a9e4e2d6587d55cad6dc5b4");
const QByteArray kMixedUtf8 = QByteArray::fromHex(
    "efbbbf41c3a9e697a5e69cace8aa9ee4b8ade69687ed959ceab5adec96b4");

class ImportExportTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(start());
    }

    void typeText(const QString& s)
    {
        view()->ReplaceSelWithUndo(s);
        document()->setModifiedFlag(false);
    }

    QString viewText() const { return QString::fromStdU16String(view()->text()); }

    void run(unsigned id) { frame()->router().send(id); }
};

TEST_F(ImportExportTest, JapaneseImportTurnsEveryEncodingIntoTheSameTextAtTheCaret)
{
    // A zero byte ends the text in every encoding; what follows it is never inserted.
    const QByteArray afterZero("\0\x82\xa0tail", 7);
    const struct { const char* name; QByteArray bytes; } files[] = {
        {"euc.txt", kJapaneseEuc}, {"jis.txt", kJapaneseJis}, {"sjis.txt", kJapaneseSjis},
        {"euc0.txt", kJapaneseEuc + afterZero}, {"jis0.txt", kJapaneseJis + afterZero},
        {"sjis0.txt", kJapaneseSjis + afterZero}};
    for (const auto& f : files) {
        view()->setText(std::u16string_view(u"[]"));
        view()->setSel(1, 1);
        ui.answerFile(writeFile(QString::fromLatin1(f.name), f.bytes));
        run(res::ID_IMPORT_JAPANESE);
        EXPECT_EQ(viewText(), QStringLiteral("[") + kJapanese + QStringLiteral("]")) << f.name;
    }
}

TEST_F(ImportExportTest, AnImportIsOneUndoableEditAndLeavesPathAndCodePageAlone)
{
    const QString doc = writeFile(QStringLiteral("doc.txt"), QByteArray("abc def"));
    ASSERT_TRUE(app->openDocumentFile(doc));
    const QString title = document()->title();
    view()->setSel(4, 7);  // "def"
    ui.answerFile(writeFile(QStringLiteral("euc.txt"), kJapaneseEuc));
    run(res::ID_IMPORT_JAPANESE);

    EXPECT_EQ(viewText(), QStringLiteral("abc ") + kJapanese);
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(document()->title(), title);
    EXPECT_EQ(document()->pathName(), QFileInfo(doc).absoluteFilePath());
    EXPECT_EQ(view()->m_nCodePage, 932u);

    // Undo takes the insertion away, then brings the replaced selection back.
    frame()->router().send(res::ID_EDIT_UNDO);
    EXPECT_EQ(viewText(), QStringLiteral("abc "));
    frame()->router().send(res::ID_EDIT_UNDO);
    EXPECT_EQ(viewText(), QStringLiteral("abc def"));
}

TEST_F(ImportExportTest, AFileThatVanishesAfterTheDialogIsReportedAndNothingIsInserted)
{
    typeText(QStringLiteral("keep"));
    ui.answerFile(filePath(QStringLiteral("gone.txt")));
    run(res::ID_IMPORT_UNICODE);
    const auto messages = ui.messages();
    ASSERT_EQ(messages.size(), 1);
    const auto& box = messages.front();
    EXPECT_EQ(box.text, resString(res::IDP_IMPORT_FAILED)
                            + QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("インポートに失敗しました。\n")));
    EXPECT_EQ(box.icon, platform::fx::MsgIcon::Stop);
    EXPECT_EQ(box.caption, QStringLiteral("Quillet"));
    EXPECT_EQ(viewText(), QStringLiteral("keep"));
    EXPECT_FALSE(document()->isModified());
}

TEST_F(ImportExportTest, AFileLockedByAnotherHolderCannotBeImported)
{
    const QString path = writeFile(QStringLiteral("locked.txt"), kJapaneseEuc);
    const int holder = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ui.answerFile(path);
    run(res::ID_IMPORT_JAPANESE);
    ::close(holder);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().front().text.startsWith(resString(res::IDP_IMPORT_FAILED)));
    EXPECT_TRUE(viewText().isEmpty());
}

TEST_F(ImportExportTest, CancellingTheDialogDoesNothing)
{
    typeText(QStringLiteral("x"));
    ui.answerFile(std::nullopt);
    run(res::ID_IMPORT_MAC_JAPANESE);
    ui.answerFile(std::nullopt);
    run(res::ID_EXPORT_UTF8);
    EXPECT_EQ(viewText(), QStringLiteral("x"));
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(ImportExportTest, TheSharedDialogOffersTheFourFiltersAndAsksBeforeReplacing)
{
    ui.answerFile(std::nullopt);
    run(res::ID_EXPORT_UNICODE);
    ASSERT_EQ(ui.shown().size(), 1);
    const auto& request = ui.shown().front().file;
    EXPECT_EQ(request.mode, platform::fx::FileDialogRequest::Mode::Save);
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    EXPECT_TRUE(request.proposedPath.isEmpty());
    ASSERT_EQ(request.filters.size(), 4);
    EXPECT_EQ(request.filters[0].name, QStringLiteral("すべてのファイル (*.*)"));
    EXPECT_EQ(request.filters[2].pattern, QStringLiteral("*.html *.htm"));
}

TEST_F(ImportExportTest, UnicodeExportsMatchPythonsEncodingsAndChangeNothingElse)
{
    const QString doc = writeFile(QStringLiteral("doc.txt"), QByteArray());
    ASSERT_TRUE(app->openDocumentFile(doc));
    typeText(kMixed);
    const QString title = frame()->windowTitle();
    const struct { unsigned id; const char* name; QByteArray expected; } forms[] = {
        {res::ID_EXPORT_UNICODE, "le.txt", kMixedUtf16Le},
        {res::ID_EXPORT_UNICODE_BE, "be.txt", kMixedUtf16Be},
        {res::ID_EXPORT_UTF8, "u8.txt", kMixedUtf8},
    };
    for (const auto& f : forms) {
        ui.answerFile(filePath(QString::fromLatin1(f.name)));
        run(f.id);
        EXPECT_EQ(readFile(filePath(QString::fromLatin1(f.name))).toHex(), f.expected.toHex())
            << f.name;
    }
    EXPECT_FALSE(document()->isModified());
    EXPECT_EQ(frame()->windowTitle(), title);
    EXPECT_EQ(document()->pathName(), QFileInfo(doc).absoluteFilePath());
    EXPECT_EQ(view()->m_nCodePage, 932u);
    // The document's own save still writes its code page, without a mark.
    EXPECT_TRUE(readFile(doc).isEmpty());
}

TEST_F(ImportExportTest, UnicodeImportRoundTripsEveryExportForm)
{
    const QByteArray forms[] = {kMixedUtf16Le, kMixedUtf16Be, kMixedUtf8};
    int n = 0;
    for (const QByteArray& bytes : forms) {
        view()->setText(std::u16string_view());
        ui.answerFile(writeFile(QStringLiteral("in%1.txt").arg(n++), bytes));
        run(res::ID_IMPORT_UNICODE);
        EXPECT_EQ(viewText(), kMixed) << bytes.toHex().constData();
    }
}

TEST_F(ImportExportTest, AUtf32MarkImportsAsAnEmptyTextThatStillReplacesTheSelection)
{
    typeText(QStringLiteral("selected"));
    view()->setSel(0, -1);
    ui.answerFile(writeFile(QStringLiteral("u32.txt"), QByteArray::fromHex("fffe0000")));
    run(res::ID_IMPORT_UNICODE);
    EXPECT_TRUE(viewText().isEmpty());
    frame()->router().send(res::ID_EDIT_UNDO);
    EXPECT_EQ(viewText(), QStringLiteral("selected"));
}

TEST_F(ImportExportTest, MacJapaneseRoundTripsJapaneseAndMarksWhatItCannotHold)
{
    typeText(QStringLiteral("日本語①Ⅰ\r\n中文한"));
    const QString path = filePath(QStringLiteral("mac.txt"));
    ui.answerFile(path);
    ui.answerMessage(platform::fx::MsgAnswer::Yes);  // to the question about the Hangul
    run(res::ID_EXPORT_MAC_JAPANESE);
    const QByteArray bytes = readFile(path);
    // Hangul has no row: one '?' in its place, at the very end.
    EXPECT_TRUE(bytes.endsWith('?'));

    view()->setText(std::u16string_view());
    ui.answerFile(path);
    run(res::ID_IMPORT_MAC_JAPANESE);
    EXPECT_EQ(viewText(), QStringLiteral("日本語①Ⅰ\r\n中文?"));
}

TEST_F(ImportExportTest, AFailedExportReportsAndLeavesTheOldFileWhole)
{
    typeText(kMixed);
    const QString path = writeFile(QStringLiteral("old.txt"), QByteArray("old contents"));
    platform::shell::setWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    ui.answerFile(path);
    run(res::ID_EXPORT_UTF8);
    platform::shell::setWriteFunctionForTesting(nullptr);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages().front().text,
              resString(res::IDP_EXPORT_FAILED) + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(readFile(path), QByteArray("old contents"));
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("old.txt")});
}

TEST_F(ImportExportTest, AnExportIntoAMissingFolderIsReported)
{
    ui.answerFile(filePath(QStringLiteral("no/such/folder/x.txt")));
    run(res::ID_EXPORT_UNICODE);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().front().text.startsWith(QStringLiteral("エクスポートに失敗しました。\n")));
}

class JapaneseDetectionOnOpenTest : public ShellTest {};

TEST_F(JapaneseDetectionOnOpenTest, EucAndJisFilesOpenAsTextAndTheNextSaveWritesShiftJis)
{
    setSetting(u"Ja", 1);
    ASSERT_TRUE(start());
    for (const QByteArray& bytes : {kJapaneseEuc, kJapaneseJis}) {
        const QString path = writeFile(QStringLiteral("ja.txt"), bytes);
        ASSERT_TRUE(app->openDocumentFile(path));
        EXPECT_EQ(QString::fromStdU16String(view()->text()), kJapanese);
        EXPECT_FALSE(document()->isModified());
        frame()->router().send(res::ID_FILE_SAVE);
        EXPECT_EQ(readFile(path).toHex(), kJapaneseSjis.toHex());
    }
}

TEST_F(JapaneseDetectionOnOpenTest, AnUndecodableByteIsPlacedInTheFileNotInTheConversion)
{
    setSetting(u"Ja", 1);
    ASSERT_TRUE(start());
    // Row 9 of JIS X 0208 is empty: 29 21 (EUC A9 A1) becomes 85 40, which 932 lacks.
    const struct { QByteArray bytes; int offset; } files[] = {
        {QByteArray::fromHex("1b244224221b2842410d0a1b244229211b2842"), 14},
        {QByteArray::fromHex("a4a28eb1a9a1"), 4},
    };
    for (const auto& f : files) {
        ui.clear();
        ASSERT_TRUE(app->openDocumentFile(writeFile(QStringLiteral("ja.txt"), f.bytes)));
        QApplication::processEvents();
        ASSERT_EQ(ui.messages().size(), 1);
        EXPECT_TRUE(ui.messages()[0].text.contains(
            QStringLiteral("(最初のバイトの位置は %1、16 進で %2)")
                .arg(f.offset).arg(QString::number(f.offset, 16).toUpper())))
            << ui.messages()[0].text.toStdString();
    }
}

TEST_F(JapaneseDetectionOnOpenTest, WithTheOptionOffEucIsDecodedAsShiftJisBytes)
{
    ASSERT_TRUE(start());
    const QString path = writeFile(QStringLiteral("euc.txt"), kJapaneseEuc);
    ASSERT_TRUE(app->openDocumentFile(path));
    EXPECT_NE(QString::fromStdU16String(view()->text()), kJapanese);
}

} // namespace
} // namespace quillet_test
