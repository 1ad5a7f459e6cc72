// Keyboard, mouse, input-method and drag input of the edit control, and its default
// processing hooks.
#include "platform/editctl/EditControl.h"

#include "platform/Utf16.h"
#include "platform/editctl/EditLayout.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCharFormat>

#include <algorithm>
#include <climits>

#include <unicode/utf16.h>

namespace platform {

namespace {

// Units of surrounding text offered to an input method on each side of the caret.
constexpr int kSurroundingUnits = 512;

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- keys ---------------------------------------------------------------------------------

bool EditControl::isLeftToAccelerators(const QKeyEvent& event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return true;
    if (modifiers & Qt::ControlModifier) {
        // Ctrl moves by words and to the ends of the text; Ctrl+Enter and Ctrl+Backspace
        // still type. Every other Ctrl combination belongs to the frame's accelerators,
        // including those whose command is disabled at the moment.
        return !(isNavigationKey(key) || key == Qt::Key_Return || key == Qt::Key_Enter
                 || key == Qt::Key_Backspace);
    }
    // Shift+Delete cuts and Shift+Insert pastes; Insert alone has no meaning here.
    return key == Qt::Key_Insert || ((modifiers & Qt::ShiftModifier) && key == Qt::Key_Delete);
}

bool EditControl::isHandledKey(const QKeyEvent& event) const
{
    if (isLeftToAccelerators(event))
        return false;
    const int key = event.key();
    if (isNavigationKey(key))
        return true;
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Escape:
        return false;   // a dialog or the frame may want it
    default:
        return !event.text().isEmpty() && event.text().front().unicode() >= 0x20;
    }
}

bool EditControl::event(QEvent* event)
{
    // Keys the control types or moves with win over single-key shortcuts, as in any text
    // field; accelerator keys are left to the frame.
    if (event->type() == QEvent::ShortcutOverride && isHandledKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

bool EditControl::focusNextPrevChild(bool)
{
    return false;   // Tab types a tab
}

void EditControl::keyPressEvent(QKeyEvent* event)
{
    if (isLeftToAccelerators(*event)) {
        event->ignore();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;

    onKeyDown(key, modifiers);

    // The characters a key produces, as the system delivers them after the key went down.
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onChar(control ? u'\n' : u'\r');
        break;
    case Qt::Key_Backspace:
        onChar(control ? char16_t(0x7F) : char16_t(0x08));
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        onChar(u'\t');
        break;
    case Qt::Key_Escape:
        onChar(char16_t(0x1B));
        break;
    case Qt::Key_Delete:
        break;   // its text is DEL, but the key deletes rather than types
    default:
        if (!isNavigationKey(key)) {
            const QString text = event->text();
            for (QChar unit : text)
                onChar(unit.unicode());
        }
        break;
    }
    event->accept();
}

void EditControl::onKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    int start = 0;
    int end = 0;
    m_buffer.getSel(&start, &end);
    const int caret = m_buffer.caret();

    switch (key) {
    case Qt::Key_Left:
        if (control)
            moveCaret(m_buffer.prevWordBoundary(caret), extend);
        else if (!extend && start != end)
            moveCaret(start, false);
        else
            moveCaret(m_buffer.prevCharBoundary(caret), extend);
        break;
    case Qt::Key_Right:
        if (control)
            moveCaret(m_buffer.nextWordBoundary(caret), extend);
        else if (!extend && start != end)
            moveCaret(end, false);
        else
            moveCaret(m_buffer.nextCharBoundary(caret), extend);
        break;
    case Qt::Key_Up:
        moveVertically(-1, extend);
        break;
    case Qt::Key_Down:
        moveVertically(1, extend);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int page = key == Qt::Key_PageUp ? -fullyVisibleRows() : fullyVisibleRows();
        QScrollBar* vertical = verticalScrollBar();
        vertical->setValue(vertical->value() + page);
        moveVertically(page, extend);
        break;
    }
    case Qt::Key_Home:
        moveCaret(control ? 0 : m_layout->rowStart(caretRow()), extend);
        break;
    case Qt::Key_End:
        if (control) {
            moveCaret(m_buffer.length(), extend);
        } else {
            const int row = caretRow();
            moveCaret(m_layout->rowEnd(row), extend, m_layout->rowEndsByWrap(row));
        }
        break;
    case Qt::Key_Delete:
        if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier))
            break;   // cut and the view's delete commands, bound as accelerators
        m_buffer.keyDeletionRange(true, &start, &end);
        deleteRange(start, end);
        break;
    default:
        break;
    }
}

void EditControl::onChar(char16_t c)
{
    if (c == TextBuffer::kBackspace) {
        int start = 0;
        int end = 0;
        m_buffer.keyDeletionRange(false, &start, &end);
        deleteRange(start, end);
        return;
    }
    // Refused as a whole at the limit, as any replacement of the selection is; the other
    // control characters type nothing.
    if (const std::u16string_view text = TextBuffer::typedText(c); !text.empty())
        replaceSel(text);
}

void EditControl::moveCaret(int pos, bool extend, bool atRowEnd)
{
    viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
    m_buffer.setSel(extend ? m_buffer.anchor() : pos, pos);
    m_caretAtRowEnd = atRowEnd;
    m_goalX = -1;
    m_hasCaretOverride = false;
    scrollCaret();
    restartCaretBlink();
    syncSelection();
}

void EditControl::moveVertically(int rows, bool extend)
{
    const int row = caretRow();
    if (m_goalX < 0)
        m_goalX = m_layout->xOfPos(m_buffer.caret(), row != m_layout->rowOfPos(m_buffer.caret()));
    const int target = std::clamp(row + rows, 0, m_layout->rowCount() - 1);
    if (target == row)
        return;
    const int pos = m_layout->posAtX(target, m_goalX);
    const bool atRowEnd = pos == m_layout->rowEnd(target) && m_layout->rowEndsByWrap(target);
    const qreal goal = m_goalX;
    moveCaret(pos, extend, atRowEnd);
    m_goalX = goal;   // kept, so passing a short line does not pull the caret left
}

// ---- mouse --------------------------------------------------------------------------------

void EditControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    onLButtonDown(event->position().toPoint(), event->modifiers());
    event->accept();
}

void EditControl::mouseMoveEvent(QMouseEvent* event)
{
    if (m_mouseSelection == MouseSelection::None || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    m_lastMousePoint = event->position().toPoint();
    extendMouseSelection(m_lastMousePoint);
    // Outside the window the selection keeps growing (and scrolling) while the button is held.
    if (viewport()->rect().contains(m_lastMousePoint))
        m_autoScrollTimer.stop();
    else if (!m_autoScrollTimer.isActive())
        m_autoScrollTimer.start();
    event->accept();
}

void EditControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_mouseSelection = MouseSelection::None;
    m_autoScrollTimer.stop();
    event->accept();
}

void EditControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    onLButtonDblClk(event->position().toPoint(), event->modifiers());
    event->accept();
}

void EditControl::onLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers)
{
    int row = 0;
    const int pos = charFromPos(point, &row);
    // A click past the end of a wrapped row leaves the caret at that row's end.
    const bool atRowEnd = pos == m_layout->rowEnd(row) && m_layout->rowEndsByWrap(row);
    moveCaret(pos, modifiers & Qt::ShiftModifier, atRowEnd);
    m_mouseSelection = MouseSelection::Characters;
    m_lastMousePoint = point;
}

void EditControl::onLButtonDblClk(QPoint point, Qt::KeyboardModifiers)
{
    int start = 0;
    int end = 0;
    m_buffer.wordAt(charFromPos(point), &start, &end);
    m_wordAnchorStart = start;
    m_wordAnchorEnd = end;
    m_mouseSelection = MouseSelection::Words;
    m_lastMousePoint = point;
    m_buffer.setSel(start, end);
    m_caretAtRowEnd = false;
    m_goalX = -1;
    scrollCaret();
    restartCaretBlink();
    viewport()->update();
    syncSelection();
}

void EditControl::extendMouseSelection(QPoint point)
{
    int row = 0;
    const int pos = charFromPos(point, &row);
    if (m_mouseSelection == MouseSelection::Characters) {
        moveCaret(pos, true, pos == m_layout->rowEnd(row) && m_layout->rowEndsByWrap(row));
        return;
    }
    // After a double-click the selection grows by whole words and always keeps the first.
    int start = 0;
    int end = 0;
    m_buffer.wordAt(pos, &start, &end);
    if (pos < m_wordAnchorStart)
        m_buffer.setSel(m_wordAnchorEnd, start);
    else
        m_buffer.setSel(m_wordAnchorStart, std::max(end, m_wordAnchorEnd));
    m_caretAtRowEnd = false;
    scrollCaret();
    viewport()->update();
    syncSelection();
}

void EditControl::autoScrollTick()
{
    // The point lies outside the window: selecting toward it scrolls by one step.
    extendMouseSelection(m_lastMousePoint);
}

// ---- input method -------------------------------------------------------------------------

void EditControl::inputMethodEvent(QInputMethodEvent* event)
{
    onImeComposition(*event);
    event->accept();
}

void EditControl::onImeComposition(const QInputMethodEvent& event)
{
    // Rows the composition shown until now added to its line, as they were drawn.
    const int extraRowsBefore = m_layout->preeditExtraRows();
    const int drawnRowsBefore = m_layout->preeditDrawnRows();
    const bool wasComposing = !m_preedit.isEmpty();
    const QString commit = event.commitString();
    if (int start = 0, end = 0; imeReplacementRange(event, &start, &end))
        m_buffer.setSel(start, end);   // that range, not the selection, is what goes
    if (!commit.isEmpty() || event.replacementLength() > 0) {
        // The text goes in where the composition stood: the view, the scroll range and the
        // input method follow the text's own caret while it does.
        m_preedit.clear();
        replaceSel(commit);
    }

    m_preedit = event.preeditString();
    m_preeditFormats.clear();
    m_preeditCursor = static_cast<int>(m_preedit.size());
    m_preeditCursorVisible = true;
    for (const QInputMethodEvent::Attribute& attribute : event.attributes()) {
        if (attribute.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
            if (format.isValid())
                m_preeditFormats.append({attribute.start, attribute.length, format});
        } else if (attribute.type == QInputMethodEvent::Cursor) {
            m_preeditCursor = attribute.start;
            m_preeditCursorVisible = attribute.length != 0;
        }
    }
    if (!m_preedit.isEmpty() && m_preeditFormats.isEmpty()) {
        // An input method that gives no formats still gets its composition underlined.
        QTextCharFormat underline;
        underline.setFontUnderline(true);
        m_preeditFormats.append({0, static_cast<int>(m_preedit.size()), underline});
    }
    m_layout->setPreedit(m_preedit, m_preeditFormats);
    if (!m_preedit.isEmpty() || wasComposing) {
        // The vertical range takes in the rows the composition adds, or gives them back when
        // it ends, before the view follows its caret as it follows the caret when typing.
        updateScrollBars();
        if (!m_preedit.isEmpty()) {
            int caretRowNow = 0;
            qreal caretX = 0;
            m_layout->preeditCaret(m_preeditCursor, &caretRowNow, &caretX);
            ensureVisible(caretRowNow, caretX);
        } else {
            scrollCaret();
        }
    }
    restartCaretBlink();
    // The composition reshapes the caret's row; with wrapping, the rows after it in a line
    // laid out as one may move too, in a long line the rows it re-flows (those it drew
    // differently), and when it changes the rows the line takes, so do all the lines after it.
    const int row = caretRow();
    const int line = m_buffer.lineFromChar(m_buffer.caret());
    if (m_layout->preeditExtraRows() != extraRowsBefore)
        updateRows(row, INT_MAX);
    else if (m_wordWrap && !m_layout->isLong(line))
        updateRows(row, m_layout->firstRowOfLine(line + 1) - 1);
    else   // drawn rows, which updateRows takes for the text's rows after the composition
        updateRows(row, row + std::max(m_preedit.isEmpty() ? drawnRowsBefore : 1, m_layout->preeditChangedRows()) - 1
                            - m_layout->preeditExtraRows());
    updateMicroFocus();
}

bool EditControl::imeReplacementRange(const QInputMethodEvent& event, int* start, int* end) const
{
    if (event.replacementLength() <= 0 && (event.commitString().isEmpty() || event.replacementStart() == 0))
        return false;
    const int length = m_buffer.length();
    *start = std::clamp(m_buffer.caret() + event.replacementStart(), 0, length);
    *end = std::clamp(*start + event.replacementLength(), *start, length);
    return true;
}

QVariant EditControl::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const int caret = m_buffer.caret();
    // The surrounding text is the caret's line, cut to a window around the caret so that a
    // very long line is not copied whole at every query.
    const auto window = [&](int* from, int* to) {
        const int line = m_buffer.lineFromChar(caret);
        const int lineStart = m_buffer.lineIndex(line);
        const int lineEnd = m_buffer.lineEnd(line);
        *from = std::max(lineStart, caret - kSurroundingUnits);
        *to = std::max(*from, std::min(lineEnd, caret + kSurroundingUnits));
        if (*from > lineStart && U16_IS_TRAIL(m_buffer.at(*from)))
            --*from;
        if (*to < lineEnd && U16_IS_TRAIL(m_buffer.at(*to)))
            ++*to;
    };
    const auto range = [&](int from, int to) {
        return toQString(m_buffer.textRange(from, to - from));
    };
    int from = 0;
    int to = 0;
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return QRectF(caretRect().translated(viewport()->geometry().topLeft()));
    case Qt::ImFont:
        return font();
    case Qt::ImHints:
        return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImMaximumTextLength:
        return m_limit;
    case Qt::ImAbsolutePosition:
        return caret;
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImSurroundingText:
        window(&from, &to);
        return range(from, to);
    case Qt::ImCursorPosition:
        window(&from, &to);
        return std::clamp(caret, from, to) - from;
    case Qt::ImAnchorPosition:
        window(&from, &to);
        return std::clamp(m_buffer.anchor(), from, to) - from;
    case Qt::ImTextBeforeCursor:
        window(&from, &to);
        return range(from, std::clamp(caret, from, to));
    case Qt::ImTextAfterCursor:
        window(&from, &to);
        return range(std::clamp(caret, from, to), to);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- drag and drop ------------------------------------------------------------------------

void EditControl::dragEnterEvent(QDragEnterEvent* event) { onDragEnter(event); }
void EditControl::dragMoveEvent(QDragMoveEvent* event) { onDragMove(event); }
void EditControl::dragLeaveEvent(QDragLeaveEvent* event) { onDragLeave(event); }
void EditControl::dropEvent(QDropEvent* event) { onDrop(event); }

void EditControl::onDragEnter(QDragEnterEvent* event) { QAbstractScrollArea::dragEnterEvent(event); }
void EditControl::onDragMove(QDragMoveEvent* event) { QAbstractScrollArea::dragMoveEvent(event); }
void EditControl::onDragLeave(QDragLeaveEvent* event) { QAbstractScrollArea::dragLeaveEvent(event); }
void EditControl::onDrop(QDropEvent* event) { QAbstractScrollArea::dropEvent(event); }

} // namespace platform
