#include "app/ToolbarIcons.h"

#include "res/Resource.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

// Simple line drawings for the buttons that neither the desktop theme nor Qt's style has.
QIcon drawnIcon(unsigned id)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x30, 0x30);
    const QColor paper(Qt::white);
    p.setPen(QPen(ink, 1));
    switch (id) {
    case res::ID_EDIT_CUT:
        p.drawLine(QPointF(4, 1), QPointF(10, 10));
        p.drawLine(QPointF(12, 1), QPointF(6, 10));
        p.setBrush(paper);
        p.drawEllipse(QRectF(2.5, 9.5, 4, 4));
        p.drawEllipse(QRectF(9.5, 9.5, 4, 4));
        break;
    case res::ID_EDIT_COPY:
        p.setBrush(paper);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
        break;
    case res::ID_EDIT_PASTE:
        p.setBrush(QColor(0xc8, 0xa0, 0x60));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(paper);
        p.drawRect(QRectF(5.5, 1.5, 4, 3));
        p.drawRect(QRectF(7.5, 7.5, 7, 7));
        break;
    case res::ID_FILE_PRINT:
        p.setBrush(paper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xb0, 0xb0, 0xb0));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(paper);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    default:
        return {};
    }
    return QIcon(pixmap);
}

} // namespace

QIcon toolbarIcon(unsigned id, const QStyle* style)
{
    struct Pair { unsigned id; const char* theme; QStyle::StandardPixmap fallback; };
    static const Pair pairs[] = {
        {res::ID_FILE_NEW, "document-new", QStyle::SP_FileIcon},
        {res::ID_FILE_OPEN, "document-open", QStyle::SP_DialogOpenButton},
        {res::ID_FILE_SAVE, "document-save", QStyle::SP_DialogSaveButton},
        {res::ID_EDIT_CUT, "edit-cut", QStyle::SP_CustomBase},
        {res::ID_EDIT_COPY, "edit-copy", QStyle::SP_CustomBase},
        {res::ID_EDIT_PASTE, "edit-paste", QStyle::SP_CustomBase},
        {res::ID_EDIT_UNDO, "edit-undo", QStyle::SP_ArrowBack},
        {res::ID_EDIT_REDO, "edit-redo", QStyle::SP_ArrowForward},
        {res::ID_EDIT_FIND, "edit-find", QStyle::SP_FileDialogContentsView},
        {res::ID_FILE_PRINT, "document-print", QStyle::SP_CustomBase},
        {res::ID_APP_ABOUT, "help-about", QStyle::SP_MessageBoxInformation},
    };
    for (const Pair& p : pairs) {
        if (p.id != id)
            continue;
        const QIcon fallback = p.fallback == QStyle::SP_CustomBase
                                   ? drawnIcon(id)
                                   : style->standardIcon(p.fallback);
        return QIcon::fromTheme(QString::fromLatin1(p.theme), fallback);
    }
    return {};
}
