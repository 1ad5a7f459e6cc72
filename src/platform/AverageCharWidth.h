#pragma once
// The average character width of a font, as the system's dialog base units measure it: the
// advance of the 52 letters a-z and A-Z divided by 52. Tab stops, columns and dialog units
// all count in it, on the screen and on paper alike. (The font's own "average" from its
// tables is no use here: a Japanese monospaced face gives a full width there, twice a
// Latin letter.)

#include <QFont>

class QPaintDevice;

namespace platform {

// In pixels of `device` (the screen when null), unrounded; never less than one pixel.
qreal averageCharWidth(const QFont& font, QPaintDevice* device = nullptr);

} // namespace platform
