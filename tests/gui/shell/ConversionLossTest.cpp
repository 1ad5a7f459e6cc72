// Nothing lost silently: a save that would change characters asks first, and No leaves
// the file and the document as they were; an open that could not read every byte says so.
#include "ShellTestSupport.h"

using namespace quillet_test;
using platform::fx::MsgAnswer;
using platform::fx::MsgButtons;
using platform::fx::MsgIcon;

namespace {

class ConversionLoss : public ShellTest {
protected:
    // The question as the program words it for a page or form.
    static QString question(const QString& encoding, int count, int line, int column,
                            const QString& code, const QString& character,
                            const QString& writtenAs)
    {
        return encoding + QStringLiteral(" では表せない文字が %1 個あります。\n").arg(count) +
               QStringLiteral("最初の文字は %1 行 %2 列の U+%3 「%4」です。\n")
                   .arg(line).arg(column).arg(code, character) +
               QStringLiteral("これらの文字は「?」または似た文字に置き換えて保存されます"
                              " (最初の文字は「%1」になります)。\n\nこのまま保存しますか？")
                   .arg(writtenAs);
    }

    void expectOneQuestion(const QString& text)
    {
        const auto messages = ui.messages();  // a copy: the list is returned by value
        ASSERT_EQ(messages.size(), 1);
        const auto& m = messages[0];
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.icon, MsgIcon::Exclamation);
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        ui.clear();
    }

    void expectSelection(int start, int end)
    {
        int s = -1, e = -1;
        view()->getSel(&s, &e);
        EXPECT_EQ(s, start);
        EXPECT_EQ(e, end);
    }
};

const QString kShiftJis = QStringLiteral("932 (ANSI/OEM - 日本語 Shift-JIS)");

} // namespace

TEST_F(ConversionLoss, EverySaveAsksAndNoWritesNothing)
{
    const QString path = writeFile(QStringLiteral("memo.txt"), "old bytes");
    ASSERT_TRUE(start({path}));
    view()->m_nCodePage = 932;
    view()->setText(std::u16string(u"ok\r\na한글b"));
    document()->setModifiedFlag(true);
    const QString asked = question(kShiftJis, 2, 2, 2, QStringLiteral("D55C"),
                                   QStringLiteral("한"), QStringLiteral("?"));

    // Save, No: the file stays, the document stays modified, the first character is shown.
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_FILE_SAVE);
    expectOneQuestion(asked);
    EXPECT_EQ(readFile(path), QByteArray("old bytes"));
    EXPECT_TRUE(document()->isModified());
    expectSelection(5, 6);

    // Save as, No: the new file is not even created, and the name stays.
    const QString other = filePath(QStringLiteral("other.txt"));
    ui.answerFile(other);
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_FILE_SAVE_AS);
    expectOneQuestion(asked);
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(document()->pathName(), path);

    // Closing: Yes to saving the changes, then No to the loss keeps the window open.
    ui.answerMessage(MsgAnswer::Yes);
    ui.answerMessage(MsgAnswer::No);
    EXPECT_FALSE(frame()->close());
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.messages()[1].text, asked);
    ui.clear();
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(readFile(path), QByteArray("old bytes"));
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("memo.txt")});

    // Yes writes what a save has always written.
    ui.answerMessage(MsgAnswer::Yes);
    frame()->executeCommand(res::ID_FILE_SAVE);
    expectOneQuestion(asked);
    EXPECT_EQ(readFile(path), QByteArray("ok\r\na??b"));
    EXPECT_FALSE(document()->isModified());
}

TEST_F(ConversionLoss, BestFitsAndPairsAreNamedAsTheyWillBeWritten)
{
    struct Case {
        unsigned codePage;
        std::u16string text;
        QString encoding;
        int count, column;
        QString code, character, writtenAs;
        QByteArray bytes;  // what Yes writes
    };
    const Case cases[] = {
        {1252, u"x\tＡ😀", QStringLiteral("1252 (ANSI - ラテン I)"), 2, 3,
         QStringLiteral("FF21"), QStringLiteral("Ａ"), QStringLiteral("A"), "x\tA??"},
        {932, u"😀", kShiftJis, 1, 1, QStringLiteral("1F600"), QStringLiteral("😀"),
         QStringLiteral("??"), "??"},
        {65001, u"a\xD800", QStringLiteral("65001 (UTF-8)"), 1, 2, QStringLiteral("D800"),
         QString(QChar(0xD800)), QStringLiteral("\uFFFD"), "a\xef\xbf\xbd"},
    };
    ASSERT_TRUE(start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        view()->m_nCodePage = c.codePage;
        view()->setText(c.text);
        const QString path = filePath(QStringLiteral("cp%1.txt").arg(c.codePage));
        ui.answerFile(path);
        ui.answerMessage(MsgAnswer::Yes);
        frame()->executeCommand(res::ID_FILE_SAVE_AS);
        expectOneQuestion(question(c.encoding, c.count, 1, c.column, c.code, c.character,
                                   c.writtenAs));
        EXPECT_EQ(readFile(path), c.bytes);
    }
}

TEST_F(ConversionLoss, TheMacintoshJapaneseExportAsksTheSameWay)
{
    ASSERT_TRUE(start());
    view()->setText(std::u16string(u"①\r\n©한"));
    const QString path = filePath(QStringLiteral("mac.txt"));
    const QString asked = question(QStringLiteral("Macintosh 日本語"), 1, 2, 2,
                                   QStringLiteral("D55C"), QStringLiteral("한"),
                                   QStringLiteral("?"));
    ui.answerFile(path);
    ui.answerMessage(MsgAnswer::No);
    frame()->executeCommand(res::ID_EXPORT_MAC_JAPANESE);
    expectOneQuestion(asked);
    EXPECT_FALSE(QFile::exists(path));
    expectSelection(4, 5);

    ui.answerFile(path);
    ui.answerMessage(MsgAnswer::Yes);
    frame()->executeCommand(res::ID_EXPORT_MAC_JAPANESE);
    expectOneQuestion(asked);
    EXPECT_EQ(readFile(path), QByteArray::fromHex("85400d0afd3f"));
}

TEST_F(ConversionLoss, AnOpenThatCouldNotReadEveryByteSaysSoAfterTheText)
{
    const QString path = writeFile(QStringLiteral("bad.txt"), "ab\x85\x40\r\nc\x82");
    const QString good = writeFile(QStringLiteral("good.txt"), "\x93\xfa\x96\x7b");
    ASSERT_TRUE(start({path}));  // start() lets the program go idle once the window is up
    EXPECT_EQ(text(), u"ab\u30FB\r\nc\u30FB");
    const auto messages = ui.messages();
    ASSERT_EQ(messages.size(), 1);
    const auto& m = messages[0];
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.text,
              QStringLiteral("このファイルには 932 (ANSI/OEM - 日本語 Shift-JIS) で読み取れないバイトが"
                             " 3 個あります (最初のバイトの位置は 2、16 進で 2)。\n"
                             "これらのバイトは「・」として表示しています。"
                             "保存すると、元のバイトの代わりに「・」が書き込まれます。\n\n"
                             "別のコードページで開き直すには、言語選択ダイアログでコードページを選んでください"
                             " (「各種設定」の「ファイルオープン時に表示」をオンにすると、開く前に表示されます)。"));
    ui.clear();

    // A file every byte of which decodes says nothing.
    ui.answerFile(good);
    frame()->executeCommand(res::ID_FILE_OPEN);
    QApplication::processEvents();
    EXPECT_EQ(text(), u"日本");
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(ConversionLoss, AnOpenThatStopsAtAZeroByteSaysHowMuchIsHidden)
{
    const auto hidden = [](int offset, const char* hex, int count) {
        return QStringLiteral("このファイルには位置 %1 (16 進で %2) にゼロのバイトがあるため、"
                              "そこから後の %3 バイトは表示していません。\n"
                              "保存すると、これらのバイトはファイルから失われます。\n\n"
                              "Unicode (UTF-16) のファイルは、「インポート」の"
                              "「Unicode （自動判定）」で読み込めます。")
            .arg(offset).arg(QLatin1String(hex)).arg(count);
    };
    struct Case {
        QByteArray bytes;
        std::u16string shown;
        QStringList told;  // in the order the boxes come
    };
    const Case cases[] = {
        // UTF-16 little-endian "AB" with its mark, read as code page 932.
        {QByteArray("\xff\xfe" "A\0B\0", 6), u"\uF8F3\uF8F2A", {hidden(3, "3", 3)}},
        {QByteArray("\0text", 5), u"", {hidden(0, "0", 5)}},
        {QByteArray(20, 'x') + QByteArray(1, '\0'), std::u16string(20, u'x'),
         {hidden(20, "14", 1)}},
        // The bytes before the zero are looked at as every opened file's are.
        {QByteArray("a\x82\r\n\0b", 6), u"a\u30FB\r\n",
         {hidden(4, "4", 2),
          QStringLiteral("このファイルには 932 (ANSI/OEM - 日本語 Shift-JIS) で読み取れないバイトが"
                         " 1 個あります (最初のバイトの位置は 1、16 進で 1)。\n"
                         "これらのバイトは「・」として表示しています。"
                         "保存すると、元のバイトの代わりに「・」が書き込まれます。\n\n"
                         "別のコードページで開き直すには、言語選択ダイアログでコードページを選んでください"
                         " (「各種設定」の「ファイルオープン時に表示」をオンにすると、開く前に表示されます)。")}},
        // A zero byte at the very end hides only itself; without one nothing is said.
        {QByteArray("ok\0", 3), u"ok", {hidden(2, "2", 1)}},
        {QByteArray("ok"), u"ok", {}},
    };
    ASSERT_TRUE(start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        ui.clear();
        ui.answerFile(writeFile(QStringLiteral("zero.txt"), c.bytes));
        frame()->executeCommand(res::ID_FILE_OPEN);
        QApplication::processEvents();
        EXPECT_EQ(text(), c.shown);
        EXPECT_EQ(messageTexts(), c.told);
        if (!c.told.isEmpty()) {
            EXPECT_EQ(ui.messages().first().icon, MsgIcon::Exclamation);
        }
    }
}
