#include "platform/editctl/layout/RowFlow.h"

#include "platform/editctl/layout/TabStops.h"
#include "platform/editctl/layout/UnitWidths.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace platform {

namespace {

bool isHangingSpace(char16_t c)
{
    return c == u' ' || c == 0x3000;
}

} // namespace

RowFlow::RowFlow(UnitWidths& widths, int wrapWidth, qreal tabDistance)
    : m_widths(widths)
    , m_wrapWidth(wrapWidth)
    , m_tab(tabDistance)
{
}

int RowFlow::nextRowStart(std::u16string_view text, int lineLength, int start, int textOffset)
{
    const int limitEnd = std::min(lineLength, textOffset + static_cast<int>(text.size()));
    const auto at = [&](int offset) { return static_cast<size_t>(offset - textOffset); };
    // The last safe cut after start and not after q; where there is none (one cluster
    // longer than a row), q itself, with a pair kept whole.
    const auto cutBack = [&](int q) {
        for (int cut = q; cut > start; --cut) {
            if (pieces::isSafeCut(text, at(cut)))
                return cut;
        }
        if (q < limitEnd && U16_IS_TRAIL(text[at(q)]) && U16_IS_LEAD(text[at(q - 1)]))
            return q - 1 > start ? q - 1 : q + 1;
        return q;
    };
    qreal x = 0;
    int lastBreak = -1;
    int q = start;
    while (q < limitEnd) {
        if (q > start && pieces::canBreakBefore(text, at(q)))
            lastBreak = q;
        if (q - start >= pieces::kPieceMax)
            return lastBreak > start + pieces::kPieceMax / 2 ? lastBreak : cutBack(q);
        const char16_t c = text[at(q)];
        const int step = U16_IS_LEAD(c) && q + 1 < limitEnd && U16_IS_TRAIL(text[at(q + 1)]) ? 2 : 1;
        // A cluster or a word of a joining script counts as wide as it is shaped, as in an
        // unshaped piece; it goes on a row whole unless it is wider than a row.
        if (UnitWidths::measuredTogether(c, q + 1 < limitEnd ? text[at(q + 1)] : u' ')) {
            const size_t runEnd = UnitWidths::measuredRunEnd(text, at(q), at(limitEnd));
            const int runLength = static_cast<int>(runEnd - at(q));
            if (runLength > step && q + runLength - start <= pieces::kPieceMax) {
                // The spaces after a word hang past the wrap width, as everywhere else.
                qreal wordWidth = 0;
                const qreal runWidth = m_widths.runAdvance(text.substr(at(q), runEnd - at(q)), &wordWidth);
                if (wordWidth <= m_wrapWidth) {
                    if (q > start && x + wordWidth > m_wrapWidth)
                        return lastBreak > start ? lastBreak : cutBack(q);
                    x += runWidth;
                    q += runLength;
                    continue;
                }
            }
        }
        const qreal w = c == u'\t' ? tabs::nextStop(x, m_tab) - x : m_widths.unitAdvance(text, at(q));
        if (!isHangingSpace(c) && q > start && x + w > m_wrapWidth)
            return lastBreak > start ? lastBreak : cutBack(q);
        x += w;
        q += step;
    }
    return limitEnd == lineLength ? lineLength : cutBack(limitEnd);
}

} // namespace platform
