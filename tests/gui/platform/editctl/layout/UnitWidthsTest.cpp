// The widths a long line is counted with before it is shaped: pieces end, and rows break,
// where the line shaped at once puts them.
#include "../LongLineText.h"

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <QTextLayout>
#include <QTextOption>

#include <gtest/gtest.h>

#include <string>

using quillet_test::cjkFont;

TEST(UnitWidths, ShapedWidthsOfClustersAndJoiningWordsCountBeforeShaping)
{
    const std::u16string words[] = {
        u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E ",   // Devanagari
        u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 ",   // Arabic
        u"Tie\u0302\u0301ng Vie\u0323\u0302t co\u0301 da\u0302\u0301u ",                          // decomposed marks
        u"\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F44D\U0001F3FD ok ",                   // emoji sequences
    };
    for (const std::u16string& word : words) {
        // Long enough to be laid out in pieces, short enough for Qt to shape in one item.
        std::u16string text;
        while (text.size() < 3000)
            text += word;
        const QString shown = QString::fromStdU16String(text);
        SCOPED_TRACE(&word - words);
        platform::TextBuffer buffer;
        buffer.setText(text);
        for (int wrapWidth : {0, 331}) {
            QTextLayout whole(shown, cjkFont());
            QTextOption option;
            option.setWrapMode(wrapWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
            option.setTextDirection(Qt::LeftToRight);
            whole.setTextOption(option);
            whole.beginLayout();
            for (QTextLine line = whole.createLine(); line.isValid(); line = whole.createLine())
                line.setLineWidth(wrapWidth > 0 ? wrapWidth : 1.0e7);
            whole.endLayout();

            platform::EditLayout layout(buffer);
            layout.setFont(cjkFont());
            layout.setWrapWidth(wrapWidth);
            if (wrapWidth == 0) {
                EXPECT_NEAR(layout.xOfPos(buffer.length()), whole.lineAt(0).naturalTextWidth(), 0.5);
                continue;
            }
            ASSERT_EQ(layout.rowCount(), whole.lineCount());
            for (int row = 0; row < whole.lineCount(); ++row)
                ASSERT_EQ(layout.rowStart(row), whole.lineAt(row).textStart()) << row;
        }
    }
}

