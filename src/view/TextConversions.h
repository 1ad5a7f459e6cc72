#pragma once
// The text conversions and insertions of the Convert and Edit menus, as plain functions on
// UTF-16 text: line-end normalization, numeric character references, the number of the
// code-input dialog, and the date-and-time text. Qt-free.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace view {

// Every CR LF, lone CR and lone LF of source becomes one CR LF; a CR pairs only with the LF
// right after it. Returns the number of units of the result; with dest, also writes them
// there followed by a terminating zero (dest must hold the count plus one). The caller
// counts first, allocates once, then fills. The source is taken with its length, so a NUL
// inside the text is an ordinary unit and nothing after it is lost.
std::size_t NormalizeLineEnds(std::u16string_view source, char16_t* dest);

// Each character of text as a numeric character reference, "&#%u;" or (hex) "&#x%04X;"; CR
// and LF stay as they are, so lines stay lines. A surrogate pair is one character ("&#128512;",
// "&#x1F600;"); a lone surrogate is referred to by its unit.
std::u16string NumericCharRefs(std::u16string_view text, bool hex);

// The number in text as the C library's wcstoul reads it with base 0 on a 32-bit unsigned
// long: leading white space, an optional sign (minus negates in unsigned arithmetic), "0x"
// or "0X" for hexadecimal, a leading 0 for octal, else decimal; reading stops at the first
// unit that is not an ASCII digit of the base; a value that does not fit gives 4294967295;
// no digits give 0.
std::uint32_t ReadCodeNumber(std::u16string_view text);

// The unit the code-input dialog inserts for text: its number when that lies in 1..65535,
// nothing otherwise.
std::optional<char16_t> CodeInputUnit(std::u16string_view text);

// A moment of local time, as the calendar shows it.
struct LocalTime {
    int year;     // e.g. 2026
    int month;    // 1..12
    int day;      // 1..31
    int hour;     // 0..23
    int minute;   // 0..59
    int weekday;  // 0 = Sunday .. 6 = Saturday
};

// "HH:MM YYYY/MM/DD weekday": the weekday's full name in the language of the code page
// (932 Japanese, 936 Simplified Chinese, 949 Korean, 950 Traditional Chinese), in English
// for every other page.
std::u16string FormatDateTime(const LocalTime& time, std::uint32_t codePage);

} // namespace view
