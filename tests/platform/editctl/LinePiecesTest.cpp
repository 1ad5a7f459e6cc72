// Cuts of long lines into pieces, and line-break opportunities of wrapped rows.
#include "platform/editctl/LinePieces.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace platform::pieces;

bool splitsPair(const std::u16string& text, size_t at)
{
    return at > 0 && at < text.size() && (text[at - 1] & 0xFC00) == 0xD800 && (text[at] & 0xFC00) == 0xDC00;
}

std::u16string randomText(std::mt19937& rng, const std::vector<std::u16string>& pieces, size_t length)
{
    std::u16string text;
    while (text.size() < length)
        text += pieces[rng() % pieces.size()];
    return text;
}

} // namespace

// Every kind of text is cut into pieces of bounded length that cover it; a cut is preferred
// (after white space or a box, between CJK) whenever one lies in reach, safe whenever a safe
// one does, and never splits a surrogate pair even where it is forced.
TEST(LinePieces, CutsAreBoundedAndAsSafeAsTheTextAllows)
{
    std::mt19937 rng(20261208u);
    const std::vector<std::vector<std::u16string>> alphabets = {
        {u"吾輩は", u"猫である。", u"名前", u"\n", u"ＵＴＦ", u"「東京」"},                 // Japanese with LFs
        {u"word ", u"longerword", u"\t", u"x"},                                          // Latin with tabs
        {u"e\u0301", u"\u0301\u0301\u0301", u"\U0001F600", u"\U0001F469\u200D\U0001F4BB"},// marks, pairs, ZWJ
        {u"\u0645\u0631\u062D\u0628\u0627", u" ", u"abc"},                                // Arabic and Latin
        {u"\u0301"},                                                                       // marks only
        {u"\U0001F600"},                                                                   // pairs only
        {u"\u1100\u1161\u11A8"},                                                           // Hangul jamo
        {u"a"},                                                                            // one endless word
    };
    for (size_t kind = 0; kind < alphabets.size(); ++kind) {
        const std::u16string text = u"x" + randomText(rng, alphabets[kind], 20000);
        std::vector<int> starts;
        splitIntoPieces(text, 0, text.size(), starts);
        ASSERT_FALSE(starts.empty());
        ASSERT_EQ(starts.front(), 0);
        for (size_t i = 0; i < starts.size(); ++i) {
            const size_t start = static_cast<size_t>(starts[i]);
            const size_t end = i + 1 < starts.size() ? static_cast<size_t>(starts[i + 1]) : text.size();
            ASSERT_LE(end - start, static_cast<size_t>(kPieceMax)) << "kind " << kind;
            if (i + 1 == starts.size())
                break;
            ASSERT_GE(end - start, static_cast<size_t>(kPieceMin) - 1) << "kind " << kind;
            EXPECT_FALSE(splitsPair(text, end)) << "kind " << kind << " cut " << end;
            bool preferredInReach = false;
            bool safeInReach = false;
            for (size_t at = start + kPieceMin; at <= start + kPieceMax; ++at) {
                preferredInReach |= isPreferredCut(text, at);
                safeInReach |= isSafeCut(text, at);
            }
            if (preferredInReach) {
                EXPECT_TRUE(isPreferredCut(text, end)) << "kind " << kind << " cut " << end;
            } else if (safeInReach) {
                EXPECT_TRUE(isSafeCut(text, end)) << "kind " << kind << " cut " << end;
            }
        }
    }

    // Cuts never depend on the text outside the range: the edges of a range stay.
    const std::u16string text = randomText(rng, alphabets[0], 5000);
    std::vector<int> starts;
    splitIntoPieces(text, 1000, 3000, starts);
    EXPECT_EQ(starts.front(), 1000);
    EXPECT_LT(starts.back(), 3000);
    EXPECT_GT(starts.back(), 3000 - kPieceMax - 1);
}

TEST(LinePieces, RowsBreakAtOpportunitiesAndKeepKinsoku)
{
    struct Case {
        std::u16string text;
        size_t at;
        bool expected;
    };
    const Case cases[] = {
        {u"ab cd", 3, true},        // after a space
        {u"ab cd", 2, false},       // never before a space: it hangs
        {u"abcd", 2, false},        // inside a word
        {u"日本", 1, true},         // between ideographs
        {u"本。", 1, false},        // not before a closing mark
        {u"「本", 1, false},        // not after an opening bracket
        {u"本ッ", 1, false},        // not before a small kana
        {u"a\nb", 2, true},         // after a box
        {u"e\u0301x", 1, false},    // inside a cluster
        {u"\U0001F600", 1, false},  // inside a pair
    };
    for (const Case& c : cases)
        EXPECT_EQ(canBreakBefore(c.text, c.at), c.expected) << "at " << c.at;
}
