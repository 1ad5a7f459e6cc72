// The find engine: which pieces of text a search string matches, with and without match
// case, in the root order and under the Japanese and Czech tailorings; and the prefiltered
// search against a plain scan that asks the collator at every position.
#include "edit/FindMatcher.h"

#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

using edit::FindInBuffer;
using edit::FindMatcher;

namespace {

struct NamedCase {
    const char* name;
    std::u16string_view find;
    std::u16string_view text;
    int withCase;     // where a downward search from 0 finds it with match case on
    int withoutCase;  // and off
};

// Whatever the locale, case and only case is ignored without match case.
const NamedCase kNamedCases[] = {
    {"LATIN SMALL A finds CAPITAL A only without case", u"a", u"xA", -1, 1},
    {"CAPITAL WORD finds small word without case", u"WORD", u"a word", -1, 2},
    {"FULLWIDTH A B never finds ASCII A B", u"ＡＢ", u"AB", -1, -1},
    {"FULLWIDTH SMALL A finds FULLWIDTH CAPITAL A", u"ａ", u"Ａ", -1, 0},
    {"HIRAGANA A never finds KATAKANA A", u"あ", u"ア", -1, -1},
    {"HALFWIDTH KATAKANA A never finds KATAKANA A", u"ｱ", u"ア", -1, -1},
    {"HIRAGANA KA finds itself", u"か", u"アか", 1, 1},
    {"e never finds e WITH ACUTE", u"e", u"é", -1, -1},
    {"CAPITAL E WITH ACUTE finds small e with acute", u"É", u"é", -1, 0},
    {"e finds the e in front of COMBINING ACUTE (exactly one unit)", u"e", u"e\u0301", 0, 0},
    {"precomposed e WITH ACUTE never finds e COMBINING ACUTE", u"é", u"e\u0301", -1, -1},
    {"SHARP S finds CAPITAL SHARP S (both fold to ss)", u"ß", u"ẞ", -1, 0},
    {"ss never finds SHARP S (a candidate is two units)", u"ss", u"ßx", -1, -1},
    {"CAPITAL SIGMA finds FINAL SIGMA", u"Σ", u"ς", -1, 0},
    {"i never finds CAPITAL I WITH DOT ABOVE", u"i", u"İ", -1, -1},
    {"DESERET CAPITAL LONG I finds its small letter", u"\U00010400", u"\U00010428", -1, 0},
    {"CR LF finds the line end", u"\r\n", u"a\r\nb", 1, 1},
    {"an unpaired lead surrogate finds the first half of a pair", u"\xD801", u"x\U00010400", 1, 1},
    {"a string longer than the text finds nothing", u"abc", u"ab", -1, -1},
};

TEST(FindMatcher, NamedCharactersInTheRootAndJapaneseOrders)
{
    for (const char* locale : {"", "ja", "en_US"}) {
        for (const NamedCase& c : kNamedCases) {
            SCOPED_TRACE(testing::Message() << c.name << " in locale '" << locale << "'");
            platform::TextBuffer text;
            text.setText(c.text);
            EXPECT_EQ(FindInBuffer(text, FindMatcher(c.find, true, locale), 0, 0, true), c.withCase);
            EXPECT_EQ(FindInBuffer(text, FindMatcher(c.find, false, locale), 0, 0, true), c.withoutCase);
        }
    }
    // The locale's contractions: Czech "ch" is one letter, still found without case.
    platform::TextBuffer text;
    text.setText(u"xCH");
    EXPECT_EQ(FindInBuffer(text, FindMatcher(u"ch", false, "cs"), 0, 0, true), 1);
    EXPECT_EQ(FindInBuffer(text, FindMatcher(u"ch", true, "cs"), 0, 0, true), -1);
    // With canonical reordering (Vietnamese) TIBETAN VOWEL SIGN I before AA is the same as
    // AA before I, although the candidate starts with another character.
    text.setText(u"x\u0F72\u0F71");
    EXPECT_EQ(FindInBuffer(text, FindMatcher(u"\u0F71\u0F72", true, "vi"), 0, 0, true), 1);
}

TEST(FindMatcher, StartsOverlapsAndNoWrapAround)
{
    platform::TextBuffer text;
    text.setText(u"aaaa");
    const FindMatcher aa(u"aa", true, "");
    // Downward from the caret; a selection that is a match is skipped by one unit only.
    EXPECT_EQ(FindInBuffer(text, aa, 0, 0, true), 0);
    EXPECT_EQ(FindInBuffer(text, aa, 0, 2, true), 1);
    EXPECT_EQ(FindInBuffer(text, aa, 1, 3, true), 2);
    EXPECT_EQ(FindInBuffer(text, aa, 2, 4, true), -1);
    // A selection that is no match is searched from its start.
    EXPECT_EQ(FindInBuffer(text, aa, 1, 2, true), 1);
    // Upward from the selection's start less one, moved back to where the string fits.
    EXPECT_EQ(FindInBuffer(text, aa, 4, 4, false), 2);
    EXPECT_EQ(FindInBuffer(text, aa, 2, 4, false), 1);
    EXPECT_EQ(FindInBuffer(text, aa, 0, 2, false), -1);
    // No wrap-around in either direction.
    text.setText(u"ab--");
    const FindMatcher ab(u"ab", true, "");
    EXPECT_EQ(FindInBuffer(text, ab, 1, 1, true), -1);
    EXPECT_EQ(FindInBuffer(text, ab, 1, 1, false), 0);
    EXPECT_EQ(FindInBuffer(text, FindMatcher(u"", true, ""), 0, 0, true), -1);
}

// ---- the prefiltered search against the plain scan ---------------------------------------

// Pieces chosen to defeat a careless prefilter: case pairs, characters that fold to several
// units, combining marks that reorder, contractions of the Czech and Japanese orders,
// ignorable characters, surrogates whole and alone, kana and width variants, Tibetan vowel
// signs that canonical ordering swaps although they carry primary weights.
const std::u16string_view kPieces[] = {
    u"a", u"A", u"b", u"s", u"S", u"ß", u"ẞ", u"σ", u"Σ", u"ς", u"é", u"É", u"e", u"\u0301",
    u"\u0323", u"\u0308", u"İ", u"ı", u"i", u"I", u"ﬁ", u"f", u"ŉ", u"ǰ", u"ΐ", u"か", u"カ",
    u"ｶ", u"ﾞ", u"ー", u"ゝ", u"Ａ", u"ａ", u"\u0001", u"\u200B", u"\r", u"\n", u"c", u"h",
    u"C", u"H", u"l", u"·", u"\U00010400", u"\U00010428", u"\xD801", u"\xDC28", u" ", u"漢",
    u"ch", u"\r\n", u"\u0F71", u"\u0F72", u"\u0F73",
};

// The search as defined, with the collator asked at every position.
int plainFind(const std::u16string& text, const FindMatcher& m, int s, int e, bool bNext)
{
    const int len = static_cast<int>(text.size());
    const int flen = m.length();
    const auto at = [&](int p) { return m.equals(std::u16string_view(text).substr(size_t(p), size_t(flen))); };
    if (flen == 0 || (!bNext && s == 0))
        return -1;
    int n = bNext ? s : s - 1;
    if (bNext && s != e && e - s == flen && at(s))
        n = s + 1;
    if (n + flen - 1 >= len) {
        if (bNext || len < flen)
            return -1;
        n = len - flen;
    }
    if (bNext) {
        for (int p = n; p <= len - flen; ++p)
            if (at(p))
                return p;
    } else {
        for (int p = n; p >= 0; --p)
            if (at(p))
                return p;
    }
    return -1;
}

TEST(FindMatcher, PrefilteredSearchFindsWhatThePlainScanFinds)
{
    std::mt19937 rng(12);
    const auto pick = [&rng](size_t n) { return static_cast<int>(rng() % n); };
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        // Mostly short texts; some long enough to cross the search's reading windows.
        const int pieces = round % 10 == 0 ? 200 + pick(400) : pick(30);
        for (int i = 0; i < pieces; ++i)
            text += kPieces[pick(std::size(kPieces))];
        std::u16string find;
        if (!text.empty() && pick(2) == 0) {
            // A piece of the text, often with its case changed, so that matches occur.
            const int at = pick(text.size());
            find = text.substr(size_t(at), size_t(1 + pick(4)));
            if (pick(2) == 0)
                for (char16_t& c : find)
                    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
                        c ^= 0x20;
        } else {
            for (int i = 1 + pick(3); i > 0; --i)
                find += kPieces[pick(std::size(kPieces))];
        }
        platform::TextBuffer buffer;
        buffer.setText(text);
        const int len = static_cast<int>(text.size());
        int s = pick(len + 1);
        int e = s + pick(std::min<size_t>(5, size_t(len - s) + 1));
        if (pick(3) == 0 && s + int(find.size()) <= len)
            e = s + int(find.size());  // a selection of the string's length, often a match
        // Root, two tailorings with contractions, ASCII cases as primary differences, and
        // canonical reordering switched on (Vietnamese).
        const char* locale = std::array{"", "ja", "cs", "en_US_POSIX", "vi"}[size_t(pick(5))];
        const bool bCase = pick(2) == 0;
        const bool bNext = pick(2) == 0;
        const FindMatcher matcher(find, bCase, locale);
        const int expected = plainFind(text, matcher, s, e, bNext);
        ASSERT_EQ(FindInBuffer(buffer, matcher, s, e, bNext), expected)
            << "round " << round << " locale '" << locale << "' case " << bCase << " down " << bNext
            << " sel " << s << "," << e << " find length " << find.size() << " text length " << len;
        found += expected >= 0;
    }
    // The rounds must exercise matches, not only misses.
    EXPECT_GT(found, 500);
}

} // namespace
