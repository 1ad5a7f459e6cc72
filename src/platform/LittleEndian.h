#pragma once
// 32-bit integers stored low byte first, as the binary records of the settings store hold
// them (a font, a window placement).

#include <cstdint>

namespace platform {

inline void putInt32LE(std::uint8_t* at, std::int32_t value)
{
    const auto u = std::uint32_t(value);
    at[0] = std::uint8_t(u);
    at[1] = std::uint8_t(u >> 8);
    at[2] = std::uint8_t(u >> 16);
    at[3] = std::uint8_t(u >> 24);
}

inline std::int32_t getInt32LE(const std::uint8_t* at)
{
    return std::int32_t(std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8
                        | std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24);
}

} // namespace platform
