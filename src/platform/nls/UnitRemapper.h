#pragma once
// Private to platform/nls: applies a page's UnitRemap list to whole texts.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/nls/CodePageTable.h"

namespace platform::nls::detail {

// Rewrites the units where ICU's table and Windows' disagree: ICU's units to Windows' after
// decoding, Windows' to ICU's before encoding. A 64-bit mask of the units' low bits rejects
// nearly every unit with one test, so a megabyte of text costs little.
class UnitRemapper {
public:
    enum class Direction { ToWindows, ToIcu };

    UnitRemapper(std::span<const UnitRemap> remaps, Direction direction)
        : m_remaps(remaps), m_direction(direction)
    {
        for (const UnitRemap& r : m_remaps)
            m_mask |= std::uint64_t(1) << (from(r) & 63);
    }

    bool affects(std::u16string_view text) const
    {
        for (char16_t c : text)
            if (lookup(c))
                return true;
        return false;
    }

    void apply(std::span<char16_t> text) const
    {
        for (char16_t& c : text)
            if (const char16_t* to = lookup(c))
                c = *to;
    }

private:
    char16_t from(const UnitRemap& r) const
    {
        return m_direction == Direction::ToWindows ? r.icuUnit : r.windowsUnit;
    }

    const char16_t* lookup(char16_t c) const
    {
        if (!((m_mask >> (c & 63)) & 1))
            return nullptr;
        for (const UnitRemap& r : m_remaps)
            if (from(r) == c)
                return m_direction == Direction::ToWindows ? &r.windowsUnit : &r.icuUnit;
        return nullptr;
    }

    std::span<const UnitRemap> m_remaps;
    Direction m_direction;
    std::uint64_t m_mask = 0;
};

} // namespace platform::nls::detail
