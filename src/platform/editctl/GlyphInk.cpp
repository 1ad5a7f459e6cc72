#include "platform/editctl/GlyphInk.h"

#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace platform {

namespace {

// The unit laid out alone on one line.
struct Alone {
    Alone(const QFont& font, char16_t unit) : layout(QString(QChar(unit)), font)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        line = layout.createLine();
        line.setLineWidth(8.0e6);
        layout.endLayout();
    }
    QTextLayout layout;
    QTextLine line;
};

// Whether the shaper draws the unit with another glyph than its font's character map names.
bool shapedToAnotherGlyph(const QFont& font, char16_t unit)
{
    const Alone alone(font, unit);
    for (const QGlyphRun& run : alone.line.glyphRuns()) {
        if (run.glyphIndexes() != run.rawFont().glyphIndexesForString(QString(QChar(unit))))
            return true;
    }
    return false;
}

} // namespace

qreal lastGlyphInk(const QTextLine& line)
{
    // The shaper adds the ink of a line's last glyph to the line's natural width, and only
    // there: the difference is the ink exactly as it counts it.
    return std::max<qreal>(0, line.naturalTextWidth() - line.horizontalAdvance());
}

GlyphInk::GlyphInk(const QFont& font) : m_font(font), m_metrics(font)
{
    // Characters whose forms differ between the CJK languages, and a letter some Latin faces
    // draw otherwise for Turkish: where none of them changes, none of the rest does.
    for (const char16_t probe : u"直骨说今、。i") {
        if (probe != 0 && shapedToAnotherGlyph(font, probe)) {
            m_shapeEach = true;
            break;
        }
    }
}

qreal GlyphInk::of(char16_t unit) const
{
    if (m_shapeEach)
        return lastGlyphInk(Alone(m_font, unit).line);
    return std::max<qreal>(0, -m_metrics.rightBearing(QChar(unit)));
}

} // namespace platform
