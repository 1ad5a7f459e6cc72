#include "view/PrintLayout.h"

#include "platform/editctl/LinePieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using view::PageLayout;
using view::Rect;

namespace {

// Every unit 10 wide, ideographs 20; rows 12 high. Remembers the longest span measured.
struct FixedMeasure : view::Measure {
    mutable size_t longest = 0;
    double advance(std::u16string_view span) const override
    {
        longest = std::max(longest, span.size());
        double w = 0;
        for (char16_t c : span)
            w += c >= 0x3000 ? 20 : 10;
        return w;
    }
    int lineHeight() const override { return 12; }
    double averageCharWidth() const override { return 10; }
};

std::u16string rowsOf(std::u16string_view text, const view::PageRows& page)
{
    std::u16string out;
    for (const view::Row& r : page.rows)
        out += std::u16string(text.substr(r.start, r.end - r.start)) + u'|';
    return out;
}

} // namespace

TEST(PrintLayout, FrameArithmeticTruncatesAndPlacesHeaderBodyFooter)
{
    struct Case {
        Rect page;
        int h;
        Rect header, body, footer;
        int headerRule, footerRule;
    };
    const Case cases[] = {
        // A4 at 600 dpi: 4960 x 7016; 85 % of 4960 is 4216 (372 a side), 90 % of 7016
        // truncates to 6314 (351 a side).
        {{0, 0, 4960, 7016}, 100, {372, 251, 4588, 351}, {372, 501, 4588, 6515}, {372, 6665, 4588, 6765}, 376, 6640},
        // Odd sizes: 99 * 85 / 100 = 84 -> dx 7; 101 * 90 / 100 = 90 -> dy 5; q = 7 / 4 = 1.
        {{10, 20, 109, 121}, 7, {17, 18, 102, 25}, {17, 34, 102, 107}, {17, 116, 102, 123}, 26, 115},
        // Text height 0 (no font): body is the shrunk rectangle.
        {{0, 0, 200, 100}, 0, {15, 5, 185, 5}, {15, 5, 185, 95}, {15, 95, 185, 95}, 5, 95},
    };
    for (const Case& c : cases) {
        const view::PageFrame f = view::makePageFrame(c.page, c.h);
        EXPECT_EQ(f.header, c.header);
        EXPECT_EQ(f.body, c.body);
        EXPECT_EQ(f.footer, c.footer);
        EXPECT_EQ(f.headerRuleY, c.headerRule);
        EXPECT_EQ(f.footerRuleY, c.footerRule);
    }
}

TEST(PrintLayout, WrapsAtTheBodyWidthExpandsTabsAndBreaksPages)
{
    const FixedMeasure m;
    struct Case {
        std::u16string text;
        int width;         // body width: width / 10 narrow characters
        std::u16string rows;  // rows of the first page
        int pages;
    };
    // Three rows per page (body 36 high, rows 12).
    const Case cases[] = {
        {u"", 100, u"", 1},
        {u"abc\r\ndef\nghi\rjk", 100, u"abc|def|ghi|", 2},
        {u"aaa bbb ccc", 70, u"aaa bbb |ccc|", 1},  // the space after bbb hangs
        {u"abcdefghijkl", 50, u"abcde|fghij|kl|", 1},   // a word wider than the row
        {u"\tx\ty", 80, u"\tx\t|y|", 1},               // tab stops every 4 characters (40)
        {u"日本語の文章", 60, u"日本語|の文章|", 1},
        {u"a\U0001F600b", 30, u"a|\U0001F600|b|", 1},  // a pair wider than the row stays whole
        {u"1\n2\n3\n4\n5\n6\n7", 100, u"1|2|3|", 3},
        {u"\n\n\n\n", 100, u"|||", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const PageLayout layout(m, {0, 0, c.width, 36}, 4);
        ASSERT_TRUE(layout.hasRoom());
        EXPECT_EQ(rowsOf(c.text, layout.layoutPage(c.text, 0)), c.rows);
        EXPECT_EQ(int(layout.paginate(c.text).size()), c.pages);
    }
    // No room for a row: nothing to lay out, and the caller is told.
    EXPECT_FALSE(PageLayout(m, {0, 0, 100, 11}, 4).hasRoom());
    EXPECT_FALSE(PageLayout(m, {0, 0, 0, 100}, 4).hasRoom());
}

TEST(PrintLayout, AMillionUnitLineIsMeasuredInPiecesAndEveryUnitPrintedOnce)
{
    const FixedMeasure m;
    std::u16string text;
    for (int i = 0; text.size() < 1'000'000; ++i)
        text += (i % 7 == 0) ? u"\u65E5\u672C " : u"word" + std::u16string(i % 300 == 0 ? 400 : 3, u'x') + u" ";
    text += u"LAST";
    const PageLayout layout(m, {0, 0, 800, 600}, 8);
    const std::vector<int> starts = layout.paginate(text);
    EXPECT_LE(m.longest, size_t(platform::pieces::kPieceMax));
    int expected = 0;
    for (size_t p = 0; p < starts.size(); ++p) {
        const view::PageRows page = layout.layoutPage(text, starts[p]);
        EXPECT_EQ(page.next, p + 1 < starts.size() ? starts[p + 1] : int(text.size()));
        for (const view::Row& r : page.rows) {
            ASSERT_EQ(r.start, expected);
            ASSERT_GT(r.end, r.start);
            ASSERT_LE(m.advance(std::u16string_view(text).substr(r.start, r.end - r.start)) - 10, 800);
            expected = r.end;
        }
    }
    EXPECT_EQ(expected, int(text.size()));
}
