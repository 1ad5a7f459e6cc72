#include "platform/editctl/layout/AdvanceBounds.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/GlyphInk.h"
#include "platform/editctl/TextBuffer.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Marks a bound not computed yet, and a unit that needs shaping.
constexpr float kUnknown = -2;
constexpr float kNeedsShaping = -1;

// Units whose glyphs are as wide laid out in a line as measured alone: no combining, no
// contextual forms, no reordering. Full-width ones are never wider than one em in any font.
enum class SimpleWidth { No, AsMeasured, FullWidth, HalfWidth };

SimpleWidth simpleWidth(char16_t c)
{
    if (c >= 0x20 && c < 0x7F)
        return SimpleWidth::AsMeasured;                 // ASCII
    if (c >= 0xA0 && c <= 0xFF)
        return SimpleWidth::AsMeasured;                 // Latin-1
    if ((c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) || (c >= 0x309B && c <= 0x30FF))
        return SimpleWidth::FullWidth;                  // CJK punctuation, kana (no combining marks)
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF))
        return SimpleWidth::FullWidth;                  // ideographs
    if (c >= 0xAC00 && c <= 0xD7A3)
        return SimpleWidth::FullWidth;                  // Hangul syllables
    if ((c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6))
        return SimpleWidth::FullWidth;                  // full-width forms
    if (c >= 0xFF61 && c <= 0xFF9F)
        return SimpleWidth::HalfWidth;                  // half-width katakana
    return SimpleWidth::No;
}

} // namespace

AdvanceBounds::AdvanceBounds(const QFont& font)
    : m_font(font)
{
}

AdvanceBounds::~AdvanceBounds() = default;

bool AdvanceBounds::surelyFitsOneRow(const TextBuffer& buffer, int start, int end, int width, qreal tab)
{
    // Room for kerning and rounding, which can only nudge a simple line's width.
    const qreal limit = width * 0.97 - 2;
    qreal sum = 0;
    // The shaper adds the ink the last glyph draws past its advance when it checks a row's
    // width: a slanted glyph (an italic made by the font engine) reaches a third of an em
    // past it. Any unit may end up last, so the most ink of the line is added.
    qreal ink = 0;
    for (int pos = start; pos < end; ++pos) {
        const char16_t c = buffer.at(pos);
        if (c == u'\t') {
            // The next stop after the bound is never before the next stop after the true x.
            sum = (std::floor(sum / tab) + 1) * tab;
        } else {
            qreal unitInk = 0;
            const qreal advance = bound(c, &unitInk);
            if (advance < 0)
                return false;
            sum += advance;
            ink = std::max(ink, unitInk);
        }
        if (sum + ink > limit)
            return false;
    }
    return true;
}

qreal AdvanceBounds::bound(char16_t c, qreal* ink)
{
    if (m_bounds.empty()) {
        m_bounds.assign(0x10000, kUnknown);
        m_ink.assign(0x10000, 0);
    }
    float& bound = m_bounds[c];
    if (bound != kUnknown) {
        *ink = m_ink[c];
        return bound;
    }

    const char16_t shown = displayCharFor(c);
    const QFontMetricsF metrics(m_font);
    if (!m_glyphInk)
        m_glyphInk = std::make_unique<GlyphInk>(m_font);
    m_ink[c] = static_cast<float>(m_glyphInk->of(shown));
    *ink = m_ink[c];
    // One em of the size actually used, which a reference ideograph of the CJK font that
    // lines fall back to shows even when the pixel size is fractional.
    const qreal em = std::max<qreal>(QFontInfo(m_font).pixelSize(), metrics.horizontalAdvance(QChar(0x6C34)));
    const qreal measured = metrics.horizontalAdvance(QChar(shown));
    switch (simpleWidth(shown)) {
    case SimpleWidth::AsMeasured:
        // Only glyphs of the font itself: a fallback font may be chosen by script in a line.
        bound = metrics.inFont(QChar(shown)) ? static_cast<float>(measured) : kNeedsShaping;
        break;
    case SimpleWidth::FullWidth:
        bound = static_cast<float>(std::max(measured, em));
        break;
    case SimpleWidth::HalfWidth:
        bound = static_cast<float>(std::max(measured, em / 2));
        break;
    case SimpleWidth::No:
        bound = kNeedsShaping;
        break;
    }
    return bound;
}

} // namespace platform
