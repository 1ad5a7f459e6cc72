#pragma once
// The text forms of the two non-string kinds of setting: integers and binary records.
// Pure functions over UTF-16 text; the file layer stores whatever text they produce.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::profile {

// Decimal digits, with a leading '-' for negative values.
std::u16string intToValueText(int value);

// The number at the start of text, as the Windows profile functions read it: spaces and tabs
// before it are skipped, an optional '-' is accepted (a '+' is not), and reading stops at the
// first non-digit. Text that does not begin with a number gives 0. A number beyond the range
// of int saturates at INT_MIN or INT_MAX rather than wrapping round.
int leadingIntOf(std::u16string_view text);

// Two letters per byte, in byte order: 'A' plus the low four bits, then 'A' plus the high four
// bits. 0x2C becomes "MC"; n bytes become 2n letters.
std::u16string binaryToLetters(std::span<const std::uint8_t> bytes);

// The inverse of binaryToLetters. Text that is not a whole number of letter pairs from 'A' to
// 'P' (an odd count, lower case, anything else) gives nothing: a damaged record is treated as
// missing, so callers fall back to their defaults instead of using half a structure.
// Empty text is a valid record of no bytes.
std::optional<std::vector<std::uint8_t>> lettersToBinary(std::u16string_view text);

} // namespace platform::profile
