// The conversion and insertion commands through the real view: what lands in the text,
// where the caret ends, and the undo steps each leaves.

#include "../shell/ShellTestSupport.h"

#include <QDialog>
#include <QLineEdit>
#include <QRegularExpression>

#include <clocale>

namespace quillet_test {
namespace {

class ConvertCommands : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(start());
    }
    void setText(std::u16string_view t, int selStart, int selEnd)
    {
        view()->setText(t);
        view()->setSel(selStart, selEnd);
    }
    bool run(unsigned id) { return frame()->executeCommand(id); }
    std::pair<int, int> sel() const
    {
        int s = -1, e = -1;
        view()->getSel(&s, &e);
        return {s, e};
    }
    // Undoes once and gives the text.
    std::u16string undo()
    {
        run(res::ID_EDIT_UNDO);
        return text();
    }
    void answerCode(const QString& code, int result = QDialog::Accepted)
    {
        ui.answerModal([code, result](QDialog& d) {
            auto* edit = d.findChild<QLineEdit*>(QStringLiteral("1010"));
            EXPECT_NE(edit, nullptr);
            EXPECT_TRUE(edit->text().isEmpty());
            EXPECT_EQ(edit->maxLength(), 8);
            if (edit)
                edit->setText(code);
            return result;
        });
    }
};

TEST_F(ConvertCommands, NormalizingReplacesTheWholeTextInTwoUndoSteps)
{
    const struct { std::u16string_view in, out; } cases[] = {
        {u"a\nb\rc\r\nd", u"a\r\nb\r\nc\r\nd"},
        {u"x\r", u"x\r\n"},
        {u"a\r\nb", u"a\r\nb"},  // already CR LF: the same text, still replaced
    };
    for (const auto& c : cases) {
        setText(c.in, 1, 1);
        ASSERT_TRUE(run(res::ID_NORMALIZE_LINE_ENDS));
        EXPECT_EQ(text(), c.out);
        EXPECT_EQ(sel(), std::make_pair(int(c.out.size()), int(c.out.size())));
        EXPECT_TRUE(view()->redraw());
        EXPECT_EQ(undo(), u"");
        EXPECT_EQ(undo(), c.in);
    }
    view()->setText(std::u16string_view());
    EXPECT_FALSE(frame()->router().update(res::ID_NORMALIZE_LINE_ENDS).enabled());
}

TEST_F(ConvertCommands, ReferencesReplaceTheSelectionKeepingItsLines)
{
    setText(u"xab\r\ncdy", 1, 7);
    ASSERT_TRUE(run(res::ID_NCR));
    EXPECT_EQ(text(), u"x&#97;&#98;\r\n&#99;&#100;y");
    EXPECT_EQ(sel().first, int(text().size()) - 1);
    EXPECT_EQ(undo(), u"xy");
    EXPECT_EQ(undo(), u"xab\r\ncdy");

    view()->m_nNcrRadix = 1;
    setText(u"\U0001F600 ", 0, 3);
    ASSERT_TRUE(run(res::ID_NCR));
    EXPECT_EQ(text(), u"&#x1F600;&#x0020;");
    view()->setSel(2, 2);
    EXPECT_FALSE(frame()->router().update(res::ID_NCR).enabled());
}

TEST_F(ConvertCommands, CodeInputInsertsOneUnitOrNothing)
{
    setText(u"[]", 1, 1);
    answerCode(QStringLiteral("0x3042"));
    ASSERT_TRUE(run(res::ID_CODE_INPUT));
    EXPECT_EQ(text(), u"[\x3042]");
    answerCode(QStringLiteral("0xD800"));
    run(res::ID_CODE_INPUT);
    EXPECT_EQ(text(), u"[\x3042\xD800]");
    // Out of range, no digits, or cancelled: nothing changes and nothing is shown.
    for (const char* code : {"0x10000", "0x", "", "-1", "abc", "4294967296"}) {
        answerCode(QString::fromLatin1(code));
        run(res::ID_CODE_INPUT);
    }
    answerCode(QStringLiteral("65"), QDialog::Rejected);
    run(res::ID_CODE_INPUT);
    EXPECT_EQ(text(), u"[\x3042\xD800]");
    EXPECT_TRUE(ui.messages().isEmpty());
    // A selection is replaced: two undo steps.
    view()->setSel(0, 1);
    answerCode(QStringLiteral("065"));
    run(res::ID_CODE_INPUT);
    EXPECT_EQ(text(), u"5\x3042\xD800]");  // octal 065 is '5'
    EXPECT_EQ(undo(), u"\x3042\xD800]");
    EXPECT_EQ(undo(), u"[\x3042\xD800]");
}

TEST_F(ConvertCommands, DateAndTimeNameTheWeekdayInTheLanguageOfTheCodePage)
{
    const std::string localeBefore = std::setlocale(LC_ALL, nullptr);
    const struct { std::uint32_t page; const char* weekday; } cases[] = {
        {932, "(日|月|火|水|木|金|土)曜日"},
        {949, "(일|월|화|수|목|금|토)요일"},
        {1252, "(Sun|Mon|Tues|Wednes|Thurs|Fri|Satur)day"},
    };
    for (const auto& c : cases) {
        view()->m_nCodePage = c.page;
        setText(u"ab", 0, 1);  // F5 replaces the selection
        QTest::keyClick(view(), Qt::Key_F5);
        const QString t = QString::fromStdU16String(text());
        const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d \\d{4}/\\d\\d/\\d\\d %1b$")
                                           .arg(QString::fromUtf8(c.weekday)));
        EXPECT_TRUE(shape.match(t).hasMatch()) << t.toStdString();
        EXPECT_EQ(sel().first, int(t.size()) - 1);
        EXPECT_EQ(std::setlocale(LC_ALL, nullptr), localeBefore);
    }
}

} // namespace
} // namespace quillet_test
