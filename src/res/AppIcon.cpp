#include "res/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace res {

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x2b, 0x57, 0x9a));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        // A sheet with a nib: the "Q" of the name in the page's corner.
        p.setBrush(Qt::white);
        p.drawRect(QRectF(size * 0.22, size * 0.16, size * 0.50, size * 0.68));
        QFont font;
        font.setBold(true);
        font.setPixelSize(int(size * 0.5));
        p.setFont(font);
        p.setPen(QColor(0x2b, 0x57, 0x9a));
        p.drawText(QRectF(size * 0.22, size * 0.16, size * 0.50, size * 0.68), Qt::AlignCenter,
                   QStringLiteral("Q"));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace res
