#include "platform/editctl/CursorAtX.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace platform {

int cursorAtX(const QTextLayout& layout, const QTextLine& line, qreal x, int rowEnd)
{
    const int start = line.textStart();
    rowEnd = std::max(rowEnd, start);
    const auto distance = [&](int pos) { return std::abs(line.cursorToX(pos) - x); };
    int best = std::clamp(line.xToCursor(x, QTextLine::CursorBetweenCharacters), start, rowEnd);
    qreal bestDistance = distance(best);
    const int before = best > start ? std::max(start, layout.previousCursorPosition(best)) : best;
    const int after = best < rowEnd ? std::min(rowEnd, layout.nextCursorPosition(best)) : best;
    if (distance(before) >= bestDistance && distance(after) >= bestDistance)
        return best;
    for (int pos = start;;) {
        const qreal d = distance(pos);
        if (d < bestDistance) {
            bestDistance = d;
            best = pos;
        }
        const int next = layout.nextCursorPosition(pos);
        if (pos >= rowEnd || next <= pos)
            break;
        pos = std::min(next, rowEnd);
    }
    return best;
}

} // namespace platform
