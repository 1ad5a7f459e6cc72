// Row counts of the layout agree with the layouts the rows are drawn from.
#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTextLayout>

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

TEST(WholeLineLayout, RowCountsMatchTheLayoutsLinesAreDrawnWith)
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

// Wrapped rows counted from the advances of the units, without shaping, are those of the
// layout the line is drawn with: random lines of Japanese prose with ASCII words, spaces and
// tabs, at random widths and tab stops, in the fonts the program and the tests draw with.
TEST(WholeLineLayout, RowsCountedWithoutShapingAreTheRowsOfTheDrawnLayout)
{
    const std::vector<std::u16string> words = {
        u"吾輩", u"は", u"猫", u"である", u"ニャーニャー", u"「", u"」", u"。", u"、", u"（", u"）", u"っ", u"ー",
        u"々", u"・", u"〜", u"ＵＴＦ－８", u"１２３", u"ｶﾀｶﾅ", u"漢字漢字漢字漢字漢字漢字漢字", u"　", u" ",
        u"  ", u"\t", u"Quillet", u"Shift_JIS", u"1,048,575", u"version 1.0", u"a-b", u"x/y", u"(x)",
        u"\"q\"", u"it's", u"OK.", u"?!", u"MMMMMMMMMMMMMMMMMMMM", u"iiiiiiiiiiiiiiiiiiiiiiii", u"\x1B",
    };
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSize(12);
    QFont cjk(QStringLiteral("Noto Sans Mono CJK JP"));
    cjk.setPointSize(12);
    // What the program draws with by default: kana and kanji come from a fallback font, and
    // digits and punctuation among them too.
    QFont program;
    program.setFamilies({QStringLiteral("FixedSys"), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    program.setPixelSize(19);
    // Glyphs that reach past their advance near the wrap width.
    QFont italic(QStringLiteral("DejaVu Sans Mono"));
    italic.setPixelSize(23);
    italic.setItalic(true);
    // A face the machine lacks, in bold italic: kana, kanji and the digits among them come
    // from a fallback font slanted by the font engine, their ink far past their advances.
    QFont slanted(QStringLiteral("Quillet No Such Face"));
    slanted.setPixelSize(25);
    slanted.setBold(true);
    slanted.setItalic(true);

    std::mt19937 rng(20261208u);
    for (const QFont& font : {mono, cjk, program, italic, slanted}) {
        for (int round = 0; round < 4; ++round) {
            std::u16string text;
            for (int line = 0; line < 150; ++line) {
                const int count = static_cast<int>(rng() % 24);
                for (int i = 0; i < count; ++i)
                    text += words[rng() % words.size()];
                text += u"\r\n";
            }
            platform::TextBuffer buffer;
            buffer.setText(text);
            const int tab = round == 0 ? 0 : 13 + static_cast<int>(rng() % 50);
            const int width = 40 + static_cast<int>(rng() % 560);
            const std::string where = font.family().toStdString() + " width " + std::to_string(width)
                                      + " tab " + std::to_string(tab);
            platform::EditLayout layout(buffer);
            layout.setFont(font);
            layout.setTabStopDistance(tab);
            layout.setWrapWidth(width);
            layout.rowCount();
            if (!font.italic()) {
                EXPECT_LT(layout.cachedUnits(), buffer.length() / 10) << where << ": most lines are not shaped to count";
            }

            int wrapped = 0;
            for (int line = 0; line < buffer.lineCount(); ++line) {
                const int first = layout.firstRowOfLine(line);
                const int rows = layout.firstRowOfLine(line + 1) - first;
                const QTextLayout& drawn = layout.lineLayout(line);
                ASSERT_EQ(rows, drawn.lineCount()) << where << " line " << line;
                for (int r = 1; r < rows; ++r) {
                    ASSERT_EQ(layout.rowStart(first + r) - buffer.lineIndex(line), drawn.lineAt(r).textStart())
                        << where << " line " << line << " row " << r;
                }
                wrapped += rows > 1;
            }
            EXPECT_GT(wrapped, 10) << where;
        }
    }
}

// A line whose advances fit the width but whose last glyph's ink does not is drawn in two
// rows, and counted so: kana and digits slanted by the font engine, at every width near the
// line's own.
TEST(WholeLineLayout, InkPastTheLastAdvanceCountsAsTheShaperCountsIt)
{
    QFont slanted(QStringLiteral("Quillet No Such Face"));
    slanted.setPixelSize(25);
    slanted.setBold(true);
    slanted.setItalic(true);
    for (const std::u16string line : {u"ははははは", u"漢字漢字", u"はである932", u"ｶﾀｶﾅｶﾀｶﾅ"}) {
        platform::TextBuffer buffer;
        buffer.setText(line + u"\r\n");
        platform::EditLayout layout(buffer);
        layout.setFont(slanted);
        const int natural = int(QFontMetricsF(slanted).horizontalAdvance(QString::fromStdU16String(line)));
        for (int width = natural - 4; width < natural + 40; ++width) {
            layout.setWrapWidth(width);
            EXPECT_EQ(layout.firstRowOfLine(1), layout.lineLayout(0).lineCount())
                << QString::fromStdU16String(line).toStdString() << " width " << width;
        }
    }
}

TEST(WholeLineLayout, CachedLinesFollowEditsThatAddAndJoinLines)
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
    layout.textChanged({4, 0, 5, 0, 1, {}}, lines);
    EXPECT_EQ(textOf(0), u"zero");
    EXPECT_EQ(textOf(1), u"new");
    EXPECT_EQ(textOf(2), u"one");
    EXPECT_EQ(textOf(4), u"three");

    lines = buffer.lineCount();
    buffer.replace(1, 16, u"");   // "z" + "two": four lines joined into one
    layout.textChanged({1, 15, 0, 3, 0, {}}, lines);
    EXPECT_EQ(buffer.lineCount(), 2);
    EXPECT_EQ(textOf(0), u"ztwo");
    EXPECT_EQ(textOf(1), u"three");

    // A lone LF typed after a lone CR makes a CR LF: the line splits.
    buffer.setText(u"a\rb");
    layout.reset();
    textOf(0);
    lines = buffer.lineCount();
    buffer.replace(2, 2, u"\n");
    layout.textChanged({2, 0, 1, 0, 1, {}}, lines);
    EXPECT_EQ(textOf(0), u"a");
    EXPECT_EQ(textOf(1), u"b");
}
