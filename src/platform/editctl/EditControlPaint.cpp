// Painting of the edit control: rows of text, the selection and the blinking caret.
#include "platform/editctl/EditControl.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/EditLayout.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

QColor symbolColor()
{
    return QColor(0x80, 0x80, 0x80);
}

// The largest pixel size, up to 45% of the row, at which label fits the box's width.
QFont labelFont(const QFont& base, const QString& label, const QRectF& box, int rowHeight)
{
    QFont font = base;
    qreal size = std::max(5.0, rowHeight * 0.45);
    font.setPixelSize(static_cast<int>(size));
    const qreal width = QFontMetricsF(font).horizontalAdvance(label);
    if (width > box.width() - 2 && width > 0) {
        size = std::max(5.0, std::floor(size * (box.width() - 2) / width));
        font.setPixelSize(static_cast<int>(size));
    }
    return font;
}

} // namespace

void EditControl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPalette& colors = palette();
    const QRect dirty = event->rect();
    painter.fillRect(dirty, colors.base());

    const QRect rect = formattingRect();
    const int rowHeight = lineHeight();
    const int firstRow = verticalScrollBar()->value();
    const qreal originX = rect.left() - horizontalScrollBar()->value();

    int selStart = 0;
    int selEnd = 0;
    m_buffer.getSel(&selStart, &selEnd);
    // The selection stays visible without the focus, greyed.
    QTextCharFormat selection;
    if (hasFocus()) {
        selection.setBackground(colors.color(QPalette::Active, QPalette::Highlight));
        selection.setForeground(colors.color(QPalette::Active, QPalette::HighlightedText));
    } else {
        selection.setBackground(colors.color(QPalette::Midlight));
        selection.setForeground(colors.color(QPalette::Text));
    }

    const QRect textArea = rect & dirty;
    painter.setPen(colors.color(QPalette::Text));
    // Only what lies across the dirty area, with a little margin, is asked for: a long
    // line shapes no piece outside it.
    const qreal left = textArea.left() - originX - rowHeight;
    const qreal right = textArea.right() + 1 - originX + rowHeight;
    const int rows = m_layout->drawnRowCount();
    std::vector<RowPart> parts;
    for (int row = firstRow; row < rows; ++row) {
        const int top = rect.top() + (row - firstRow) * rowHeight;
        if (top > textArea.bottom())
            break;
        // Each row is drawn clipped to its own band, so a tall fallback glyph or a taller
        // line box never paints into the neighbouring rows.
        const QRect band = QRect(rect.left(), top, rect.width(), rowHeight) & textArea;
        if (band.isEmpty())
            continue;
        m_layout->rowParts(row, left, right, parts);
        for (const RowPart& part : parts) {
            QList<QTextLayout::FormatRange> selections;
            const int from = std::max(selStart, part.textStart) - part.textStart;
            const int to = std::min(selEnd, part.textStart + part.length) - part.textStart;
            if (from < to) {
                // Text after a composition sits further on in the layout that shows it.
                const int at = part.compositionAt >= 0 ? part.compositionAt : part.length + 1;
                const int start = from >= at ? from + part.compositionLength : from;
                const int end = to > at ? to + part.compositionLength : to;
                selections.append({start, end - start, selection});
            }
            const QPointF origin(originX + part.x, top - part.layoutRow * rowHeight);
            painter.save();
            painter.setClipRect(band);
            part.layout->draw(&painter, origin, selections, band);
            paintSymbols(painter, part, origin, band, from, to);
            painter.restore();
        }
    }

    const bool caretVisible = m_preedit.isEmpty() || m_preeditCursorVisible;
    if ((hasFocus() || m_hasCaretOverride) && m_caretShown && caretVisible)
        painter.fillRect(caretRect() & viewport()->rect(), colors.color(QPalette::Text));

    // Lines seen for the first time may be wider than the horizontal range knows.
    if (!m_wordWrap && m_layout->widestLine() > m_widestInScrollBar)
        QMetaObject::invokeMethod(this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
}

void EditControl::paintSymbols(QPainter& painter, const RowPart& part, QPointF origin, const QRect& band,
                               int selFrom, int selTo) const
{
    const QTextLine textLine = part.layout->lineAt(part.layoutRow);
    // Only the part of the row inside the band: a very long unwrapped line is not scanned.
    const int left = textLine.xToCursor(band.left() - origin.x());
    const int right = textLine.xToCursor(band.right() + 1 - origin.x());
    const int from = std::max(textLine.textStart(), std::min(left, right) - 1);
    const int to = std::min(textLine.textStart() + textLine.textLength(), std::max(left, right) + 1);
    const qreal top = origin.y() + part.layoutRow * lineHeight();

    for (int pos = from; pos < to; ++pos) {
        int offset = pos;
        if (part.compositionAt >= 0 && pos >= part.compositionAt) {
            if (pos < part.compositionAt + part.compositionLength)
                continue;   // composition text is the input method's, drawn as it is
            offset -= part.compositionLength;
        }
        if (offset >= part.length)
            continue;
        const char16_t unit = m_buffer.at(part.textStart + offset);
        if (!isShownAsSymbol(unit))
            continue;
        const qreal x1 = textLine.cursorToX(pos);
        const qreal x2 = textLine.cursorToX(pos + 1);
        const QRectF cell(origin.x() + std::min(x1, x2), top, std::abs(x2 - x1), lineHeight());
        const bool selected = offset >= selFrom && offset < selTo;
        const QPalette& colors = palette();
        const QColor background = !selected ? colors.color(QPalette::Base)
                                  : hasFocus() ? colors.color(QPalette::Active, QPalette::Highlight)
                                               : colors.color(QPalette::Midlight);
        const QColor ink = selected && hasFocus() ? colors.color(QPalette::Active, QPalette::HighlightedText)
                                                  : symbolColor();
        // Cover the placeholder glyph, then draw the box with its label.
        painter.fillRect(cell, background);
        const QRectF box = cell.adjusted(1, 2, -1.5, -2.5);
        const QString label = QString::fromLatin1(symbolLabel(unit).data(), static_cast<qsizetype>(symbolLabel(unit).size()));
        painter.setPen(ink);
        painter.drawRect(box);
        painter.setFont(labelFont(font(), label, box, lineHeight()));
        painter.drawText(box, Qt::AlignCenter, label);
    }
}

void EditControl::restartCaretBlink()
{
    m_caretShown = true;
    const int flashTime = QApplication::cursorFlashTime();
    if ((hasFocus() || m_hasCaretOverride) && flashTime > 0)
        m_caretTimer.start(flashTime / 2);
    else
        m_caretTimer.stop();
    viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
}

void EditControl::blinkCaret()
{
    m_caretShown = !m_caretShown;
    viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
}

void EditControl::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartCaretBlink();
    viewport()->update();   // the selection is drawn in its focused colours again
}

void EditControl::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_caretTimer.stop();
    m_caretShown = false;
    viewport()->update();
}

} // namespace platform
