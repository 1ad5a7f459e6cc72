#pragma once
// Equality of a search string with a piece of text, as find and replace compare them, and
// the search itself. Qt-free: it reads a platform::TextBuffer.
//
// A candidate is always exactly as many UTF-16 units as the search string, cut from the
// text wherever it starts (even inside a surrogate pair or before a combining mark), and it
// matches when it compares equal to the search string:
//
//   match case on:  the collator of the user's locale finds the two equal at tertiary
//                   strength, and so does the root collation order. The second test keeps
//                   the differences that the root order puts at the third level but that
//                   some tailorings push below it (the Japanese one makes hiragana equal to
//                   katakana and full-width equal to half-width at tertiary strength).
//   match case off: the same test on both strings after full Unicode case folding, so case
//                   and nothing else is ignored ("ß" equals "ẞ", "ς" equals "Σ"; width,
//                   kana and accents still count).
//
// Characters the collator ignores entirely (most controls, zero-width characters) are
// ignored here too, as the system's locale comparison ignores them.
//
// The collator is only asked about candidates that can match: a candidate whose first unit
// cannot begin a string equal to the search string is skipped (see mayStartWith).

#include "platform/nls/UserLocale.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform { class TextBuffer; }

namespace edit {

class CollationEquality;

class FindMatcher {
public:
    // locale: an ICU locale id; "" is the root collation order.
    FindMatcher(std::u16string_view find, bool bCase,
                const std::string& locale = platform::nls::userCollationLocale());

    int length() const { return static_cast<int>(m_find.size()); }
    bool matchCase() const { return m_bCase; }

    // Whether candidate (any length) compares equal to the search string.
    bool equals(std::u16string_view candidate) const;
    // False only when no string that starts with unit u compares equal to the search
    // string; the scan skips such candidates without asking the collator.
    bool mayStartWith(char16_t u) const;

private:
    std::u16string m_find;
    std::u16string m_folded;        // m_find case-folded, when !m_bCase
    bool m_bCase;
    CollationEquality* m_equality;  // shared by all matchers of one locale, kept for the run
    std::uint32_t m_firstPrimary;   // key of the search string's first primary weight; 0: no prefilter
};

// The search of the find commands on text, from the selection (selStart <= selEnd):
//   - upward from position 0 finds nothing;
//   - downward it starts at selStart, or one further when the selection already is a match
//     (so a repeated search finds the next, overlapping match); upward at selStart - 1;
//   - a start where the string no longer fits fails downward and moves back to the last
//     position where it fits upward;
//   - downward the first match wins, upward the one that starts last; no wrap-around.
// Returns the start of the match, or -1. An empty search string finds nothing.
int FindInBuffer(const platform::TextBuffer& text, const FindMatcher& matcher, int selStart,
                 int selEnd, bool bNext);

// Whether the selection [selStart, selEnd) is a match: same length and equal.
bool SelectionMatches(const platform::TextBuffer& text, const FindMatcher& matcher, int selStart,
                      int selEnd);

} // namespace edit
