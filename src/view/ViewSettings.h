#pragma once
// How the view takes the settings it reads when it is created. A settings file outlives the
// machine it was written on (copied elsewhere, edited by hand), so every value passes
// through the one table below: what the view cannot use is put right here, and the view
// writes the corrected value back when it is destroyed. Qt-free.

#include "doc/LogFont.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace view {

// What happens to a stored value the view cannot use.
enum class SettingRepair {
    Keep,                 // every value means something: taken as read
    OneIfNonZero,         // a switch: every value but 0 is on, and becomes 1
    DefaultOutsideRange,  // a value outside low .. high gives the default
    DefaultUnlessInstalled,  // a code page this system cannot convert gives the default
    DefaultUnlessDrawable,   // a font record of other than 92 bytes, or with a height
                             // beyond kMaxFontPixels, gives the default font
};

struct ViewSettingRule {
    std::u16string_view key;  // section "Settings"; "Font" stands for "Font<code page>"
    std::int32_t defaultValue;  // also what a missing key reads as
    SettingRepair repair;
    std::int32_t low = 0, high = 0;  // DefaultOutsideRange only
};

// Character or cell heights beyond this many pixels are no font anybody chose: a line of
// the control would be taller than any screen.
inline constexpr std::int64_t kMaxFontPixels = 2048;

// The view's settings in the order it reads them.
inline constexpr ViewSettingRule kViewSettingRules[] = {
    // The user is told which stored page was missing (the view's job).
    {u"CodePage", 932, SettingRepair::DefaultUnlessInstalled},
    // Only 1 asks for the language on open; any other value is "do not ask", kept as written.
    {u"LangSelect", 1, SettingRepair::Keep},
    // The face's font is the FixedSys default at 14 points (doc::defaultLanguageFont).
    {u"Font", 0, SettingRepair::DefaultUnlessDrawable},
    // The tab width dialog's own range.
    {u"TabStops", 4, SettingRepair::DefaultOutsideRange, 1, 65535},
    // The references are hexadecimal for every value but 0; 1 is what the options dialog shows.
    {u"Ncr", 0, SettingRepair::OneIfNonZero},
    {u"Ja", 0, SettingRepair::OneIfNonZero},
    {u"WordWrap", 0, SettingRepair::OneIfNonZero},
};

// The table's row for key, which must be one of the table's keys.
const ViewSettingRule& viewSettingRule(std::u16string_view key);

// The value the view takes for stored, by rule (not for the font, see below).
std::int32_t repairViewSetting(const ViewSettingRule& rule, std::int32_t stored);

// The font record of a stored "Font<cp>" value; nothing, meaning the default font, when the
// value is no record the view can draw.
std::optional<doc::LogFont> repairFontRecord(std::span<const std::uint8_t> stored);

} // namespace view
