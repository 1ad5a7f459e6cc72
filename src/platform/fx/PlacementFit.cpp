#include "platform/fx/PlacementFit.h"

#include <algorithm>
#include <optional>

namespace platform::fx {

namespace {

// How far apart two ranges [a0, a1) and [b0, b1) are; 0 when they touch or overlap.
std::int64_t gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1)
{
    return std::max<std::int64_t>({0, b0 - a1, a0 - b1});
}

std::int64_t overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1)
{
    return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

// The title bar and the first rows of the window lie on screen, across enough width.
bool usableOn(const ScreenRect& w, const ScreenRect& screen, std::int64_t titleHeight)
{
    const std::int64_t bandTop = w.top - titleHeight;
    const std::int64_t bandBottom = w.top + std::min(kUsableHeight, w.height());
    return bandTop >= screen.top && bandBottom <= screen.bottom
           && overlap(w.left, w.right, screen.left, screen.right)
                  >= std::min(kUsableWidth, w.width());
}

// The screen a lost window belongs to, or nothing when none is near it.
std::optional<std::size_t> nearestScreen(const ScreenRect& w, std::span<const ScreenRect> screens)
{
    std::optional<std::size_t> best;
    std::int64_t bestDistance = 0, bestOverlap = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const ScreenRect& s = screens[i];
        const std::int64_t dx = gap(w.left, w.right, s.left, s.right);
        const std::int64_t dy = gap(w.top, w.bottom, s.top, s.bottom);
        if (dx >= s.width() || dy >= s.height())
            continue;
        // Both gaps are below a screen's size, so the squares stay far inside 64 bits.
        const std::int64_t distance = dx * dx + dy * dy;
        const std::int64_t area = overlap(w.left, w.right, s.left, s.right)
                                  * overlap(w.top, w.bottom, s.top, s.bottom);
        if (!best || distance < bestDistance || (distance == bestDistance && area > bestOverlap)) {
            best = i;
            bestDistance = distance;
            bestOverlap = area;
        }
    }
    return best;
}

} // namespace

FittedPlacement fitPlacement(const ScreenRect& stored, std::span<const ScreenRect> screens,
                             std::size_t primary, std::int64_t titleHeight)
{
    if (stored.width() <= 0 || stored.height() <= 0)
        return {};
    if (screens.empty())
        return {PlacementFit::Kept, stored};

    std::int64_t widest = 0, highest = 0;
    for (const ScreenRect& s : screens) {
        widest = std::max(widest, s.width());
        highest = std::max(highest, s.height());
    }
    if (stored.width() > kMaxScreensPerSide * widest || stored.height() > kMaxScreensPerSide * highest)
        return {};

    for (const ScreenRect& s : screens)
        if (usableOn(stored, s, titleHeight))
            return {PlacementFit::Kept, stored};

    const auto near = nearestScreen(stored, screens);
    const ScreenRect& screen = screens[near ? *near : std::min(primary, screens.size() - 1)];
    if (screen.width() <= 0 || screen.height() <= 0)
        return {};
    // A screen lower than two title bars still shows the window's top half.
    const std::int64_t title = std::clamp<std::int64_t>(titleHeight, 0, screen.height() / 2);
    const std::int64_t width = std::min(stored.width(), screen.width());
    const std::int64_t height = std::min(stored.height(), screen.height() - title);
    const std::int64_t minLeft = screen.left, maxLeft = screen.right - width;
    const std::int64_t minTop = screen.top + title, maxTop = screen.bottom - height;
    std::int64_t left, top;
    if (near) {
        left = std::clamp(stored.left, minLeft, maxLeft);
        top = std::clamp(stored.top, minTop, maxTop);
    } else {
        left = minLeft + (maxLeft - minLeft) / 2;
        top = minTop + (maxTop - minTop) / 2;
    }
    return {PlacementFit::Moved, {left, top, left + width, top + height}};
}

} // namespace platform::fx
