// Geometry of the edit control: formatting rectangle, positions of characters, scrolling.
#include "platform/editctl/EditControl.h"

#include "platform/AverageCharWidth.h"

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/SteadyScrollBar.h"

#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr int kCaretWidth = 1;

// Typing in a long line changes a range at every key; the control's own bars redraw only
// what that changes.
void setScrollRange(QScrollBar* bar, int maximum)
{
    if (auto* steady = dynamic_cast<SteadyScrollBar*>(bar))
        steady->setRangeQuietly(0, maximum);
    else
        bar->setRange(0, maximum);
}

// Division that rounds toward negative infinity, so points above the text map to rows
// before the first visible one.
int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

QRect EditControl::formattingRect() const
{
    const QRect client = viewport()->rect();
    const int left = std::min(m_leftMargin, client.width());
    const int width = std::max(0, client.width() - left - m_rightMargin);
    return QRect(left, 0, width, client.height());
}

int EditControl::lineHeight() const
{
    return m_layout->rowHeight();
}

qreal EditControl::averageCharWidth() const
{
    return platform::averageCharWidth(font());
}

int EditControl::columnWidth() const
{
    return std::max(1, qRound(averageCharWidth()));
}

qreal EditControl::tabStopDistance() const
{
    return m_tabStopsDlu * averageCharWidth() / 4;
}

void EditControl::applyTabStops()
{
    m_layout->setTabStopDistance(tabStopDistance());
}

void EditControl::applyWrapWidth()
{
    const int width = m_wordWrap ? std::max(1, formattingRect().width()) : 0;
    if (width != m_layout->wrapWidth())
        m_layout->setWrapWidth(width);
}

int EditControl::fullyVisibleRows() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

void EditControl::updateScrollBars()
{
    const int page = fullyVisibleRows();
    QScrollBar* vertical = verticalScrollBar();
    m_rowCount = m_layout->rowCount();
    // While a composition is shown, the rows it adds to its line can be scrolled to.
    const int drawnRows = m_rowCount + (m_preedit.isEmpty() ? 0 : m_layout->preeditExtraRows());
    setScrollRange(vertical, std::max(0, drawnRows - page));
    vertical->setPageStep(page);
    vertical->setSingleStep(1);

    QScrollBar* horizontal = horizontalScrollBar();
    if (m_wordWrap) {
        horizontal->setRange(0, 0);
        return;
    }
    // The widest line is known only for lines laid out so far; the range grows as more
    // lines are seen, which keeps loading a large text free of a full layout pass.
    m_widestInScrollBar = m_layout->widestLine();
    const int visible = std::max(1, formattingRect().width());
    const int content = static_cast<int>(std::ceil(m_widestInScrollBar)) + kCaretWidth;
    setScrollRange(horizontal, std::max(horizontal->value(), std::max(0, content - visible)));
    horizontal->setPageStep(visible);
    horizontal->setSingleStep(columnWidth());
}

void EditControl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_wordWrap) {
        const int topPos = m_layout->rowStart(verticalScrollBar()->value());
        applyWrapWidth();
        updateScrollBars();
        verticalScrollBar()->setValue(m_layout->rowOfPos(topPos));
    } else {
        updateScrollBars();
    }
}

void EditControl::scrollContentsBy(int, int)
{
    m_hasCaretOverride = false;
    viewport()->update();
    updateMicroFocus();
}

// ---- positions ----------------------------------------------------------------------------

QPoint EditControl::posFromChar(int i) const
{
    if (i < 0 || i >= m_buffer.length())
        return QPoint(-1, -1);
    return caretPosFromChar(i);
}

QPoint EditControl::caretPosFromChar(int i) const
{
    i = std::clamp(i, 0, m_buffer.length());
    const QRect rect = formattingRect();
    const int row = m_layout->rowOfPos(i);
    const int x = rect.left() + qRound(m_layout->xOfPos(i)) - horizontalScrollBar()->value();
    const int y = rect.top() + (row - verticalScrollBar()->value()) * lineHeight();
    return QPoint(x, y);
}

int EditControl::charFromPos(QPoint point, int* line) const
{
    const QRect rect = formattingRect();
    const int row = std::clamp(verticalScrollBar()->value() + floorDiv(point.y() - rect.top(), lineHeight()),
                               0, m_layout->rowCount() - 1);
    if (line)
        *line = row;
    return m_layout->posAtX(row, point.x() - rect.left() + horizontalScrollBar()->value());
}

void EditControl::setCaretPos(QPoint point)
{
    m_caretOverride = point;
    m_hasCaretOverride = true;
    restartCaretBlink();
    viewport()->update();
}

// ---- scrolling ----------------------------------------------------------------------------

int EditControl::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

bool EditControl::lineScroll(int columns, int lines)
{
    QScrollBar* vertical = verticalScrollBar();
    vertical->setValue(vertical->value() + lines);
    if (!m_wordWrap && columns != 0) {
        QScrollBar* horizontal = horizontalScrollBar();
        const int target = std::max(0, horizontal->value() + columns * columnWidth());
        if (target > horizontal->maximum())
            horizontal->setMaximum(target);
        horizontal->setValue(target);
    }
    return true;
}

void EditControl::scrollCaret()
{
    const int row = caretRow();
    const bool atRowEnd = row != m_layout->rowOfPos(m_buffer.caret());
    ensureVisible(row, m_layout->xOfPos(m_buffer.caret(), atRowEnd));
}

void EditControl::ensureVisible(int row, qreal x)
{
    QScrollBar* vertical = verticalScrollBar();
    const int visibleRows = fullyVisibleRows();
    if (row < vertical->value())
        vertical->setValue(row);
    else if (row >= vertical->value() + visibleRows)
        vertical->setValue(row - visibleRows + 1);

    if (m_wordWrap)
        return;
    QScrollBar* horizontal = horizontalScrollBar();
    const int visible = std::max(1, formattingRect().width());
    const int caretX = qRound(x);
    // Jump a quarter of the width past the edge, so typing on does not scroll at every key.
    if (caretX < horizontal->value()) {
        horizontal->setValue(std::max(0, caretX - visible / 4));
    } else if (caretX + kCaretWidth > horizontal->value() + visible) {
        const int target = caretX + kCaretWidth - visible + visible / 4;
        if (target > horizontal->maximum())
            horizontal->setMaximum(target);
        horizontal->setValue(target);
    }
}

QRect EditControl::caretRect() const
{
    const int height = lineHeight();
    if (m_hasCaretOverride)
        return QRect(m_caretOverride, QSize(kCaretWidth, height));

    const QRect rect = formattingRect();
    const int firstRow = verticalScrollBar()->value();
    const int scrollX = horizontalScrollBar()->value();
    const int caret = m_buffer.caret();

    if (!m_preedit.isEmpty()) {
        // The caret stands inside the composition, in the layout that shows it.
        int row = 0;
        qreal x = 0;
        m_layout->preeditCaret(m_preeditCursor, &row, &x);
        return QRect(rect.left() + qRound(x) - scrollX, rect.top() + (row - firstRow) * height, kCaretWidth, height);
    }

    const int row = caretRow();
    const bool atRowEnd = row != m_layout->rowOfPos(caret);
    const int x = rect.left() + qRound(m_layout->xOfPos(caret, atRowEnd)) - scrollX;
    return QRect(x, rect.top() + (row - firstRow) * height, kCaretWidth, height);
}

} // namespace platform
