// Pieces of an unwrapped long line, shaped one by one, stand where the line shaped at once
// puts its text.
#include "../EditControlTestSupport.h"

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <QTextLayout>
#include <QTextOption>

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(LongLinePieces, TabsInPiecesStopOnTheLineGrid)
{
    // Words and tabs at random; among these texts some put a tab a hair short of a stop.
    for (unsigned seed = 20; seed < 36; ++seed) {
        std::mt19937 rng(seed);
        std::u16string text;
        while (text.size() < 6000) {
            const int word = 1 + static_cast<int>(rng() % 40);
            text += std::u16string(static_cast<size_t>(word), static_cast<char16_t>(u'a' + rng() % 26));
            text += rng() % 3 == 0 ? u"\t\t" : rng() % 2 ? u"\t" : u" ";
        }
        platform::TextBuffer buffer;
        buffer.setText(text);
        platform::EditLayout layout(buffer);
        const QFont font = quillet_test::testFont();
        layout.setFont(font);
        layout.setTabStopDistance(37);

        QTextLayout whole(QString::fromStdU16String(text), font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabStopDistance(37);
        whole.setTextOption(option);
        whole.beginLayout();
        QTextLine line = whole.createLine();
        line.setLineWidth(1.0e6);
        whole.endLayout();

        for (int pos = 0; pos <= static_cast<int>(text.size()); pos += 1 + static_cast<int>(rng() % 9)) {
            const qreal x = layout.xOfPos(pos);
            ASSERT_NEAR(x, line.cursorToX(pos), 0.5) << "seed " << seed << " pos " << pos;
            EXPECT_EQ(layout.posAtX(0, x), pos) << "seed " << seed << " pos " << pos;
        }
    }
}

// Text that only shaping measures right: marks drawn from a fallback font with their base,
// words of joining scripts, emoji sequences. An unwrapped line's end stands where the line
// shaped at once puts it before any piece is shaped, and wrapped rows break where Qt breaks
