// Row counts of the layout agree with the layouts the rows are drawn from.
#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <QFont>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Lines of mixed scripts whose widths scatter around the wrap widths tried below, so that
// both lines settled without shaping and lines that need it are met, many near the edge.
std::u16string mixedLines(int count)
{
    const std::vector<std::u16string> pieces = {
        u"word ", u"Wave, ", u"fi ", u"AV ", u"T.", u"\t", u"日本語", u"かな", u"カタカナ", u"。", u"、",
        u"ｶﾀｶﾅ", u"ＡＢＣ", u"한국어 ", u"中文", u"café ", u"\x1B", u"\r", u"\x7F", u"  ", u"e\u0301",
        u"\U0001F600", u"עברית ", u"—", u"iiii", u"MMMM",
    };
    std::mt19937 rng(20240601u);
    std::u16string text;
    for (int line = 0; line < count; ++line) {
        const int length = static_cast<int>(rng() % 60);
        for (int i = 0; i < length; ++i)
            text += pieces[rng() % pieces.size()];
        text += u"\r\n";
    }
    return text;
}

} // namespace

TEST(EditLayoutRows, RowCountsMatchTheLayoutsLinesAreDrawnWith)
{
    platform::TextBuffer buffer;
    buffer.setText(mixedLines(300));

    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSize(12);
    QFont proportional(QStringLiteral("DejaVu Sans"));   // kerning pairs
    proportional.setPointSize(11);
    QFont cjk(QStringLiteral("Noto Sans Mono CJK JP"));
    cjk.setPointSize(12);

    for (const QFont& font : {mono, proportional, cjk}) {
        for (int width : {97, 331, 800}) {
            platform::EditLayout layout(buffer);
            layout.setFont(font);
            layout.setTabStopDistance(37);
            layout.setWrapWidth(width);
            int wrapped = 0;
            for (int line = 0; line < buffer.lineCount(); ++line) {
                const int rows = layout.firstRowOfLine(line + 1) - layout.firstRowOfLine(line);
                const int drawn = layout.lineLayout(line).lineCount();
                ASSERT_EQ(rows, drawn) << font.family().toStdString() << " width " << width << " line " << line;
                wrapped += rows > 1;
            }
            EXPECT_GT(wrapped, 10) << "the sample reaches past the wrap width";
            EXPECT_LT(wrapped, buffer.lineCount()) << "and also stays within it";
        }
    }
}

TEST(EditLayoutRows, CachedLinesFollowEditsThatAddAndJoinLines)
{
    platform::TextBuffer buffer;
    buffer.setText(u"zero\r\none\r\ntwo\r\nthree");
    platform::EditLayout layout(buffer);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(12);
    layout.setFont(font);
    const auto textOf = [&](int line) { return layout.lineLayout(line).text().toStdU16String(); };
    for (int line = 0; line < 4; ++line)
        textOf(line);   // fill the cache

    int lines = buffer.lineCount();
    buffer.replace(4, 4, u"\r\nnew");   // a line inserted after "zero"
    layout.textChanged({4, 0, 5, 0, 1}, lines);
    EXPECT_EQ(textOf(0), u"zero");
    EXPECT_EQ(textOf(1), u"new");
    EXPECT_EQ(textOf(2), u"one");
    EXPECT_EQ(textOf(4), u"three");

    lines = buffer.lineCount();
    buffer.replace(1, 16, u"");   // "z" + "two": four lines joined into one
    layout.textChanged({1, 15, 0, 3, 0}, lines);
    EXPECT_EQ(buffer.lineCount(), 2);
    EXPECT_EQ(textOf(0), u"ztwo");
    EXPECT_EQ(textOf(1), u"three");

    // A lone LF typed after a lone CR makes a CR LF: the line splits.
    buffer.setText(u"a\rb");
    layout.reset();
    textOf(0);
    lines = buffer.lineCount();
    buffer.replace(2, 2, u"\n");
    layout.textChanged({2, 0, 1, 0, 1}, lines);
    EXPECT_EQ(textOf(0), u"a");
    EXPECT_EQ(textOf(1), u"b");
}
