#pragma once
// The 44-byte window-placement record that the settings file keeps for the main window:
// eleven 32-bit little-endian fields (length, flags, show command, minimized position,
// maximized position, normal rectangle). Qt-free.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace platform::fx {

struct WindowPlacement {
    static constexpr std::size_t kSize = 44;
    static constexpr std::int32_t kShowNormal = 1;
    static constexpr std::int32_t kShowMinimized = 2;
    static constexpr std::int32_t kShowMaximized = 3;

    std::int32_t length = kSize;
    std::int32_t flags = 0;
    std::int32_t showCmd = kShowNormal;
    std::int32_t minX = -1, minY = -1;
    std::int32_t maxX = -1, maxY = -1;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    std::array<std::uint8_t, kSize> toBytes() const;
    // Reads the first 44 bytes; nothing when fewer are given.
    static std::optional<WindowPlacement> fromBytes(std::span<const std::uint8_t> bytes);
};

} // namespace platform::fx
