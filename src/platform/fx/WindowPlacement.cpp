#include "platform/fx/WindowPlacement.h"

#include "platform/LittleEndian.h"

namespace platform::fx {

std::array<std::uint8_t, WindowPlacement::kSize> WindowPlacement::toBytes() const
{
    std::array<std::uint8_t, kSize> out{};
    const std::int32_t fields[] = {length, flags, showCmd, minX, minY, maxX, maxY,
                                   left,   top,   right,   bottom};
    for (std::size_t i = 0; i < 11; ++i)
        putInt32LE(out.data() + 4 * i, fields[i]);
    return out;
}

std::optional<WindowPlacement> WindowPlacement::fromBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kSize)
        return std::nullopt;
    WindowPlacement p;
    std::int32_t* fields[] = {&p.length, &p.flags, &p.showCmd, &p.minX, &p.minY, &p.maxX,
                              &p.maxY,   &p.left,  &p.top,     &p.right, &p.bottom};
    for (std::size_t i = 0; i < 11; ++i)
        *fields[i] = getInt32LE(bytes.data() + 4 * i);
    return p;
}

} // namespace platform::fx
