// A composition shown at the caret stands where typing its text would put that text: on a
// line shaped at once, in a piece of a long line, in the rows of a wrapped long line.
#include "../LongLineText.h"

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using quillet_test::boundaryNear;
using quillet_test::longLines;

// For random carets and compositions: the caret at each point of the composition has the row
// and x the caret has after typing the composition up to that point, and the composition
// adds as many drawn rows as typing it adds rows. Ending the composition leaves the layout as
// it was.
TEST(CompositionOverlay, ShowsTheTextWhereTypingItWouldPutIt)
{
    const std::vector<std::u16string> compositions = {u"にほんご", u"漢字", u"ab cd ", u"かな漢字変換の途中"};
    for (int wrapWidth : {0, 331}) {
        std::mt19937 rng(20261209u + static_cast<unsigned>(wrapWidth));
        platform::TextBuffer buffer;
        // A short line, then a long one: each kind of line layout has the caret in turn.
        buffer.setText(longLines(rng, 90, 0) + u"\r\n" + longLines(rng, 4000, 0));
        quillet_test::FollowingLayout following(buffer, wrapWidth);
        platform::EditLayout& layout = following.layout;
        const int rowsBefore = layout.rowCount();
        for (int round = 0; round < 24; ++round) {
            const int line = round % 2;
            const int lineStart = buffer.lineIndex(line);
            const int caret = boundaryNear(
                buffer, lineStart + static_cast<int>(rng() % static_cast<unsigned>(buffer.lineLength(lineStart) + 1)));
            const std::u16string& text = compositions[rng() % compositions.size()];
            const int cursor = 1 + static_cast<int>(rng() % text.size());
            const std::string where = "wrap " + std::to_string(wrapWidth) + " round " + std::to_string(round)
                                      + " caret " + std::to_string(caret) + " cursor " + std::to_string(cursor);
            buffer.setSel(caret, caret);
            layout.setPreedit(QString::fromStdU16String(text), {});
            int row = 0;
            qreal x = 0;
            layout.preeditCaret(cursor, &row, &x);
            const int drawnRows = layout.drawnRowCount();
            layout.setPreedit(QString(), {});
            EXPECT_EQ(layout.drawnRowCount(), rowsBefore) << where;

            buffer.replace(caret, caret, text.substr(0, static_cast<size_t>(cursor)));
            const int typedRow = layout.rowOfPos(caret + cursor);
            const qreal typedX = layout.xOfPos(caret + cursor);
            buffer.replace(caret + cursor, caret + cursor, text.substr(static_cast<size_t>(cursor)));
            const int typedRows = layout.rowCount();
            buffer.replace(caret, caret + static_cast<int>(text.size()), u"");

            EXPECT_EQ(row, typedRow) << where;
            EXPECT_NEAR(x, typedX, 0.5) << where;
            EXPECT_EQ(drawnRows, typedRows) << where;
        }
        EXPECT_EQ(layout.rowCount(), rowsBefore);
    }
}
