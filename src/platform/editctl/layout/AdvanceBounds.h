#pragma once
// Upper bounds of the advances of units in a font, which settle without shaping that a line
// fits one wrapped row. Shaping a line is by far the dearest part of counting rows, and most
// lines of prose are shorter than the window.

#include <QFont>

#include <memory>
#include <vector>

namespace platform {

class GlyphInk;
class TextBuffer;

class AdvanceBounds {
public:
    explicit AdvanceBounds(const QFont& font);
    ~AdvanceBounds();

    // Whether the text [start, end) of buffer, one line, fits a row of `width` pixels for
    // certain, with tabs stopping every `tab` pixels. A unit whose laid-out width could exceed
    // its measured width (one that combines, joins or comes from a fallback font by script)
    // makes the answer no.
    bool surelyFitsOneRow(const TextBuffer& buffer, int start, int end, int width, qreal tab);

private:
    // An upper bound of c's advance (negative: only shaping can tell); *ink receives how far
    // its glyph may reach past the advance.
    qreal bound(char16_t c, qreal* ink);

    QFont m_font;
    // Filled as units are met: the bound of each BMP unit, and how far its glyph reaches past
    // its advance.
    std::vector<float> m_bounds;
    std::vector<float> m_ink;
    std::unique_ptr<GlyphInk> m_glyphInk;
};

} // namespace platform
