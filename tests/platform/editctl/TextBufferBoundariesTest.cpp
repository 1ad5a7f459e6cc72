// Where Backspace, Delete, arrows, Ctrl+arrows and double-click stop in a TextBuffer.

#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using platform::TextBuffer;

namespace {

// Every stop that repeated Ctrl+Right (or Ctrl+Left) visits from one end of the text.
std::vector<int> stopsForward(const TextBuffer& buffer)
{
    std::vector<int> stops{0};
    while (stops.back() < buffer.length())
        stops.push_back(buffer.nextWordBoundary(stops.back()));
    return stops;
}

std::vector<int> stopsBackward(const TextBuffer& buffer)
{
    std::vector<int> stops{buffer.length()};
    while (stops.back() > 0)
        stops.push_back(buffer.prevWordBoundary(stops.back()));
    return stops;
}

std::pair<int, int> word(const TextBuffer& buffer, int pos)
{
    int start = -1;
    int end = -1;
    buffer.wordAt(pos, &start, &end);
    return {start, end};
}

using Range = std::pair<int, int>;
using Stops = std::vector<int>;

} // namespace

TEST(TextBufferCharBoundaries, CrLfAndSurrogatePairsMoveAsOne)
{
    TextBuffer buffer;
    // a CR LF U+1F600 (two units) b lone-CR c lone-LF
    buffer.setText(u"a\r\n\U0001F600b\rc\n");
    EXPECT_EQ(buffer.nextCharBoundary(0), 1);
    EXPECT_EQ(buffer.nextCharBoundary(1), 3);  // over CR LF
    EXPECT_EQ(buffer.nextCharBoundary(3), 5);  // over the surrogate pair
    EXPECT_EQ(buffer.nextCharBoundary(5), 6);
    EXPECT_EQ(buffer.nextCharBoundary(6), 7);  // a lone CR is one unit
    EXPECT_EQ(buffer.nextCharBoundary(8), 9);  // and so is a lone LF
    EXPECT_EQ(buffer.nextCharBoundary(9), 9);
    EXPECT_EQ(buffer.nextCharBoundary(50), 9);

    EXPECT_EQ(buffer.prevCharBoundary(9), 8);
    EXPECT_EQ(buffer.prevCharBoundary(7), 6);
    EXPECT_EQ(buffer.prevCharBoundary(5), 3);
    EXPECT_EQ(buffer.prevCharBoundary(3), 1);
    EXPECT_EQ(buffer.prevCharBoundary(1), 0);
    EXPECT_EQ(buffer.prevCharBoundary(0), 0);
    EXPECT_EQ(buffer.prevCharBoundary(-3), 0);
}

TEST(TextBufferCharBoundaries, UnpairedSurrogatesAreSingleUnits)
{
    TextBuffer buffer;
    const char16_t text[] = {0xD83D, u'x', 0xDE00, 0xDE00, 0};
    buffer.setText(text);
    EXPECT_EQ(buffer.nextCharBoundary(0), 1);
    EXPECT_EQ(buffer.nextCharBoundary(2), 3);
    EXPECT_EQ(buffer.prevCharBoundary(4), 3);
    EXPECT_EQ(buffer.prevCharBoundary(3), 2);
}

TEST(TextBufferCharBoundaries, LfCrIsNotAPair)
{
    TextBuffer buffer;
    buffer.setText(u"a\n\rb");
    EXPECT_EQ(buffer.nextCharBoundary(1), 2);
    EXPECT_EQ(buffer.prevCharBoundary(3), 2);
}

TEST(TextBufferCharBoundaries, WhatBackspaceAndDeleteRemove)
{
    // Text "a\r\n😀b" (a pair at 3..5); a selection, whichever way it runs, goes whole.
    struct Case {
        int anchor;
        int caret;
        Range backspace;
        Range del;
    };
    const Case cases[] = {
        {0, 0, {0, 0}, {0, 1}},   // nothing before the start
        {1, 1, {0, 1}, {1, 3}},   // a CR LF is one character
        {3, 3, {1, 3}, {3, 5}},   // and so is a surrogate pair
        {5, 5, {3, 5}, {5, 6}},
        {6, 6, {5, 6}, {6, 6}},   // nothing after the end
        {2, 2, {1, 2}, {2, 3}},   // inside a CR LF: half of it on either side
        {4, 4, {3, 4}, {4, 5}},   // inside a pair likewise
        {1, 4, {1, 4}, {1, 4}},
        {5, 0, {0, 5}, {0, 5}},
    };
    TextBuffer buffer;
    buffer.setText(u"a\r\n\U0001F600b");
    for (const Case& c : cases) {
        buffer.setSel(c.anchor, c.caret);
        Range got;
        buffer.keyDeletionRange(false, &got.first, &got.second);
        EXPECT_EQ(got, c.backspace) << c.anchor << ".." << c.caret;
        buffer.keyDeletionRange(true, &got.first, &got.second);
        EXPECT_EQ(got, c.del) << c.anchor << ".." << c.caret;
    }
}

TEST(TextBufferWordBoundaries, CtrlRightSkipsSpacesAfterWords)
{
    TextBuffer buffer;
    buffer.setText(u"one  two,three\tfour");
    EXPECT_EQ(stopsForward(buffer), (Stops{0, 5, 8, 9, 15, 19}));
    EXPECT_EQ(buffer.nextWordBoundary(1), 5);  // from inside a word
    EXPECT_EQ(buffer.nextWordBoundary(3), 5);  // from inside the spaces
}

TEST(TextBufferWordBoundaries, CtrlLeftGoesToTheStartOfThePreviousWord)
{
    TextBuffer buffer;
    buffer.setText(u"one  two,three\tfour");
    EXPECT_EQ(stopsBackward(buffer), (Stops{19, 15, 9, 8, 5, 0}));
    EXPECT_EQ(buffer.prevWordBoundary(4), 0);  // from inside the spaces
    EXPECT_EQ(buffer.prevWordBoundary(7), 5);  // from inside a word
}

TEST(TextBufferWordBoundaries, CrLfIsAStopOfItsOwn)
{
    TextBuffer buffer;
    buffer.setText(u"ab  \r\n  cd\r\n\r\nef");
    // 0 ab, 4 CR LF, 6 line start (spaces), 8 cd, 10 CR LF, 12 line start and CR LF, 14 ef
    EXPECT_EQ(stopsForward(buffer), (Stops{0, 4, 6, 8, 10, 12, 14, 16}));
    EXPECT_EQ(stopsBackward(buffer), (Stops{16, 14, 12, 10, 8, 6, 4, 0}));
    EXPECT_EQ(buffer.nextWordBoundary(5), 6);  // between CR and LF: the line start
    EXPECT_EQ(buffer.prevWordBoundary(5), 4);
}

TEST(TextBufferWordBoundaries, LoneLineEndCharactersAreOrdinaryStops)
{
    TextBuffer buffer;
    buffer.setText(u"ab\ncd\ref");
    const Stops forward = stopsForward(buffer);
    EXPECT_EQ(forward.front(), 0);
    EXPECT_EQ(forward.back(), 8);
    // Neither the LF nor the CR is crossed without stopping next to it.
    EXPECT_NE(std::find(forward.begin(), forward.end(), 3), forward.end());
    EXPECT_NE(std::find(forward.begin(), forward.end(), 6), forward.end());
}

TEST(TextBufferWordBoundaries, JapaneseIsSegmentedIntoWords)
{
    TextBuffer buffer;
    const std::u16string text = u"\u79c1\u306f\u65e5\u672c\u8a9e\u3092\u8a71\u3057\u307e\u3059";
    buffer.setText(text);  // 私は日本語を話します
    const Stops forward = stopsForward(buffer);
    // The dictionary splits the sentence: more than one stop inside, and 日本語 stays whole.
    EXPECT_GT(forward.size(), 3u);
    EXPECT_NE(std::find(forward.begin(), forward.end(), 2), forward.end());
    EXPECT_NE(std::find(forward.begin(), forward.end(), 5), forward.end());
    EXPECT_EQ(std::find(forward.begin(), forward.end(), 3), forward.end());
    EXPECT_EQ(std::find(forward.begin(), forward.end(), 4), forward.end());
    EXPECT_EQ(word(buffer, 3), Range(2, 5));
    // Backward visits the same stops.
    Stops backward = stopsBackward(buffer);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST(TextBufferWordBoundaries, IdeographicSpaceIsSkippedLikeASpace)
{
    TextBuffer buffer;
    buffer.setText(u"ab\u3000\u3000cd");
    EXPECT_EQ(buffer.nextWordBoundary(0), 4);
    EXPECT_EQ(buffer.prevWordBoundary(4), 0);
}

TEST(TextBufferWordBoundaries, SurrogatePairsStayInsideWords)
{
    TextBuffer buffer;
    buffer.setText(u"x \U00020BB7\U00020BB7 y");  // two CJK Extension B ideographs
    for (int stop : stopsForward(buffer))
        EXPECT_NE(stop, 3) << "stopped inside a surrogate pair";
    for (int stop : stopsBackward(buffer))
        EXPECT_NE(stop, 5) << "stopped inside a surrogate pair";
}

TEST(TextBufferWordBoundaries, LongLinesAreSearchedBeyondTheFirstWindow)
{
    // One word far longer than the window ICU is first given, and a line of 100,000 units
    // without CR LF: the answers must not depend on where the window was cut.
    TextBuffer buffer;
    const std::u16string longWord(5000, u'w');
    std::u16string text = u"start " + longWord + u" end";
    buffer.setText(text);
    EXPECT_EQ(buffer.nextWordBoundary(10), 6 + 5000 + 1);
    EXPECT_EQ(buffer.prevWordBoundary(5000), 6);
    EXPECT_EQ(word(buffer, 2500), Range(6, 5006));

    std::u16string many;
    for (int i = 0; i < 20000; ++i)
        many += u"word\n";  // lone LF: all one line
    buffer.setText(many);
    EXPECT_EQ(buffer.nextWordBoundary(50002), 50004);
    EXPECT_EQ(buffer.prevWordBoundary(50002), 50000);
}

TEST(TextBufferWordBoundaries, EndsOfTheText)
{
    TextBuffer buffer;
    EXPECT_EQ(buffer.nextWordBoundary(0), 0);
    EXPECT_EQ(buffer.prevWordBoundary(0), 0);
    EXPECT_EQ(word(buffer, 0), Range(0, 0));
    buffer.setText(u"  ab");
    EXPECT_EQ(buffer.nextWordBoundary(-4), 2);
    EXPECT_EQ(buffer.nextWordBoundary(99), 4);
    EXPECT_EQ(buffer.prevWordBoundary(99), 2);
    EXPECT_EQ(buffer.prevWordBoundary(2), 0);
}

TEST(TextBufferWordBoundaries, WordAtForDoubleClick)
{
    TextBuffer buffer;
    buffer.setText(u"foo   bar+baz\r\n\r\nqux");
    EXPECT_EQ(word(buffer, 0), Range(0, 3));
    EXPECT_EQ(word(buffer, 2), Range(0, 3));
    EXPECT_EQ(word(buffer, 3), Range(3, 6));  // the run of spaces
    EXPECT_EQ(word(buffer, 9), Range(9, 10));  // a single symbol
    EXPECT_EQ(word(buffer, 13), Range(10, 13));  // at the line end: the word before it
    EXPECT_EQ(word(buffer, 14), Range(10, 13));  // between CR and LF too
    EXPECT_EQ(word(buffer, 15), Range(15, 15));  // an empty line selects nothing
    EXPECT_EQ(word(buffer, 20), Range(17, 20));  // the end of the text
    // A line that ends with a surrogate pair: past its end, the pair's word, never more.
    buffer.setText(u"x\r\n\U0001F600\r\n");
    EXPECT_EQ(word(buffer, 5), Range(3, 5));
    buffer.setText(u"\U0001F600");
    EXPECT_EQ(word(buffer, 2), Range(0, 2));
}

TEST(TextBufferWordBoundaries, AnswersFollowEditsOfTheText)
{
    // The window given to ICU is cached; an edit must not leave stale answers behind.
    TextBuffer buffer;
    buffer.setText(u"alpha beta");
    EXPECT_EQ(buffer.nextWordBoundary(0), 6);
    buffer.replace(2, 2, u" ");
    EXPECT_EQ(buffer.nextWordBoundary(0), 3);
    buffer.replace(0, buffer.length(), u"alphabeta gamma");
    EXPECT_EQ(buffer.nextWordBoundary(0), 10);
}

TEST(TextBufferSentences, SentencesOfALineAndTheirCutOnAVeryLongOne)
{
    TextBuffer buffer;
    buffer.setText(u"吾輩は猫である。名前はまだ無い。\r\nIt rains. Does it? Yes\r\n\r\nlast");
    const auto sentence = [&](int pos) {
        int start = -1;
        int end = -1;
        buffer.sentenceAt(pos, &start, &end);
        return Range(start, end);
    };
    const std::vector<std::pair<int, Range>> cases = {
        {0, {0, 8}},     {7, {0, 8}},     {8, {8, 16}},   // each ends after its "。"
        {16, {8, 16}},   {17, {8, 16}},                   // on the CR LF: the last sentence
        {18, {18, 28}},  {28, {28, 37}},  {38, {37, 40}}, // trailing spaces belong to it
        {42, {42, 42}},                                   // an empty line holds none
        {44, {44, 48}},  {48, {44, 48}},                  // the end of the text
    };
    for (const auto& [pos, range] : cases)
        EXPECT_EQ(sentence(pos), range) << pos;

    // 300,000 units without a sentence end: the answer stops 65,536 units from the position.
    buffer.setText(std::u16string(300000, u'あ'));
    EXPECT_EQ(sentence(150000), Range(150000 - 65536, 150000 + 65536));
    EXPECT_EQ(sentence(10), Range(0, 10 + 65536));
}
