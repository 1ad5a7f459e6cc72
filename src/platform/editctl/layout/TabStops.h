#pragma once
// Where tabs stop as the shaper finds them: the stops of a line's own grid, and how that grid
// looks from a piece of the line that starts part way along it.

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace platform::tabs {

// The distance between stops QTextOption uses when none is set.
inline constexpr qreal kDefaultDistance = 80;

// x snapped to the 1/64 pixel the shaper counts in, so that a sum that falls a hair short of
// a stop reaches the same stop as in a shaped layout.
inline qreal snapped(qreal x)
{
    return std::round(x * 64) / 64;
}

// The stop a tab at x reaches on the grid of stops `tab` apart: the shaper counts x in 1/64
// of a stop, rounded, so that x less than 1/128 of a stop short of one already counts as
// there, and the tab goes on to the stop after it.
inline qreal nextStop(qreal x, qreal tab)
{
    const long long units = std::llround(std::max<qreal>(0, x) * 64);
    const long long stop = std::max<long long>(1, std::llround(tab * 64));
    const long long inSixtyFourths = (units * 64 + stop / 2) / stop;
    return static_cast<qreal>((inSixtyFourths >> 6) + 1) * tab;
}

// How far x lies past the stop before it: what a piece of a line starting at x shifts the
// line's grid by. 0 within 1/64 pixel of a stop.
inline qreal phaseAt(qreal x, qreal tab)
{
    const qreal phase = std::fmod(snapped(x), tab);
    return phase < 1.0 / 64 || phase > tab - 1.0 / 64 ? 0 : phase;
}

} // namespace platform::tabs
