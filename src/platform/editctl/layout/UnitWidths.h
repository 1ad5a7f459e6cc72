#pragma once
// The widths a long line not shaped yet is counted with, in one font: each code point
// measured on its own, except what only shaping measures right, which is measured shaped and
// remembered: a grapheme cluster of more than one code point (a base with its marks, which
// may come from a fallback font with the base; an emoji sequence), and a word of a joining
// script with the spaces after it.
//
// It holds a table of 256 KB of unit widths and up to 16,384 measured clusters and
// words (a few MB at most). A text of distinct words of a joining script is measured word by
// word once: about half a second for a line of a million units.

#include <QFont>

#include <unicode/utf16.h>

#include <cmath>

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class UnitWidths {
public:
    explicit UnitWidths(const QFont& font);

    // Whether c, or next after it, may be drawn otherwise than measured alone, so that the
    // stretch from c is measured as measuredRunEnd() finds it.
    static bool measuredTogether(char16_t c, char16_t next)
    {
        return (c >= 0x300 && !isPlainCjk(c)) || (next >= 0x300 && !isPlainCjk(next));
    }
    // The end of the stretch from `at` that is measured as one: a grapheme cluster of more
    // than one code point, or a run of letters of a joining script with the clusters in it
    // and the spaces after it. `at` itself when the code point there counts alone. Ends at
    // `limit` and within kMeasuredRunMax units.
    static std::size_t measuredRunEnd(std::u16string_view text, std::size_t at, std::size_t limit);

    // The advance of the code point at text[at] measured on its own; 0 for the second unit of
    // a pair. Tabs are the callers' business.
    // (Inline for the units met before: a long line counts a million of them in a row.)
    qreal unitAdvance(std::u16string_view text, std::size_t at)
    {
        const char16_t c = text[at];
        if (!U16_IS_SURROGATE(c) && !m_advances.empty() && !std::isnan(m_advances[c]))
            return m_advances[c];
        return measureUnit(text, at);
    }
    // The advance of a run that only shaping measures right, as the font and its fallbacks
    // shape it on its own. The spaces that end it count as wide as one space after its last
    // code point, so that a word is shaped once, whatever follows it; *word receives the
    // advance without those spaces.
    qreal runAdvance(std::u16string_view run, qreal* word = nullptr);

    // Bytes held for the table of unit widths.
    std::size_t tableBytes() const { return m_advances.capacity() * sizeof(float); }

private:
    // Kana, ideographs, Hangul syllables, CJK punctuation and full-width forms: measured one
    // by one, they are as wide as shaped, and nothing joins them (their combining marks
    // excepted).
    static bool isPlainCjk(char16_t c)
    {
        return (c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) || (c >= 0x309B && c <= 0x9FFF)
               || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xFF01 && c <= 0xFF9D);
    }
    qreal measureUnit(std::u16string_view text, std::size_t at);
    qreal shapedAdvance(std::u16string_view run);

    QFont m_font;
    // Advances of units measured one by one (NaN until met), and of code points beyond the BMP.
    std::vector<float> m_advances;
    std::unordered_map<char32_t, float> m_pairAdvances;
    // Advances of clusters and runs of joining letters, measured shaped.
    std::unordered_map<std::u16string, float> m_runAdvances;
};

} // namespace platform
