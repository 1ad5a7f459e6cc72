#include "view/CaretPosition.h"

#include <gtest/gtest.h>

using view::CaretMemory;
using view::CaretPosition;
using view::formatPositionPane;
using view::inferCaret;

TEST(CaretInference, TheFirstLookTakesTheSelectionsEnd)
{
    CaretMemory memory;
    EXPECT_EQ(inferCaret(0, 0, memory), 0);
    CaretMemory other;
    EXPECT_EQ(inferCaret(3, 9, other), 9);
    EXPECT_EQ(other.caretAtEnd, 1);
    EXPECT_EQ(other.prevSelStart, 3);
    EXPECT_EQ(other.prevSelEnd, 9);
}

TEST(CaretInference, ShiftLeftShowsTheStartAndShiftRightTheEnd)
{
    CaretMemory memory;
    inferCaret(5, 5, memory);
    EXPECT_EQ(inferCaret(4, 5, memory), 4);  // Shift+Left
    EXPECT_EQ(inferCaret(3, 5, memory), 3);  // Shift+Left again
    EXPECT_EQ(inferCaret(4, 5, memory), 4);  // Shift+Right shrinks from the start

    CaretMemory right;
    inferCaret(5, 5, right);
    EXPECT_EQ(inferCaret(5, 6, right), 6);
    EXPECT_EQ(inferCaret(5, 7, right), 7);
}

TEST(CaretInference, NothingMovedKeepsThePreviousDecision)
{
    CaretMemory memory;
    inferCaret(5, 5, memory);
    inferCaret(2, 5, memory);                // caret went to the start
    EXPECT_EQ(inferCaret(2, 5, memory), 2);  // idle again, nothing moved
    inferCaret(2, 8, memory);                // now the end moved
    EXPECT_EQ(inferCaret(2, 8, memory), 8);
}

TEST(CaretInference, ExtendingPastTheAnchorSwitchesEnds)
{
    CaretMemory memory;
    inferCaret(10, 10, memory);
    EXPECT_EQ(inferCaret(10, 30, memory), 30);  // Shift+Down
    EXPECT_EQ(inferCaret(10, 50, memory), 50);  // Shift+Down
    EXPECT_EQ(inferCaret(10, 30, memory), 30);  // Shift+Up: still below the anchor
    // Shift+Up across the anchor: (10, 30) becomes (5, 10); the new end is the old start,
    // so the caret is now the start.
    EXPECT_EQ(inferCaret(5, 10, memory), 5);
    EXPECT_EQ(memory.caretAtEnd, 0);
    EXPECT_EQ(inferCaret(2, 10, memory), 2);
}

TEST(CaretInference, SelectAllAndClicksShowWhereTheCaretLands)
{
    CaretMemory memory;
    inferCaret(3, 3, memory);
    EXPECT_EQ(inferCaret(0, 100, memory), 100);  // select all from the middle
    EXPECT_EQ(inferCaret(40, 40, memory), 40);   // a click collapses the selection

    CaretMemory fromStart;
    inferCaret(0, 0, fromStart);
    EXPECT_EQ(inferCaret(0, 100, fromStart), 100);  // select all from the start
    EXPECT_EQ(inferCaret(0, 0, fromStart), 0);      // Ctrl+Home
}

TEST(PositionPaneText, EmptyTextReading)
{
    EXPECT_EQ(formatPositionPane(CaretPosition{1, 1, 1, 0}), u" 1 行、1 列、行数 1、U+0000");
}

TEST(PositionPaneText, CodesAreFourUpperCaseHexDigitsAndNumbersAreNotPadded)
{
    EXPECT_EQ(formatPositionPane(CaretPosition{12, 3, 456, u'\r'}), u" 12 行、3 列、行数 456、U+000D");
    EXPECT_EQ(formatPositionPane(CaretPosition{1, 1, 1, 0xD842}), u" 1 行、1 列、行数 1、U+D842");
    EXPECT_EQ(formatPositionPane(CaretPosition{1, 1, 1, 0xfeff}), u" 1 行、1 列、行数 1、U+FEFF");
    // The largest text gives seven-digit numbers.
    EXPECT_EQ(formatPositionPane(CaretPosition{524288, 1048575, 524288, u'a'}),
              u" 524288 行、1048575 列、行数 524288、U+0061");
}
