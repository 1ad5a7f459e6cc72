#pragma once
// Private to the Macintosh Japanese converter. For each table, where the rows of each key
// high byte start, so that a lookup binary-searches only the rows sharing the wanted key's
// high byte (at most 256, 8 halvings) instead of all 7279 (13): the export and import of
// a 1 MiB text look up over half a million characters, twice. Computed at compile time
// from the tables themselves, so it cannot disagree with them.

#include "doc/MacJapanese.h"

namespace doc::detail {

// Entry h is the first row whose key's high byte is h or more; entry 256 is the row count.
using MacJapaneseStarts = std::array<std::uint16_t, 257>;

template <std::uint16_t MacJapaneseRow::*Key>
constexpr MacJapaneseStarts startsByHighByte(
    const std::array<MacJapaneseRow, kMacJapaneseRowCount>& table)
{
    MacJapaneseStarts starts{};
    std::size_t row = 0;
    for (unsigned high = 0; high <= 256; ++high) {
        while (row < table.size() && (table[row].*Key >> 8) < high)
            ++row;
        starts[high] = static_cast<std::uint16_t>(row);
    }
    return starts;
}

extern const MacJapaneseStarts MacJapaneseByUnicodeStarts;
extern const MacJapaneseStarts MacJapaneseByCodeStarts;

} // namespace doc::detail
