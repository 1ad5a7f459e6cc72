#pragma once
// Private to platform/nls: applies a page's UnitRemap list to whole texts.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/nls/CodePageTable.h"

namespace platform::nls::detail {

// Rewrites the units where ICU's table and Windows' disagree: ICU's units to Windows' after
// decoding, Windows' to ICU's before encoding. A page has a handful of such units, so a
// block of text is first compared with all of them at once (a loop the compiler turns into
// vector compares); only a block that holds one is looked at unit by unit. A megabyte of
// text without them costs a small part of its conversion.
class UnitRemapper {
public:
    enum class Direction { ToWindows, ToIcu };
    static constexpr std::size_t kMaxRemaps = 8;

    UnitRemapper(std::span<const UnitRemap> remaps, Direction direction)
        : m_remaps(remaps), m_direction(direction)
    {
        assert(!remaps.empty() && remaps.size() <= kMaxRemaps);
        // Unused places repeat the first unit, so comparing with all of them changes nothing.
        m_from.fill(from(remaps.front()));
        for (std::size_t i = 0; i < remaps.size(); ++i)
            m_from[i] = from(remaps[i]);
    }

    bool affects(std::u16string_view text) const
    {
        std::size_t i = 0;
        for (; i + kBlock <= text.size(); i += kBlock)
            if (blockMayHold(text.data() + i))
                break;
        for (; i < text.size(); ++i)
            if (lookup(text[i]))
                return true;
        return false;
    }

    void apply(std::span<char16_t> text) const
    {
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t end = std::min(i + kBlock, text.size());
            if (end - i < kBlock || blockMayHold(text.data() + i))
                for (; i < end; ++i)
                    if (const char16_t* to = lookup(text[i]))
                        text[i] = *to;
            i = end;
        }
    }

private:
    static constexpr std::size_t kBlock = 64;

    char16_t from(const UnitRemap& r) const
    {
        return m_direction == Direction::ToWindows ? r.icuUnit : r.windowsUnit;
    }

    // Whether any of the kBlock units at p is one of the units to rewrite. No early exit,
    // so that the loops vectorize.
    bool blockMayHold(const char16_t* p) const
    {
        std::uint16_t found = 0;
        for (std::size_t i = 0; i < kBlock; ++i) {
            std::uint16_t isOne = 0;
            for (std::size_t k = 0; k < kMaxRemaps; ++k)
                isOne |= std::uint16_t(p[i] == m_from[k]);
            found |= isOne;
        }
        return found != 0;
    }

    const char16_t* lookup(char16_t c) const
    {
        for (const UnitRemap& r : m_remaps)
            if (from(r) == c)
                return m_direction == Direction::ToWindows ? &r.windowsUnit : &r.icuUnit;
        return nullptr;
    }

    std::span<const UnitRemap> m_remaps;
    Direction m_direction;
    std::array<char16_t, kMaxRemaps> m_from{};
};

} // namespace platform::nls::detail
