#pragma once
// Where a restored window goes when the screens it was placed on have gone or shrunk (a
// monitor unplugged, a settings file copied from another machine, a value edited by hand).
// Rectangle arithmetic only, Qt-free: the frame hands in its screens' available areas.

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::fx {

// A rectangle in global pixels, right and bottom exclusive: the form of the placement
// record's normal rectangle. 64-bit, so that a damaged record's width cannot overflow.
struct ScreenRect {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;

    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// The part of a window below its title bar that must lie on one screen for the user to
// reach it (less when the window itself is smaller).
inline constexpr std::int64_t kUsableWidth = 100;
inline constexpr std::int64_t kUsableHeight = 50;
// A rectangle more than this many times as wide or as high as the largest screen is no
// window anybody placed.
inline constexpr std::int64_t kMaxScreensPerSide = 100;

enum class PlacementFit {
    Kept,     // usable where it is
    Moved,    // moved onto a screen, and shrunk where it was larger
    Default,  // no sensible rectangle: the window takes its default place and size
};

struct FittedPlacement {
    PlacementFit fit = PlacementFit::Default;
    ScreenRect rect;  // where the window goes, unless Default
};

// Places stored, a window's own rectangle (its title bar, titleHeight pixels high, lies
// just above it), on screens (available areas; primary indexes the primary one):
// - zero or negative width or height, or more than kMaxScreensPerSide times the largest
//   screen's width or height: Default;
// - a screen holds the whole title bar and, below it, kUsableWidth x kUsableHeight pixels
//   of the window: Kept, unchanged;
// - otherwise Moved onto the nearest screen: the one at the smallest distance among those
//   less than their own width and height away (the largest overlap breaks ties), and the
//   primary screen when none is that near. The window keeps as much of its place as it can
//   (pushed inside the nearest screen's edges; centred on the primary one) and is shrunk to
//   the screen where it is larger, the title bar counted.
// Without any screen a rectangle of positive size is Kept.
FittedPlacement fitPlacement(const ScreenRect& stored, std::span<const ScreenRect> screens,
                             std::size_t primary, std::int64_t titleHeight);

} // namespace platform::fx
