// Files opened and saved through the document with the view's code page: byte-exact round
// trips, the size limit, zero bytes and characters a page cannot hold.
#include "ShellTestSupport.h"

using namespace quillet_test;

namespace {

class CodePageFile : public ShellTest {
protected:
    // Opens path the way the open command does, after the open dialog; tells whether the
    // file became the document.
    bool openThroughDialog(const QString& path)
    {
        ui.answerFile(path);
        EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_OPEN));
        return document()->pathName() == path && !document()->isModified();
    }

    // Saves under a new name through the save-as command.
    void saveAs(const QString& path)
    {
        ui.answerFile(path);
        EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_SAVE_AS));
    }
};

struct Sample {
    unsigned codePage;
    const char* hex;        // the file's bytes
    std::u16string text;    // what the view shows
};

// Each sample uses characters the page encodes in only one way, so that decoding and
// encoding again must give the same bytes.
const Sample kSamples[] = {
    {932,
     "93fa967b8cea8365834c835883678141b6c0b6c587400d0a8bb42081602081612081ca",
     u"日本語テキスト、ｶﾀｶﾅ①\r\n橋 ～ ∥ ￢"},
    {936, "bcf2cce5d6d0cec4a3acb2e2cad40d0ab1e0c2eb", u"简体中文，测试\r\n编码"},
    {949, "c7d1b1b9beee20c5d8bdbac6ae208c63b9e6b0a2c7cf0d0af9d3edae",
     u"한국어 텍스트 똠방각하\r\n漢字"},
    // Trail bytes 0x5C ("\") in 許, 功 and 蓋 must not be taken for backslashes.
    {950, "c163c5e9a4a4a4e5b4fab8d5a141f9d60d0ab35ca55cbb5c", u"繁體中文測試，碁\r\n許功蓋"},
    {1252, "636166e9209620937175f6746573942080" "0d0ac6d8c520ff",
     u"café – “quötes” €\r\nÆØÅ ÿ"},
    // Escape-sequence pages take no decoding flags; their files must not open empty.
    {50220, "1b2442467c4b5c1b2842410d0a", u"日本A\r\n"},
    {52936, "7e7b3b3b7e7d410d0a", u"换A\r\n"},
    // The byte-order mark stays in the text as U+FEFF and is written back.
    {65001, "efbbbfc39c6ec3af63c3b664c3a920f09f988020e697a5e69cac0d0a",
     u"\uFEFFÜnïcödé 😀 日本\r\n"},
};

} // namespace

TEST_F(CodePageFile, EachCodePageOpensAndSavesBackByteForByte)
{
    ASSERT_TRUE(start());
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.codePage);
        const QByteArray bytes = QByteArray::fromHex(s.hex);
        const QString in = writeFile(QStringLiteral("in%1.txt").arg(s.codePage), bytes);
        const QString out = filePath(QStringLiteral("out%1.txt").arg(s.codePage));
        view()->m_nCodePage = s.codePage;

        ASSERT_TRUE(openThroughDialog(in));
        EXPECT_EQ(text(), s.text);
        EXPECT_FALSE(document()->isModified());
        saveAs(out);
        EXPECT_EQ(readFile(out), bytes);
        EXPECT_EQ(document()->pathName(), out);
        EXPECT_FALSE(document()->isModified());
        // Saving again over the same file keeps it as it is.
        EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_SAVE));
        EXPECT_EQ(readFile(out), bytes);
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(CodePageFile, TheLargestFileOpensAndOneByteMoreIsRefused)
{
    QByteArray largest;
    largest.reserve(1048576);
    while (largest.size() < 1048575 - 64)
        largest += QByteArray(62, 'a') + "\r\n";
    largest += QByteArray(1048575 - largest.size(), 'z');
    ASSERT_EQ(largest.size(), 1048575);
    const QString fits = writeFile(QStringLiteral("fits.txt"), largest);
    const QString tooLarge = writeFile(QStringLiteral("large.txt"), largest + 'z');

    ASSERT_TRUE(start({fits}));
    EXPECT_EQ(view()->textLength(), 1048575);
    EXPECT_EQ(view()->buffer().lineCount(), 1048575 / 64 + 1);

    EXPECT_FALSE(openThroughDialog(tooLarge));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("ﾌｧｲﾙが大きすぎて開けません。")});
    // The text was spoilt by the attempt: a new untitled one takes its place.
    EXPECT_TRUE(text().empty());
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
    EXPECT_TRUE(document()->pathName().isEmpty());
    EXPECT_FALSE(document()->isModified());
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("無題 - Quillet"));
    ASSERT_EQ(app->recentFiles()->entries().size(), 1u);
    EXPECT_EQ(qstr(app->recentFiles()->entries()[0]), fits);
}

TEST_F(CodePageFile, ATooLargeFileOnTheCommandLineEndsStartUp)
{
    const QString tooLarge = writeFile(QStringLiteral("large.txt"), QByteArray(1048576, 'a'));
    EXPECT_FALSE(start({tooLarge}));
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("ﾌｧｲﾙが大きすぎて開けません。")});
    EXPECT_FALSE(app->mainWindowShown());
}

TEST_F(CodePageFile, AZeroByteEndsTheText)
{
    const QString path = writeFile(QStringLiteral("nul.txt"), QByteArray("abc\0def", 7));
    ASSERT_TRUE(start({path}));
    EXPECT_EQ(text(), u"abc");
    // UTF-16 text read as a single-byte page stops at the first zero byte of "A".
    const QString utf16 = writeFile(QStringLiteral("utf16.txt"), QByteArray("A\0B\0", 4));
    view()->m_nCodePage = 1252;
    ASSERT_TRUE(openThroughDialog(utf16));
    EXPECT_EQ(text(), u"A");
}

TEST_F(CodePageFile, AnEmptyFileOpensAsAnEmptyTextWithItsName)
{
    const QString full = writeFile(QStringLiteral("full.txt"), "something");
    const QString empty = writeFile(QStringLiteral("empty.txt"), QByteArray());
    ASSERT_TRUE(start({full}));
    ASSERT_TRUE(openThroughDialog(empty));
    EXPECT_TRUE(text().empty());
    EXPECT_EQ(document()->title(), QStringLiteral("empty.txt"));
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("empty.txt - Quillet"));
    EXPECT_FALSE(document()->isModified());
}

TEST_F(CodePageFile, CharactersThePageLacksAreSavedAsItsDefaultCharacter)
{
    ASSERT_TRUE(start());
    view()->m_nCodePage = 1252;
    view()->setText(std::u16string(u"A한B\r\n"));
    const QString out = filePath(QStringLiteral("latin.txt"));
    // Only after the question about the lost character has been answered Yes.
    ui.answerMessage(platform::fx::MsgAnswer::Yes);
    saveAs(out);
    EXPECT_EQ(readFile(out), QByteArray("A?B\r\n"));
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(CodePageFile, ThePageTheFileWasOpenedWithIsTheOneItIsSavedWith)
{
    // A UTF-8 file opened as UTF-8 and saved as UTF-8, while the same text saved after
    // switching to Shift_JIS becomes Shift_JIS.
    const QString path = writeFile(QStringLiteral("u8.txt"), QByteArray::fromHex("e697a5e69cac"));
    ASSERT_TRUE(start());
    view()->m_nCodePage = 65001;
    ASSERT_TRUE(openThroughDialog(path));
    EXPECT_EQ(text(), u"日本");
    view()->m_nCodePage = 932;
    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_SAVE));
    EXPECT_EQ(readFile(path), QByteArray::fromHex("93fa967b"));
}

TEST_F(CodePageFile, APageThatCannotConvertNeverEmptiesTheFileNorTheScreen)
{
    // A hand-edited setting names a page nobody has: the user is told once, while the view
    // is made, and the file opens with 932. The setting changes only when the window closes.
    setSetting(u"CodePage", 4242);
    const QString path = writeFile(QStringLiteral("kept.txt"), "precious bytes");
    ASSERT_TRUE(start({path}));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text, resString(res::IDP_CODEPAGE_NOT_INSTALLED, "4242"));
    EXPECT_EQ(ui.messages()[0].icon, platform::fx::MsgIcon::Information);
    EXPECT_EQ(text(), u"precious bytes");
    EXPECT_EQ(view()->m_nCodePage, 932u);
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", 0), 4242);

    // Should the page be lost all the same, opening refuses before the screen changes.
    view()->m_nCodePage = 4242;
    QTest::keyClicks(view(), QStringLiteral("typed "));
    const QString other = writeFile(QStringLiteral("other.txt"), "other");
    ui.answerMessage(platform::fx::MsgAnswer::No);  // do not save the changes
    EXPECT_FALSE(openThroughDialog(other));
    ASSERT_EQ(ui.messages().size(), 3);
    EXPECT_EQ(ui.messages()[2].text, resString(res::IDP_OPEN_CODEPAGE_UNSUPPORTED, "4242"));
    EXPECT_EQ(text(), u"typed precious bytes");
    EXPECT_EQ(document()->pathName(), path);
    EXPECT_TRUE(document()->isModified());

    // Saving would write an empty file or nothing the page can hold: refused with a message.
    frame()->executeCommand(res::ID_FILE_SAVE);
    ASSERT_EQ(ui.messages().size(), 4);
    EXPECT_TRUE(ui.messages()[3].text.contains(QStringLiteral("4242")))
        << ui.messages()[3].text.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("precious bytes"));
    EXPECT_TRUE(document()->isModified());

    // The next start is quiet: the page in use was written back.
    view()->m_nCodePage = 932;
    ASSERT_TRUE(restart({path}));
    EXPECT_EQ(ui.messages().size(), 4);
    EXPECT_EQ(settings().readInt(u"Settings", u"CodePage", 0), 932);
}

TEST_F(CodePageFile, NewKeepsTheCodePageAndEmptiesTheText)
{
    const QString path = writeFile(QStringLiteral("latin.txt"), "caf\xe9");
    ASSERT_TRUE(start());
    view()->m_nCodePage = 1252;
    ASSERT_TRUE(openThroughDialog(path));
    EXPECT_EQ(text(), u"café");
    const QFont font = view()->font();

    EXPECT_TRUE(frame()->executeCommand(res::ID_FILE_NEW));
    EXPECT_TRUE(text().empty());
    EXPECT_EQ(view()->m_nCodePage, 1252u);
    EXPECT_EQ(view()->font(), font);
    EXPECT_EQ(document()->title(), QStringLiteral("無題"));
    EXPECT_TRUE(document()->pathName().isEmpty());
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("無題 - Quillet"));
    EXPECT_TRUE(ui.messages().isEmpty());
}
