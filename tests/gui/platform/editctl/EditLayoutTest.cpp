// Lines of a hundred thousand units and more: laid out in pieces or wrapped rows, they answer
// every geometry question as a layout made from scratch does, after any edits.
#include "LongLineText.h"

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using quillet_test::boundaryNear;
using quillet_test::cjkFont;
using quillet_test::longLines;

namespace {

// are shaped alone; without, the fresh layout counts most pieces unshaped, and x must come
// out the same as in pieces shaped and edited (marks from a fallback font, emoji, tabs
// after them). x also grows along an unwrapped line, and every boundary is found again from
// its own x.
void expectSameAsFresh(platform::EditLayout& layout, const platform::TextBuffer& buffer, int wrapWidth,
                       std::mt19937& rng, const std::string& when)
{
    platform::EditLayout fresh(buffer);
    fresh.setFont(cjkFont());
    fresh.setTabStopDistance(37);
    fresh.setWrapWidth(wrapWidth);
    ASSERT_EQ(layout.rowCount(), fresh.rowCount()) << when;
    for (int row = 0; row < fresh.rowCount(); ++row)
        ASSERT_EQ(layout.rowStart(row), fresh.rowStart(row)) << when << " row " << row;
    std::vector<int> sample;
    for (int i = 0; i < 80; ++i)
        sample.push_back(boundaryNear(buffer, static_cast<int>(rng() % static_cast<unsigned>(buffer.length() + 1))));
    std::sort(sample.begin(), sample.end());
    for (size_t i = 0; i < sample.size(); ++i) {
        const int pos = sample[i];
        if (pos < buffer.length() && buffer.at(pos) == 0x0301)
            continue;   // inside a cluster a point finds the cluster's edge
        // Shaping the piece of the one position may move the other: the earlier one first.
        const qreal previous = i > 0 ? layout.xOfPos(sample[i - 1]) : 0;
        const qreal x = layout.xOfPos(pos);
        EXPECT_NEAR(x, fresh.xOfPos(pos), 0.01) << when << " pos " << pos;
        if (wrapWidth <= 0 && i > 0 && buffer.lineFromChar(sample[i - 1]) == buffer.lineFromChar(pos)) {
            EXPECT_GE(x, previous) << when << " pos " << pos;
        }
        EXPECT_EQ(layout.posAtX(layout.rowOfPos(pos), x), pos) << when << " pos " << pos;
    }
}

} // namespace

TEST(EditLayout, RandomEditsKeepRowsAndPositionsAsAFreshLayoutHasThem)
{
    for (int wrapWidth : {0, 331}) {
        std::mt19937 rng(20261208u + static_cast<unsigned>(wrapWidth));
        platform::TextBuffer buffer;
        buffer.setText(longLines(rng, 120000, 4000));
        quillet_test::FollowingLayout following(buffer, wrapWidth);
        platform::EditLayout& layout = following.layout;
        const std::vector<std::u16string> inserts = {u"x", u"日本", u" ", u"\t", u"\U0001F600", u"\u0301",
                                                     u"\n", u"\r\n", u"word word ", u""};
        for (int edit = 1; edit <= 240; ++edit) {
            // Mostly near one spot, as typing is, with jumps now and then.
            const int start = boundaryNear(buffer, static_cast<int>(rng() % static_cast<unsigned>(buffer.length())));
            const int end = boundaryNear(buffer, start + static_cast<int>(rng() % 6));
            const std::u16string& insert = inserts[rng() % inserts.size()];
            buffer.replace(start, std::max(start, end), insert);
            // What the edit left kept around it is what a fresh layout would have, both before
            // and after questions shape and remember pieces and rows there, as drawing does.
            const int inserted = start + static_cast<int>(insert.size());
            ASSERT_EQ(layout.differenceFromFresh(start, inserted), "") << "edit " << edit;
            layout.xOfPos(start);
            layout.posAtX(layout.rowOfPos(start), layout.xOfPos(start) + 40);
            ASSERT_EQ(layout.differenceFromFresh(start, inserted), "") << "edit " << edit;
            if (edit % 40 == 0)
                expectSameAsFresh(layout, buffer, wrapWidth, rng, "wrap " + std::to_string(wrapWidth) + " edit " + std::to_string(edit));
        }
        EXPECT_LE(layout.cachedUnits(), platform::EditLayout::kCachedUnits + 1024);
        EXPECT_LT(layout.pieceRecordBytes(), 400u * 1024) << "a few bytes a unit at most, the unit table included";
    }
}

// Tabs of an unwrapped long line stop where they would in the line shaped at once: every
// piece, whatever x it starts at and however much text its tabs follow, keeps the line's
