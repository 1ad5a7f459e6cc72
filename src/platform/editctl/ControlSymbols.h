#pragma once
// Characters the edit control draws as small labelled boxes instead of letting them act.
//
// Lines break only at CR LF, so a lone CR or LF, the other C0 controls, DEL and the two
// Unicode separators (which a text shaper would treat as line breaks) are shown as a box of
// their own. In the laid-out string each one is replaced by a single placeholder unit, so a
// display position equals the buffer position and drawing, hit testing and caret placement
// all measure the same cell; the painter then draws the box and its label over that cell.
// (Fonts rarely carry the Unicode control pictures, so the label is drawn, not a glyph.)

#include <string_view>

namespace platform {

constexpr bool isShownAsSymbol(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0x7F || c == 0x2028 || c == 0x2029;
}

// GETA MARK: one full-width cell that never combines with its neighbours.
inline constexpr char16_t kSymbolPlaceholder = 0x3013;

// The unit laid out in place of c; c itself when it is drawn as it is. TAB keeps its meaning.
constexpr char16_t displayCharFor(char16_t c)
{
    return isShownAsSymbol(c) ? kSymbolPlaceholder : c;
}

// The label in the box: the control's usual abbreviation; empty for other characters.
constexpr std::string_view symbolLabel(char16_t c)
{
    constexpr std::string_view kC0[32] = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "HT", "LF", "VT", "FF", "CR", "SO", "SI",
        "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM", "SUB", "ESC", "FS", "GS", "RS", "US",
    };
    if (c < 0x20)
        return kC0[c];
    switch (c) {
    case 0x7F: return "DEL";
    case 0x2028: return "LS";
    case 0x2029: return "PS";
    default: return {};
    }
}

} // namespace platform
