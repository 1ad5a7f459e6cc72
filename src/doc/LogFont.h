#pragma once
// The 92-byte font record the settings file keeps for each code page (one "Font<cp>" value
// per page): five 32-bit fields, eight single bytes, then a face name of 32 UTF-16 units,
// all little-endian, laid out exactly as the Windows LOGFONTW the values were first written
// from. Qt-free; the conversion to and from QFont lives in LogFontQt.h.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace doc {

// Values of the record's byte fields that the program names.
inline constexpr std::int32_t FW_DONTCARE = 0;
inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;

inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

// lfPitchAndFamily: pitch in the low two bits, family in the high four.
inline constexpr std::uint8_t DEFAULT_PITCH = 0x00;
inline constexpr std::uint8_t FIXED_PITCH = 0x01;
inline constexpr std::uint8_t VARIABLE_PITCH = 0x02;
inline constexpr std::uint8_t PITCH_MASK = 0x03;
inline constexpr std::uint8_t FF_DONTCARE = 0x00;
inline constexpr std::uint8_t FF_ROMAN = 0x10;
inline constexpr std::uint8_t FF_SWISS = 0x20;
inline constexpr std::uint8_t FF_MODERN = 0x30;
inline constexpr std::uint8_t FF_SCRIPT = 0x40;
inline constexpr std::uint8_t FF_DECORATIVE = 0x50;
inline constexpr std::uint8_t FAMILY_MASK = 0xF0;

struct LogFont {
    static constexpr std::size_t kSize = 92;
    // Units of the face-name field, its terminating zero included.
    static constexpr std::size_t kFaceUnits = 32;

    // Negative: the character (em) height in pixels; positive: the cell height; 0: default.
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = FW_DONTCARE;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = ANSI_CHARSET;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<char16_t, kFaceUnits> lfFaceName{};

    // The face up to its first zero unit (all 32 units when the field has none).
    std::u16string faceName() const;
    // Stores face, cut to 31 units so that a zero always ends it; a cut never splits a
    // surrogate pair. The rest of the field is zeroed.
    void setFaceName(std::u16string_view face);

    std::array<std::uint8_t, kSize> toBytes() const;
    // The record in bytes; nothing unless bytes holds exactly 92 of them, so a damaged or
    // foreign value is never taken for half a font.
    static std::optional<LogFont> fromBytes(std::span<const std::uint8_t> bytes);

    bool operator==(const LogFont&) const = default;
};

// The character height of a request for tenthsOfPoint tenths of a point on a screen of
// logPixelsY pixels per inch, as a negative lfHeight: -(logPixelsY * tenths / 720), the
// division truncated. 140 tenths at 96 pixels per inch give -18.
std::int32_t heightForTenthsOfPoint(int tenthsOfPoint, int logPixelsY);

// The font every code page has until the user picks another: a 14-point request for the
// face "FixedSys", every other field 0 except lfCharSet = DEFAULT_CHARSET.
LogFont defaultLanguageFont(int logPixelsY);

// The settings key of a code page's font: "Font" and the page in decimal ("Font932").
std::u16string languageFontKey(std::uint32_t codePage);

} // namespace doc
