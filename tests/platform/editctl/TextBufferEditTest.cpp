// Edits of TextBuffer: the text, the CR LF line index and the reported changes.

#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using platform::TextBuffer;

namespace {

std::vector<int> lineStarts(const TextBuffer& buffer)
{
    std::vector<int> starts;
    for (int line = 0; line < buffer.lineCount(); ++line)
        starts.push_back(buffer.lineIndex(line));
    return starts;
}

struct Recorder {
    std::vector<TextBuffer::Change> changes;
    void attach(TextBuffer& buffer)
    {
        buffer.addObserver([this](const TextBuffer::Change& c) { changes.push_back(c); });
    }
};

void expectChange(const TextBuffer::Change& c, int start, int removed, int inserted,
                  int linesRemoved, int linesInserted)
{
    EXPECT_EQ(c.start, start);
    EXPECT_EQ(c.removed, removed);
    EXPECT_EQ(c.inserted, inserted);
    EXPECT_EQ(c.linesRemoved, linesRemoved);
    EXPECT_EQ(c.linesInserted, linesInserted);
}

} // namespace

TEST(TextBufferEdit, EmptyBufferHasOneEmptyLine)
{
    TextBuffer buffer;
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_EQ(buffer.text(), u"");
    EXPECT_EQ(buffer.lineCount(), 1);
    EXPECT_EQ(buffer.lineIndex(0), 0);
    EXPECT_EQ(buffer.lineEnd(0), 0);
    EXPECT_EQ(buffer.at(0), 0);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, InsertsAtStartMiddleAndEnd)
{
    TextBuffer buffer;
    buffer.replace(0, 0, u"ace");
    buffer.replace(1, 1, u"b");
    buffer.replace(0, 0, u">");
    buffer.replace(buffer.length(), buffer.length(), u"<");
    buffer.replace(3, 3, u"\u3042");
    EXPECT_EQ(buffer.text(), u">ab\u3042ce<");
    EXPECT_EQ(buffer.at(3), u'\u3042');
    EXPECT_EQ(buffer.at(-1), 0);
    EXPECT_EQ(buffer.at(buffer.length()), 0);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, ReplaceClipsAndOrdersItsRange)
{
    TextBuffer buffer;
    buffer.setText(u"abcdef");
    buffer.replace(4, 1, u"X");  // reversed: [1, 4)
    EXPECT_EQ(buffer.text(), u"aXef");
    buffer.replace(-5, 1, u"");
    EXPECT_EQ(buffer.text(), u"Xef");
    buffer.replace(2, 99, u"!");
    EXPECT_EQ(buffer.text(), u"Xe!");
    buffer.replace(50, 60, u"?");  // both past the end: an append
    EXPECT_EQ(buffer.text(), u"Xe!?");
}

TEST(TextBufferEdit, DeletingEverythingLeavesOneLine)
{
    TextBuffer buffer;
    buffer.setText(u"a\r\nb\r\n");
    ASSERT_EQ(buffer.lineCount(), 3);
    buffer.replace(0, buffer.length(), u"");
    EXPECT_EQ(buffer.length(), 0);
    EXPECT_EQ(buffer.lineCount(), 1);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, TextRangeClipsToTheText)
{
    TextBuffer buffer;
    buffer.setText(u"0123456789");
    buffer.replace(5, 5, u"-");  // the gap now sits in the middle
    EXPECT_EQ(buffer.textRange(3, 5), u"34-56");
    EXPECT_EQ(buffer.textRange(8, 100), u"789");
    EXPECT_EQ(buffer.textRange(-1, 3), u"");
    EXPECT_EQ(buffer.textRange(11, 1), u"");
    EXPECT_EQ(buffer.textRange(2, 0), u"");
    EXPECT_EQ(buffer.textRange(2, -4), u"");
}

TEST(TextBufferEdit, OnlyCrLfBreaksLines)
{
    TextBuffer buffer;
    buffer.setText(u"one\rtwo\nthree\r\nfour\n\rfive");
    // The lone CR, the lone LF and the LF CR pair are ordinary characters.
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 15}));
    EXPECT_EQ(buffer.lineEnd(0), 13);
    EXPECT_EQ(buffer.lineEnd(1), buffer.length());
}

TEST(TextBufferEdit, CrCrLfAndCrLfLfCountOnePairEach)
{
    TextBuffer buffer;
    buffer.setText(u"a\r\r\nb\r\n\nc");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 4, 7}));
}

TEST(TextBufferEdit, InsertingLfAfterCrJoinsAPair)
{
    TextBuffer buffer;
    Recorder recorder;
    buffer.setText(u"ab\rcd");
    recorder.attach(buffer);
    buffer.replace(3, 3, u"\n");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 4}));
    ASSERT_EQ(recorder.changes.size(), 1u);
    expectChange(recorder.changes[0], 3, 0, 1, 0, 1);
}

TEST(TextBufferEdit, InsertingCrBeforeLfJoinsAPair)
{
    TextBuffer buffer;
    buffer.setText(u"ab\ncd");
    buffer.replace(2, 2, u"x\r");
    EXPECT_EQ(buffer.text(), u"abx\r\ncd");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 5}));
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, InsertingBetweenCrAndLfSplitsThePair)
{
    TextBuffer buffer;
    Recorder recorder;
    buffer.setText(u"ab\r\ncd\r\nef");
    recorder.attach(buffer);
    buffer.replace(3, 3, u"X");
    EXPECT_EQ(buffer.text(), u"ab\rX\ncd\r\nef");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 9}));
    ASSERT_EQ(recorder.changes.size(), 1u);
    expectChange(recorder.changes[0], 3, 0, 1, 1, 0);
}

TEST(TextBufferEdit, InsertingLfCrBetweenCrAndLfMakesTwoPairs)
{
    TextBuffer buffer;
    buffer.setText(u"a\r\nb");
    buffer.replace(2, 2, u"\n\r");
    // a CR LF CR LF b: the old pair is split, two new pairs appear.
    EXPECT_EQ(buffer.text(), u"a\r\n\r\nb");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 3, 5}));
}

TEST(TextBufferEdit, DeletingTheUnitBetweenCrAndLfJoinsThem)
{
    TextBuffer buffer;
    Recorder recorder;
    buffer.setText(u"ab\rX\ncd");
    recorder.attach(buffer);
    buffer.replace(3, 4, u"");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 4}));
    expectChange(recorder.changes.at(0), 3, 1, 0, 0, 1);
}

TEST(TextBufferEdit, DeletingHalfAPairBreaksTheLine)
{
    TextBuffer buffer;
    buffer.setText(u"ab\r\ncd");
    buffer.replace(3, 4, u"");  // the LF
    EXPECT_EQ(buffer.lineCount(), 1);
    buffer.setText(u"ab\r\ncd");
    buffer.replace(2, 3, u"");  // the CR
    EXPECT_EQ(buffer.lineCount(), 1);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, ReplacingAcrossLinesMovesTheLinesBehind)
{
    TextBuffer buffer;
    Recorder recorder;
    buffer.setText(u"l0\r\nl1\r\nl2\r\nl3\r\nl4");
    recorder.attach(buffer);
    buffer.replace(3, 9, u"\r\nX\r\nY\r\nZ");  // from inside line 0's pair into line 2
    EXPECT_EQ(buffer.text(), u"l0\r\r\nX\r\nY\r\nZ2\r\nl3\r\nl4");
    EXPECT_EQ(lineStarts(buffer), (std::vector<int>{0, 5, 8, 11, 15, 19}));
    expectChange(recorder.changes.at(0), 3, 6, 9, 2, 3);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, ScatteredEditsKeepLineStartsExact)
{
    // Edits that jump back and forth exercise the pending shift in both directions.
    TextBuffer buffer;
    std::u16string model;
    for (int i = 0; i < 200; ++i)
        model += u"line\r\n";
    buffer.setText(model);
    const int places[] = {600, 30, 900, 12, 1150, 6, 599, 601};
    for (int place : places) {
        buffer.replace(place, place, u"xy");
        model.insert(place, u"xy");
        ASSERT_TRUE(buffer.checkInvariant()) << place;
    }
    buffer.replace(100, 700, u"\r\n");
    model.replace(100, 600, u"\r\n");
    EXPECT_EQ(buffer.text(), model);
    EXPECT_TRUE(buffer.checkInvariant());
}

TEST(TextBufferEdit, SetTextReportsOneChangeAndResetsTheSelection)
{
    TextBuffer buffer;
    buffer.setText(u"a\r\nbc");
    buffer.setSel(1, 4);
    Recorder recorder;
    recorder.attach(buffer);
    const auto before = buffer.revision();
    buffer.setText(u"x\r\ny\r\nz");
    ASSERT_EQ(recorder.changes.size(), 1u);
    expectChange(recorder.changes[0], 0, 5, 7, 1, 2);
    EXPECT_GT(buffer.revision(), before);
    EXPECT_EQ(buffer.anchor(), 0);
    EXPECT_EQ(buffer.caret(), 0);
}

TEST(TextBufferEdit, EmptyReplaceChangesNothing)
{
    TextBuffer buffer;
    buffer.setText(u"abc");
    Recorder recorder;
    recorder.attach(buffer);
    const auto before = buffer.revision();
    buffer.replace(2, 2, u"");
    EXPECT_TRUE(recorder.changes.empty());
    EXPECT_EQ(buffer.revision(), before);
    buffer.replace(1, 2, u"b");  // same text, but still an edit
    EXPECT_EQ(recorder.changes.size(), 1u);
    EXPECT_EQ(buffer.revision(), before + 1);
}

TEST(TextBufferEdit, ObserversCanBeRemovedEvenWhileNotified)
{
    TextBuffer buffer;
    int first = 0;
    int second = 0;
    int firstId = 0;
    firstId = buffer.addObserver([&](const TextBuffer::Change&) {
        ++first;
        buffer.removeObserver(firstId);  // removes itself while it runs
    });
    const int secondId = buffer.addObserver([&](const TextBuffer::Change&) { ++second; });
    buffer.replace(0, 0, u"a");
    buffer.replace(0, 0, u"b");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    buffer.removeObserver(secondId);
    buffer.removeObserver(12345);  // unknown ids are ignored
    buffer.replace(0, 0, u"c");
    EXPECT_EQ(second, 2);
}

TEST(TextBufferEdit, ObserverSeesTheTextAfterTheEdit)
{
    TextBuffer buffer;
    buffer.setText(u"abc");
    std::u16string seen;
    int lines = 0;
    buffer.addObserver([&](const TextBuffer::Change&) {
        seen = buffer.text();
        lines = buffer.lineCount();
    });
    buffer.replace(1, 2, u"\r\n");
    EXPECT_EQ(seen, u"a\r\nc");
    EXPECT_EQ(lines, 2);
}

TEST(TextBufferEdit, MemoryStaysWithinFourTimesTheText)
{
    // Worst case for the line index: nothing but line ends, one line start per two units.
    TextBuffer buffer;
    std::u16string lineEnds;
    for (int i = 0; i < 200000; ++i)
        lineEnds += u"\r\n";
    buffer.setText(lineEnds);
    const auto textBytes = [&] { return 2 * static_cast<std::size_t>(buffer.length()); };
    EXPECT_LE(buffer.memoryBytes(), 4 * textBytes());

    // Line ends typed one by one grow both the text and the index.
    for (int i = 0; i < 50000; ++i)
        buffer.replace(1000 + 2 * i, 1000 + 2 * i, u"\r\n");
    EXPECT_LE(buffer.memoryBytes(), 4 * textBytes());

    // Removing most of it gives the memory back.
    buffer.replace(100, buffer.length() - 100000, u"");
    EXPECT_TRUE(buffer.checkInvariant());
    EXPECT_LE(buffer.memoryBytes(), 4 * textBytes());

    // A word search over one long line does not keep a copy of that line.
    buffer.setText(std::u16string(300000, u'w'));
    int start = 0;
    int end = 0;
    buffer.wordAt(150000, &start, &end);
    EXPECT_EQ(end - start, 300000);
    EXPECT_LE(buffer.memoryBytes(), 4 * textBytes());
    EXPECT_EQ(buffer.nextWordBoundary(5), 300000);
}
