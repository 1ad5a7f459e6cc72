// Selection and line queries of TextBuffer with the edit control's conventions.

#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

using platform::TextBuffer;

namespace {

std::pair<int, int> sel(const TextBuffer& buffer)
{
    int start = -9;
    int end = -9;
    buffer.getSel(&start, &end);
    return {start, end};
}

using Range = std::pair<int, int>;

} // namespace

TEST(TextBufferSelection, SetSelConventions)
{
    TextBuffer buffer;
    buffer.setText(u"hello world");

    buffer.setSel(0, -1);  // everything
    EXPECT_EQ(sel(buffer), Range(0, 11));
    EXPECT_EQ(buffer.caret(), 11);

    buffer.setSel(8, 3);  // backwards: anchor 8, caret 3
    EXPECT_EQ(sel(buffer), Range(3, 8));
    EXPECT_EQ(buffer.anchor(), 8);
    EXPECT_EQ(buffer.caret(), 3);

    buffer.setSel(-1, 5);  // deselect; the caret stays where it was
    EXPECT_EQ(sel(buffer), Range(3, 3));
    EXPECT_EQ(buffer.anchor(), 3);

    buffer.setSel(4, 100);  // clipped
    EXPECT_EQ(sel(buffer), Range(4, 11));
    buffer.setSel(-7, 2);
    EXPECT_EQ(sel(buffer), Range(0, 2));
    buffer.setSel(6, -3);  // a negative end other than with 0 is clipped too
    EXPECT_EQ(sel(buffer), Range(0, 6));
    EXPECT_EQ(buffer.caret(), 0);
}

TEST(TextBufferSelection, GetSelAcceptsNullPointers)
{
    TextBuffer buffer;
    buffer.setText(u"abc");
    buffer.setSel(2, 1);
    int end = 0;
    buffer.getSel(nullptr, &end);
    EXPECT_EQ(end, 2);
}

TEST(TextBufferSelection, ReplaceSelLeavesCaretAfterTheText)
{
    TextBuffer buffer;
    buffer.setText(u"abcdef");
    buffer.setSel(4, 1);
    buffer.replaceSel(u"XYZW");
    EXPECT_EQ(buffer.text(), u"aXYZWef");
    EXPECT_EQ(sel(buffer), Range(5, 5));

    buffer.replaceSel(u"");  // empty selection and text: nothing
    EXPECT_EQ(buffer.text(), u"aXYZWef");
    buffer.replaceSel(u"\r\n");
    EXPECT_EQ(buffer.text(), u"aXYZW\r\nef");
    EXPECT_EQ(buffer.caret(), 7);
    EXPECT_EQ(buffer.lineFromChar(-1), 1);
}

TEST(TextBufferSelection, ClearSelAndSelectedText)
{
    TextBuffer buffer;
    buffer.setText(u"one two");
    buffer.setSel(7, 3);
    EXPECT_EQ(buffer.selectedText(), u" two");
    const auto revision = buffer.revision();
    buffer.clearSel();
    EXPECT_EQ(buffer.text(), u"one");
    EXPECT_EQ(sel(buffer), Range(3, 3));
    EXPECT_GT(buffer.revision(), revision);

    const auto after = buffer.revision();
    buffer.clearSel();  // empty: no edit at all
    EXPECT_EQ(buffer.revision(), after);
    EXPECT_EQ(buffer.selectedText(), u"");
}

TEST(TextBufferSelection, EditsElsewhereMoveTheSelection)
{
    TextBuffer buffer;
    buffer.setText(u"0123456789");
    buffer.setSel(6, 4);
    buffer.replace(1, 3, u"");  // before: shifts both ends
    EXPECT_EQ(buffer.anchor(), 4);
    EXPECT_EQ(buffer.caret(), 2);
    buffer.replace(8, 8, u"zz");  // after: untouched
    EXPECT_EQ(buffer.anchor(), 4);
    EXPECT_EQ(buffer.caret(), 2);
    buffer.replace(2, 2, u"i");  // at the caret: the caret stays in front
    EXPECT_EQ(buffer.caret(), 2);
    EXPECT_EQ(buffer.anchor(), 5);
}

TEST(TextBufferSelection, OverlappingEditCollapsesToItsEdges)
{
    TextBuffer buffer;
    buffer.setText(u"0123456789");
    buffer.setSel(2, 6);
    buffer.replace(4, 8, u"ab");  // caret inside the removed range: after the new text
    EXPECT_EQ(buffer.anchor(), 2);
    EXPECT_EQ(buffer.caret(), 6);

    buffer.setSel(3, 5);
    buffer.replace(3, 5, u"XYZ");  // exactly the selection: it covers the new text
    EXPECT_EQ(sel(buffer), Range(3, 6));

    buffer.setSel(4, 5);
    buffer.replace(2, 7, u"");  // inside a deletion: both at its start
    EXPECT_EQ(sel(buffer), Range(2, 2));
}

TEST(TextBufferLines, LineIndexConventions)
{
    TextBuffer buffer;
    buffer.setText(u"ab\r\ncde\r\n\r\nf");
    EXPECT_EQ(buffer.lineCount(), 4);
    EXPECT_EQ(buffer.lineIndex(0), 0);
    EXPECT_EQ(buffer.lineIndex(1), 4);
    EXPECT_EQ(buffer.lineIndex(2), 9);
    EXPECT_EQ(buffer.lineIndex(3), 11);
    EXPECT_EQ(buffer.lineIndex(4), -1);
    EXPECT_EQ(buffer.lineIndex(-2), -1);

    buffer.setSel(10, 5);  // caret on line 1, anchor on line 2
    EXPECT_EQ(buffer.lineIndex(-1), 4);
    buffer.setSel(5, 10);
    EXPECT_EQ(buffer.lineIndex(-1), 9);
}

TEST(TextBufferLines, DeleteToLineEndUsesNextLineStartMinusTwo)
{
    // Ctrl+Delete selects up to lineIndex(l + 1) - 2: that must be just before the CR LF.
    TextBuffer buffer;
    buffer.setText(u"alpha\r\nbeta\r\ngamma");
    for (int line = 0; line + 1 < buffer.lineCount(); ++line) {
        const int end = buffer.lineIndex(line + 1) - 2;
        EXPECT_EQ(buffer.at(end), u'\r');
        EXPECT_EQ(end, buffer.lineEnd(line));
    }
    EXPECT_EQ(buffer.lineEnd(2), buffer.length());
    EXPECT_EQ(buffer.lineEnd(3), -1);
    EXPECT_EQ(buffer.lineEnd(-1), -1);
}

TEST(TextBufferLines, LineFromCharConventions)
{
    TextBuffer buffer;
    buffer.setText(u"ab\r\ncd\r\nef");
    EXPECT_EQ(buffer.lineFromChar(0), 0);
    EXPECT_EQ(buffer.lineFromChar(2), 0);  // the CR
    EXPECT_EQ(buffer.lineFromChar(3), 0);  // the LF
    EXPECT_EQ(buffer.lineFromChar(4), 1);
    EXPECT_EQ(buffer.lineFromChar(10), 2);  // the end of the text
    EXPECT_EQ(buffer.lineFromChar(500), 2);
    EXPECT_EQ(buffer.lineFromChar(-5), 0);

    buffer.setSel(9, 5);  // anchor on line 2, caret and selection start on line 1
    EXPECT_EQ(buffer.lineFromChar(-1), 1);
    buffer.setSel(1, 9);
    EXPECT_EQ(buffer.lineFromChar(-1), 0);
}

TEST(TextBufferLines, LineLengthOfAPosition)
{
    TextBuffer buffer;
    buffer.setText(u"abc\r\n\r\nx\ry\r\n");
    EXPECT_EQ(buffer.lineLength(0), 3);
    EXPECT_EQ(buffer.lineLength(3), 3);  // the CR of the first pair
    EXPECT_EQ(buffer.lineLength(4), 3);  // its LF
    EXPECT_EQ(buffer.lineLength(5), 0);
    EXPECT_EQ(buffer.lineLength(7), 3);  // the lone CR counts
    EXPECT_EQ(buffer.lineLength(12), 0);  // the empty last line
    EXPECT_EQ(buffer.lineLength(99), 0);
}

TEST(TextBufferLines, LineLengthOfTheSelectionCountsUnselectedUnits)
{
    TextBuffer buffer;
    buffer.setText(u"0123456789\r\nabcdefghij\r\nKLM");
    buffer.setSel(3, 15);  // from unit 3 of line 0 to unit 3 of line 1
    EXPECT_EQ(buffer.lineLength(-1), 3 + 7);
    buffer.setSel(5, 5);  // empty: the whole line
    EXPECT_EQ(buffer.lineLength(-1), 10);
    buffer.setSel(2, 4);  // within one line
    EXPECT_EQ(buffer.lineLength(-1), 8);
    buffer.setSel(0, -1);
    EXPECT_EQ(buffer.lineLength(-1), 0);
    buffer.setSel(4, 11);  // ends between CR and LF: nothing left after it
    EXPECT_EQ(buffer.lineLength(-1), 4);
}

TEST(TextBufferLines, LineEndOfEachLine)
{
    TextBuffer buffer;
    buffer.setText(u"\r\n\r\n");
    EXPECT_EQ(buffer.lineCount(), 3);
    EXPECT_EQ(buffer.lineEnd(0), 0);
    EXPECT_EQ(buffer.lineEnd(1), 2);
    EXPECT_EQ(buffer.lineEnd(2), 4);
    EXPECT_EQ(buffer.lineIndex(2), 4);
}
