#pragma once
// How far the glyph a unit is drawn with reaches past its advance: the ink the shaper adds
// to a row's width when the unit ends the row.

#include <QFont>
#include <QFontMetricsF>

class QTextLine;

namespace platform {

class GlyphInk {
public:
    explicit GlyphInk(const QFont& font);

    // The ink of the glyph the shaper draws the unit with, in the font that draws it (a
    // fallback font for what the face lacks); never negative. The shaper's language (the
    // locale's) may pick another form of a character than the font's character map gives,
    // a Chinese form of a Han character or of its punctuation, with other ink: where it does
    // for this font, each unit is shaped to be measured.
    qreal of(char16_t unit) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    bool m_shapeEach = false;
};

// The ink past its advance of the last glyph of a laid-out line, exactly as the shaper
// counts it; never negative.
qreal lastGlyphInk(const QTextLine& line);

} // namespace platform
