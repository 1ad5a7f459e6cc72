#pragma once
// Finds where the rows of a wrapped line begin from the advances of its units, without
// shaping the line: the same rows a QTextLayout of the whole line gives when it wraps at
// word boundaries (or anywhere, for a word wider than a row) at the same width, in a font
// without kerning (as the edit control draws).
//
// It answers only for lines it can settle for certain, and says so:
//  - every unit is ASCII, a space, a tab, or a kana, ideograph, CJK punctuation or full- or
//    half-width form, drawn with the advance it is measured with. A unit of common script
//    (digits, punctuation, spaces) is drawn from the font of the run of script it stands in,
//    so its advance and its ink are measured in each such run; a unit that joins or changes
//    shape next to another in this font (found once per font by shaping every pair of the
//    units that stand next to anything) is not taken;
//  - no decision about the wrap width is closer to it than the ink a glyph may draw past
//    its advance, which the shaper adds when it checks a row's width.
// The line-break opportunities are the shaper's own (QTextBoundaryFinder). Any other line
// is left to a real layout. Spaces hang at the end of a row as they do there; a tab stops on
// the row's own grid of tab stops, and moves to the next row when it does not fit.

#include "platform/editctl/GlyphInk.h"

#include <QFont>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class RowsFromWidths {
public:
    // tabDistance: the distance between tab stops the layouts are given.
    RowsFromWidths(const QFont& font, qreal tabDistance);

    // Fills `breaks` with the offsets at which the second and later rows of `text` (one line,
    // without its line end) begin and returns true; returns false, with `breaks` unspecified,
    // when only shaping can tell.
    bool rowBreaks(std::u16string_view text, int wrapWidth, std::vector<int>& breaks);

    // Answers no more lines: every one is left to shaping.
    void distrust() { m_distrusted = true; }

private:
    struct Unit {
        float advance = kUnknown;   // kUnknown until met, kShaped for units not settled here
        float overhang = 0;         // ink past the advance, the most the shaper adds to a width
    };
    static constexpr float kUnknown = -2;
    static constexpr float kShaped = -1;

    const Unit& unit(char16_t c);
    qreal advanceIn(char16_t c, unsigned char script, qreal* overhang);
    void findJoiningPairs();
    void checkPairs(const std::u16string& text);
    // The end of the row that starts at `start`: > 0 where it ends, 0 when the first word of
    // the row is wider than the row (wrapAnywhere was false), -1 when it is not certain.
    int rowEnd(std::u16string_view text, int start, int wrapWidth, bool wrapAnywhere);

    QFont m_font;
    std::unique_ptr<GlyphInk> m_ink;   // made when the first unit is measured
    qreal m_tabDistance;
    std::vector<Unit> m_units;
    bool m_pairsChecked = false;
    bool m_distrusted = false;
    // Common units shaped in runs of other scripts; key: script << 16 | unit.
    struct Measured {
        float advance;
        float overhang;   // ink past the advance in the font the run draws the unit from
    };
    std::unordered_map<std::uint32_t, Measured> m_commonAdvances;
    // Per position of the line being counted.
    std::vector<unsigned char> m_lineBreak;
    std::vector<unsigned char> m_scripts;
    std::vector<qreal> m_advances;
    std::vector<qreal> m_overhangs;
};

} // namespace platform
