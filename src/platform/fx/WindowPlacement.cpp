#include "platform/fx/WindowPlacement.h"

namespace platform::fx {

namespace {

void put(std::uint8_t* at, std::int32_t value)
{
    const auto u = std::uint32_t(value);
    at[0] = std::uint8_t(u);
    at[1] = std::uint8_t(u >> 8);
    at[2] = std::uint8_t(u >> 16);
    at[3] = std::uint8_t(u >> 24);
}

std::int32_t get(const std::uint8_t* at)
{
    return std::int32_t(std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8
                        | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24);
}

} // namespace

std::array<std::uint8_t, WindowPlacement::kSize> WindowPlacement::toBytes() const
{
    std::array<std::uint8_t, kSize> out{};
    const std::int32_t fields[] = {length, flags, showCmd, minX, minY, maxX, maxY,
                                   left,   top,   right,   bottom};
    for (std::size_t i = 0; i < 11; ++i)
        put(out.data() + 4 * i, fields[i]);
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
        *fields[i] = get(bytes.data() + 4 * i);
    return p;
}

} // namespace platform::fx
