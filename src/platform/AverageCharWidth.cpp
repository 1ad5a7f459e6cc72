#include "platform/AverageCharWidth.h"

#include <QFontMetricsF>

#include <algorithm>

namespace platform {

qreal averageCharWidth(const QFont& font, QPaintDevice* device)
{
    // Each letter at its own advance, as the system sums them: no kerning between them.
    QFont plain(font);
    plain.setKerning(false);
    const QFontMetricsF metrics = device ? QFontMetricsF(plain, device) : QFontMetricsF(plain);
    const qreal letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return std::max<qreal>(1, letters / 52);
}

} // namespace platform
