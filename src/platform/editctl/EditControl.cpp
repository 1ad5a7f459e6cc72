#include "platform/editctl/EditControl.h"

#include "platform/editctl/EditControlAccessible.h"
#include "platform/editctl/EditLayout.h"
#include "platform/editctl/SteadyScrollBar.h"
#include "platform/Utf16.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>

#include <algorithm>
#include <utility>
#include <climits>

namespace platform {

EditControl::EditControl(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_layout(std::make_unique<EditLayout>(m_buffer))
{
    accessibility::installEditControlFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new SteadyScrollBar(Qt::Horizontal, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_layout->setFont(font());
    applyTabStops();
    m_lineCount = m_buffer.lineCount();
    m_observerId = m_buffer.addObserver([this](const TextBuffer::Change& change) { bufferChanged(change); });
    m_buffer.setSelectionListener([this] {
        syncSelection();
        m_selectionPushed = true;
    });

    connect(&m_caretTimer, &QTimer::timeout, this, &EditControl::blinkCaret);
    m_autoScrollTimer.setInterval(50);
    connect(&m_autoScrollTimer, &QTimer::timeout, this, &EditControl::autoScrollTick);
    updateScrollBars();
}

EditControl::~EditControl()
{
    m_buffer.removeObserver(m_observerId);
}

// ---- keeping up with the buffer -----------------------------------------------------------

void EditControl::bufferChanged(const TextBuffer::Change& change)
{
    // Screen readers hear of a change once the layout has caught up with it, so that what
    // they ask meanwhile is answered from the new text.
    if (m_settingText) {
        m_lineCount = m_buffer.lineCount();
        // A new text is laid out from scratch, once, with fresh measurements (the widest
        // line among them).
        m_layout->reset();
        accessibility::textChanged(*this, change);
        return;
    }
    m_layout->textChanged(change, m_lineCount);
    m_lineCount = m_buffer.lineCount();
    m_caretAtRowEnd = false;
    m_goalX = -1;
    m_hasCaretOverride = false;
    const int rowsBefore = m_rowCount;
    updateScrollBars();
    // Only the rows the edit laid out anew are drawn again, unless rows moved below them.
    int first = 0;
    int end = 0;
    m_layout->changedRows(&first, &end);
    updateRows(first, end < 0 || m_rowCount != rowsBefore ? INT_MAX : end - 1);
    accessibility::textChanged(*this, change);
    emit textChanged();
}

void EditControl::syncSelection()
{
    if (m_buffer.anchor() == m_lastAnchor && m_buffer.caret() == m_lastCaret) {
        // Pushed by the buffer in the middle of one of our own moves: the input method
        // learns where the move ended (after scrolling) now.
        if (std::exchange(m_selectionPushed, false))
            updateMicroFocus();
        return;
    }
    // The rows between the old and the new ends of the selection change their look; the
    // row before takes in a caret drawn at the end of a wrapped row.
    const int low = std::min({m_lastAnchor, m_lastCaret, m_buffer.anchor(), m_buffer.caret()});
    const int high = std::max({m_lastAnchor, m_lastCaret, m_buffer.anchor(), m_buffer.caret()});
    accessibility::selectionMoved(*this, m_lastAnchor, m_lastCaret);
    m_lastAnchor = m_buffer.anchor();
    m_lastCaret = m_buffer.caret();
    updateRows(m_layout->rowOfPos(low) - 1, m_layout->rowOfPos(high));
    updateMicroFocus();
    emit selectionChanged();
}

// ---- text ---------------------------------------------------------------------------------

std::u16string EditControl::text() const
{
    return m_buffer.text();
}

QString EditControl::plainText() const
{
    return toQString(m_buffer.text());
}

void EditControl::setText(std::u16string_view text)
{
    m_settingText = true;
    m_buffer.setText(text);
    m_settingText = false;
    m_hasCaretOverride = false;
    m_caretAtRowEnd = false;
    m_goalX = -1;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    syncSelection();
}

void EditControl::setText(const QString& text)
{
    setText(utf16View(text));
}

int EditControl::textLength() const
{
    return m_buffer.length();
}

// ---- selection ----------------------------------------------------------------------------

void EditControl::getSel(int* start, int* end) const
{
    int s = 0;
    int e = 0;
    m_buffer.getSel(&s, &e);
    if (start)
        *start = s;
    if (end)
        *end = e;
}

void EditControl::setSel(int start, int end)
{
    m_buffer.setSel(start, end);
    m_caretAtRowEnd = false;
    m_goalX = -1;
    m_hasCaretOverride = false;
    restartCaretBlink();
    viewport()->update();
    syncSelection();
}

void EditControl::selectAll()
{
    setSel(0, -1);
}

QString EditControl::selectedText() const
{
    return toQString(m_buffer.selectedText());
}

// ---- editing ------------------------------------------------------------------------------

bool EditControl::fitsLimit(int units) const
{
    int start = 0;
    int end = 0;
    m_buffer.getSel(&start, &end);
    const long long result = static_cast<long long>(m_buffer.length()) - (end - start) + units;
    return result <= m_limit;
}

std::u16string_view EditControl::typedInsertion(const char16_t& c) const
{
    const std::u16string_view text = TextBuffer::typedText(c);
    return fitsLimit(static_cast<int>(text.size())) ? text : std::u16string_view();
}

void EditControl::limitText(int units)
{
    m_limit = units > 0 ? units : kLargestLimit;
}

bool EditControl::replaceSel(std::u16string_view text)
{
    int start = 0;
    int end = 0;
    m_buffer.getSel(&start, &end);
    if (text.empty() && start == end)
        return true;   // nothing to replace: the text does not change, so nothing is reported
    if (!fitsLimit(static_cast<int>(text.size()))) {
        emit maxText();
        return false;
    }
    m_buffer.replaceSel(text);
    scrollCaret();
    restartCaretBlink();
    syncSelection();
    return true;
}

bool EditControl::replaceSel(const QString& text)
{
    return replaceSel(utf16View(text));
}

void EditControl::onReplaceText(int start, int end, std::u16string_view text)
{
    setSel(start, end);
    replaceSel(text);
}

void EditControl::deleteRange(int start, int end)
{
    if (start >= end)
        return;
    m_buffer.replace(start, end, std::u16string_view());
    scrollCaret();
    restartCaretBlink();
    syncSelection();
}

void EditControl::clear()
{
    int start = 0;
    int end = 0;
    m_buffer.getSel(&start, &end);
    deleteRange(start, end);
}

void EditControl::cut()
{
    int start = 0;
    int end = 0;
    m_buffer.getSel(&start, &end);
    if (start == end)
        return;
    copy();
    clear();
}

void EditControl::copy()
{
    const QString selected = selectedText();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(selected);
}

void EditControl::paste()
{
    const QString text = clipboardText();
    if (!text.isEmpty())
        replaceSel(text);
}

QString EditControl::clipboardText()
{
    QString text = QGuiApplication::clipboard()->text();
    // Unicode text on the clipboard ends at its first NUL, however long the data is.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

// ---- lines --------------------------------------------------------------------------------

int EditControl::lineCount() const
{
    return m_layout->rowCount();
}

int EditControl::lineIndex(int line) const
{
    if (!m_wordWrap)
        return m_buffer.lineIndex(line);
    if (line == -1)
        line = m_layout->rowOfPos(m_buffer.caret());
    if (line < 0 || line >= m_layout->rowCount())
        return -1;
    return m_layout->rowStart(line);
}

int EditControl::lineFromChar(int pos) const
{
    if (!m_wordWrap)
        return m_buffer.lineFromChar(pos);
    if (pos == -1)
        getSel(&pos, nullptr);
    return m_layout->rowOfPos(std::max(0, pos));
}

int EditControl::lineLength(int pos) const
{
    if (!m_wordWrap)
        return m_buffer.lineLength(pos);
    if (pos == -1) {
        int start = 0;
        int end = 0;
        m_buffer.getSel(&start, &end);
        const int before = start - m_layout->rowStart(m_layout->rowOfPos(start));
        const int after = m_layout->rowEnd(m_layout->rowOfPos(end)) - end;
        return std::max(0, before) + std::max(0, after);
    }
    const int row = m_layout->rowOfPos(std::max(0, pos));
    return m_layout->rowEnd(row) - m_layout->rowStart(row);
}

void EditControl::scrollIntoView(int start, int end)
{
    for (int pos : {std::clamp(end, 0, textLength()), std::clamp(start, 0, textLength())})
        ensureVisible(m_layout->rowOfPos(pos), m_layout->xOfPos(pos));
}

void EditControl::updateRows(int first, int last)
{
    // Rows after a composition that gives its line more rows are drawn further down.
    if (const int extra = m_layout->preeditExtraRows(); extra > 0 && last < INT_MAX - extra)
        last += extra;
    const int top = verticalScrollBar()->value();
    const int from = std::max(first, top) - top;
    const int to = static_cast<int>(std::min<long long>(last, static_cast<long long>(top) + fullyVisibleRows() + 1)) - top;
    if (to < from)
        return;
    const int height = lineHeight();
    viewport()->update(QRect(0, formattingRect().top() + from * height, viewport()->width(), (to - from + 1) * height));
}

int EditControl::caretRow() const
{
    const int caret = m_buffer.caret();
    const int row = m_layout->rowOfPos(caret);
    if (m_caretAtRowEnd && row > 0 && caret == m_layout->rowStart(row) && m_layout->rowEndsByWrap(row - 1))
        return row - 1;
    return row;
}

// ---- appearance ---------------------------------------------------------------------------

void EditControl::setTabStops(int dialogUnits)
{
    m_tabStopsDlu = dialogUnits > 0 ? dialogUnits : kDefaultTabStops;
    applyTabStops();
    updateScrollBars();
    viewport()->update();
}

void EditControl::setMargins(int left, int right)
{
    m_leftMargin = std::max(0, left);
    m_rightMargin = std::max(0, right);
    applyWrapWidth();
    updateScrollBars();
    viewport()->update();
}

void EditControl::setWordWrap(bool wrap)
{
    if (wrap == m_wordWrap)
        return;
    const int topPos = m_layout->rowStart(verticalScrollBar()->value());
    m_wordWrap = wrap;
    m_caretAtRowEnd = false;
    m_goalX = -1;
    horizontalScrollBar()->setValue(0);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    applyWrapWidth();
    updateScrollBars();
    // Keep the text that was at the top of the window there.
    verticalScrollBar()->setValue(m_layout->rowOfPos(topPos));
    viewport()->update();
}

void EditControl::setRedraw(bool redraw)
{
    m_redraw = redraw;
    viewport()->setUpdatesEnabled(redraw);
    if (redraw) {
        updateScrollBars();
        viewport()->update();
    }
}

void EditControl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layout->setFont(font());
        applyTabStops();   // tab stops count average characters of the new font
        applyWrapWidth();
        updateScrollBars();
        viewport()->update();
        updateMicroFocus();
    }
}

} // namespace platform
