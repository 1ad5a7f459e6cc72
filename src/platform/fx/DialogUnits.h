#pragma once
// Dialog units: the program's dialogs are measured in units of their font, so that they
// keep their proportions with any system font. One horizontal unit is a quarter of the
// font's average character width (platform/AverageCharWidth.h), one vertical unit an eighth
// of its height; the average is rounded as the original dialog manager rounds it.
// The height is that of a line of Japanese text in the font (with the fallback font that
// draws the kana and kanji, when that is taller), since every text of these dialogs is
// Japanese.

#include <QFont>
#include <QRect>
#include <QSize>

namespace platform::fx {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // Base units in pixels: the average character width and the character height.
    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    // Pixels of a horizontal or vertical distance in dialog units, rounded to nearest.
    int x(int units) const;
    int y(int units) const;
    QSize size(int width, int height) const { return {x(width), y(height)}; }
    QRect rect(int left, int top, int width, int height) const
    {
        return {x(left), y(top), x(width), y(height)};
    }

private:
    int m_baseX;
    int m_baseY;
};

} // namespace platform::fx
