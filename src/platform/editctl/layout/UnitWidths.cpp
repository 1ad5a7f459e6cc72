#include "platform/editctl/layout/UnitWidths.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/LinePieces.h"

#include <QFontMetricsF>
#include <QString>

#include <unicode/utf16.h>

#include <cmath>
#include <limits>

namespace platform {

namespace {

// Units measured together at most: long enough for a word, short enough to shape quickly.
constexpr std::size_t kMeasuredRunMax = 64;
// Measured runs remembered; past this many they are forgotten and measured again.
constexpr std::size_t kMeasuredRunsKept = 16384;

// Scripts whose letters join, reorder or stack, so that a run of them is only as wide as it
// is shaped: Hebrew to the Arabic extensions, the Indic scripts to Myanmar, Hangul jamo,
// Khmer and Mongolian, the blocks of South and Southeast Asia after them, the presentation
// forms of Hebrew and Arabic, and the historic scripts of the supplementary plane.
bool isJoiningScript(char32_t c)
{
    if (c < 0x0590)
        return false;
    return (c <= 0x08FF) || (c >= 0x0900 && c <= 0x109F) || (c >= 0x1100 && c <= 0x11FF)
           || (c >= 0x1780 && c <= 0x18AF) || (c >= 0x1900 && c <= 0x1CFF) || (c >= 0xA800 && c <= 0xABFF)
           || (c >= 0xD7B0 && c <= 0xD7FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)
           || (c >= 0x10A00 && c <= 0x11FFF) || (c >= 0x1E800 && c <= 0x1EEFF);
}

} // namespace

UnitWidths::UnitWidths(const QFont& font)
    : m_font(font)
{
}

std::size_t UnitWidths::measuredRunEnd(std::u16string_view text, std::size_t at, std::size_t limit)
{
    const auto next = [&](std::size_t q) {
        return q + (U16_IS_LEAD(text[q]) && q + 1 < limit && U16_IS_TRAIL(text[q + 1]) ? 2 : 1);
    };
    const auto joins = [&](std::size_t q) {
        const char16_t c = text[q];
        if (U16_IS_LEAD(c) && q + 1 < text.size() && U16_IS_TRAIL(text[q + 1]))
            return isJoiningScript(U16_GET_SUPPLEMENTARY(c, text[q + 1]));
        return isJoiningScript(c);
    };
    // Tabs and control boxes keep their own widths, whatever follows them.
    const auto own = [&](std::size_t q) { return text[q] == u'\t' || isShownAsSymbol(text[q]); };
    std::size_t q = next(at);
    if (own(at) || (!joins(at) && (q >= limit || pieces::isSafeCut(text, q))))
        return at;
    std::size_t last = at;
    while (q < limit && q - at < kMeasuredRunMax && !own(q) && (!pieces::isSafeCut(text, q) || joins(q))) {
        last = q;
        q = next(q);
    }
    // Spaces after such letters are drawn from the font of those letters.
    if (joins(last)) {
        while (q < limit && q - at < kMeasuredRunMax && text[q] == u' ')
            ++q;
    }
    return q;
}

qreal UnitWidths::measureUnit(std::u16string_view text, std::size_t at)
{
    const char16_t c = text[at];
    if (U16_IS_LEAD(c) && at + 1 < text.size() && U16_IS_TRAIL(text[at + 1])) {
        const char32_t point = U16_GET_SUPPLEMENTARY(c, text[at + 1]);
        const auto found = m_pairAdvances.find(point);
        if (found != m_pairAdvances.end())
            return found->second;
        const float advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(QString::fromUcs4(&point, 1)));
        m_pairAdvances.emplace(point, advance);
        return advance;
    }
    if (U16_IS_TRAIL(c) && at > 0 && U16_IS_LEAD(text[at - 1]))
        return 0;
    if (m_advances.empty())
        m_advances.assign(0x10000, std::numeric_limits<float>::quiet_NaN());
    float& advance = m_advances[c];
    if (std::isnan(advance))
        advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(QChar(displayCharFor(c))));
    return advance;
}

qreal UnitWidths::runAdvance(std::u16string_view run, qreal* word)
{
    std::size_t wordEnd = run.size();
    while (wordEnd > 1 && run[wordEnd - 1] == u' ')
        --wordEnd;
    const qreal advance = shapedAdvance(run.substr(0, wordEnd));
    if (word)
        *word = advance;
    if (wordEnd == run.size())
        return advance;
    // One space after the last code point, drawn from the same font.
    std::size_t last = wordEnd - 1;
    if (last > 0 && U16_IS_TRAIL(run[last]) && U16_IS_LEAD(run[last - 1]))
        --last;
    std::u16string spaced(run.substr(last, wordEnd - last));
    const qreal alone = shapedAdvance(spaced);
    spaced += u' ';
    return advance + static_cast<qreal>(run.size() - wordEnd) * (shapedAdvance(spaced) - alone);
}

qreal UnitWidths::shapedAdvance(std::u16string_view run)
{
    std::u16string key(run);
    const auto found = m_runAdvances.find(key);
    if (found != m_runAdvances.end())
        return found->second;
    if (m_runAdvances.size() >= kMeasuredRunsKept)
        m_runAdvances.clear();
    const QString shown = QString::fromUtf16(run.data(), static_cast<qsizetype>(run.size()));
    const float advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(shown));
    m_runAdvances.emplace(std::move(key), advance);
    return advance;
}

} // namespace platform
