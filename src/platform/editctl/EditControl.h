#pragma once
// Our multi-line edit control: a scroll area that shows a TextBuffer and edits it.
//
// Its methods mirror the edit-control messages the program sends, with their meaning and their
// -1 conventions. Positions are UTF-16 unit indices; a line ends with CR LF (two positions).
// With word wrap off a "line" is a logical line of the buffer; with word wrap on it is a
// display row, as the messages count them. Points are in viewport coordinates (the client
// area inside the frame and scroll bars).
//
// What the control does with keys, characters, clicks and input-method text is a layer of
// virtual hooks (onChar, onKeyDown, onLButtonDown, onImeComposition, the drag hooks). A derived
// view overrides one to look at the input before the text changes, then calls the base.
// The control keeps no undo of its own. Screen readers read and edit it through its
// accessible interface (EditControlAccessible.h).

#include "platform/editctl/TextBuffer.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QTimer>

#include <memory>
#include <string>
#include <string_view>

class QInputMethodEvent;
class QPainter;

namespace platform {

class EditLayout;
struct RowPart;

class EditControl : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The largest text limit, set by limitText(0).
    static constexpr int kLargestLimit = 0x7FFFFFFE;
    // Tab stops of a fresh control, in dialog units (eight average characters).
    static constexpr int kDefaultTabStops = 32;

    explicit EditControl(QWidget* parent = nullptr);
    ~EditControl() override;

    // The text and selection. Changes made straight to the buffer are shown and reported
    // through textChanged(); a selection set straight on it (as the undo history sets one
    // after its edit) is taken up and reported at once.
    TextBuffer& buffer() { return m_buffer; }
    const TextBuffer& buffer() const { return m_buffer; }

    // ---- text -------------------------------------------------------------------------------
    std::u16string text() const;
    QString plainText() const;
    // Replaces the whole text (the handle of a new buffer): caret at 0, scrolled to the top,
    // no textChanged(). The text limit does not apply.
    void setText(std::u16string_view text);
    void setText(const QString& text);
    int textLength() const;

    // ---- selection --------------------------------------------------------------------------
    // Ordered start and end; either pointer may be null.
    void getSel(int* start, int* end) const;
    // (0, -1) selects everything; start -1 removes the selection and keeps the caret; start
    // greater than end selects backwards (the caret at end). Does not scroll.
    void setSel(int start, int end);
    void selectAll();
    QString selectedText() const;

    // ---- editing (none of these keeps an undo) ----------------------------------------------
    // Replaces the selection, leaves the caret after the text and scrolls it into view.
    // Refused as a whole (returns false and emits maxText()) when the result would exceed
    // the text limit; a text is never cut short.
    bool replaceSel(std::u16string_view text);
    bool replaceSel(const QString& text);
    // Deletes the selection (nothing when it is empty).
    void clear();
    // Copies the selection to the clipboard as Unicode text, then deletes it; nothing when
    // the selection is empty.
    void cut();
    void copy();
    // Replaces the selection by the clipboard's text (clipboardText()); line ends are kept
    // as they are. Nothing happens when the clipboard holds no text.
    void paste();
    // The clipboard's Unicode text as paste inserts it: up to its first NUL.
    static QString clipboardText();
    // Replaces [start, end) by text as an assistive technology asks, through onReplaceText.
    void replaceText(int start, int end, std::u16string_view text) { onReplaceText(start, end, text); }
    // Whether replacing the current selection by `units` units stays within the limit.
    bool fitsLimit(int units) const;
    // The text onChar(c) puts in place of the selection (TextBuffer::typedText(c), a view of
    // c or of a literal), or nothing: for a unit that types nothing, and when the limit
    // refuses the text.
    std::u16string_view typedInsertion(const char16_t& c) const;
    // Largest number of units the text may reach by editing; 0 or less means the largest.
    void limitText(int units);
    int textLimit() const { return m_limit; }

    // ---- lines (display rows when wrapping) ---------------------------------------------------
    int lineCount() const;
    // First position of line; -1: the caret's line. -1 for a line that does not exist.
    int lineIndex(int line) const;
    // Line that holds pos; -1: the line of the selection start. Past the end: the last line.
    int lineFromChar(int pos) const;
    // Length of the line that holds pos, without its CR LF; -1: the units that are not
    // selected on the lines the selection touches.
    int lineLength(int pos) const;
    int firstVisibleLine() const;
    // Scrolls by lines (rows) and by columns of the average character width; columns do
    // nothing while wrapping. Always succeeds, as for a multi-line control.
    bool lineScroll(int columns, int lines);
    // Scrolls the caret into view.
    void scrollCaret();
    // Scrolls the text between the positions start and end into view, start first when not
    // all of it fits.
    void scrollIntoView(int start, int end);

    // ---- geometry ---------------------------------------------------------------------------
    // Top-left of the character cell at i. As the edit control does, (-1, -1) when i is not a
    // character of the text (i < 0 or i >= textLength()).
    QPoint posFromChar(int i) const;
    // Where the caret stands at boundary i (0..textLength(), clipped); the end of the text
    // included. Inside a CR LF: the end of its line.
    QPoint caretPosFromChar(int i) const;
    // The boundary nearest to point; *line (if given) receives its line (row).
    int charFromPos(QPoint point, int* line = nullptr) const;
    // The rectangle text is drawn in: the viewport less the left and right margins.
    QRect formattingRect() const;
    // Height of one line (row) of text: the font's height.
    int lineHeight() const;
    // The average character width of the font (platform/AverageCharWidth.h), unrounded: a
    // tab stop of 16 dialog units is exactly four Latin letters of a monospaced face.
    qreal averageCharWidth() const;
    // One column of horizontal scrolling: the average character width in whole pixels.
    int columnWidth() const;
    // Puts the caret at point without changing the selection, as a drop target does while
    // dragging over; the caret returns to the selection at the next change or scroll.
    void setCaretPos(QPoint point);

    // ---- appearance -------------------------------------------------------------------------
    // Distance between tab stops, in dialog units (4 = one average character width).
    // 0 or less restores the default of 32.
    void setTabStops(int dialogUnits);
    int tabStops() const { return m_tabStopsDlu; }
    // The distance between tab stops in pixels: tabStops() quarters of the average character.
    qreal tabStopDistance() const;
    // Left and right margins in pixels (2 and 2 in a fresh control); negative values count as 0.
    void setMargins(int left, int right);
    int leftMargin() const { return m_leftMargin; }
    int rightMargin() const { return m_rightMargin; }
    void setWordWrap(bool wrap);
    bool wordWrap() const { return m_wordWrap; }
    // Turns painting off and on; turning it on repaints.
    void setRedraw(bool redraw);
    bool redraw() const { return m_redraw; }

    // What input methods ask: caret rectangle (widget coordinates), the caret's line as
    // surrounding text, the selection.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // After every change of the text except setText().
    void textChanged();
    // After the selection or caret moved.
    void selectionChanged();
    // An edit was refused because the text would exceed its limit.
    void maxText();

protected:
    // ---- default processing, one hook per kind of input -------------------------------------
    // A character: CR or LF inserts CR LF, 8 is Backspace, TAB and every unit from U+0020
    // replace the selection (the two units of a pair arrive one after the other, each
    // inserted where the caret is, so the pair ends up whole), other controls do nothing.
    virtual void onChar(char16_t c);
    // A key going down: Delete and the navigation keys (Shift extends, Ctrl moves by words
    // or to the ends of the text). Other keys do nothing here.
    virtual void onKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Left button pressed: caret to the nearest boundary (Shift extends) and drag-select.
    virtual void onLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    // Left button double-clicked: selects the word under the point.
    virtual void onLButtonDblClk(QPoint point, Qt::KeyboardModifiers modifiers);
    // Input-method text: the composition is drawn in place and the view follows its caret;
    // committed text goes through replaceSel.
    virtual void onImeComposition(const QInputMethodEvent& event);
    // The range around the caret that an input method's commit replaces (a reconversion, a
    // correction), clipped to the text; false when the commit replaces the selection.
    bool imeReplacementRange(const QInputMethodEvent& event, int* start, int* end) const;
    // Text written by an assistive technology: selects [start, end) and replaces the
    // selection by text, leaving the caret after it.
    virtual void onReplaceText(int start, int end, std::u16string_view text);
    // Drag and drop: the control itself accepts no drops.
    virtual void onDragEnter(QDragEnterEvent* event);
    virtual void onDragMove(QDragMoveEvent* event);
    virtual void onDragLeave(QDragLeaveEvent* event);
    virtual void onDrop(QDropEvent* event);

    // ---- Qt events ----------------------------------------------------------------------------
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    enum class MouseSelection { None, Characters, Words };

    // text and selection bookkeeping (EditControl.cpp)
    void bufferChanged(const TextBuffer::Change& change);
    void syncSelection();
    void deleteRange(int start, int end);
    void moveCaret(int pos, bool extend, bool atRowEnd = false);
    int caretRow() const;
    // Repaints rows first to last (as far as they are visible); last may be INT_MAX.
    void updateRows(int first, int last);

    // geometry and scrolling (EditControlGeometry.cpp)
    void applyTabStops();
    void applyWrapWidth();
    void updateScrollBars();
    int fullyVisibleRows() const;
    QRect caretRect() const;
    void ensureVisible(int row, qreal x);

    // input helpers (EditControlInput.cpp)
    bool isLeftToAccelerators(const QKeyEvent& event) const;
    bool isHandledKey(const QKeyEvent& event) const;
    void moveVertically(int rows, bool extend);
    void extendMouseSelection(QPoint point);
    void autoScrollTick();

    // painting (EditControlPaint.cpp)
    void restartCaretBlink();
    void blinkCaret();
    // Draws the boxes of control characters in one row of a drawn part over their cells.
    void paintSymbols(QPainter& painter, const RowPart& part, QPointF origin, const QRect& band,
                      int selStart, int selEnd) const;

    TextBuffer m_buffer;
    std::unique_ptr<EditLayout> m_layout;
    int m_observerId = 0;
    int m_lineCount = 1;            // the buffer's line count before the latest change
    bool m_settingText = false;
    bool m_selectionPushed = false;  // the buffer reported a selection set straight on it

    int m_limit = kLargestLimit;
    int m_tabStopsDlu = kDefaultTabStops;
    int m_leftMargin = 2;
    int m_rightMargin = 2;
    bool m_wordWrap = false;
    bool m_redraw = true;
    qreal m_widestInScrollBar = 0;  // widest line the horizontal range was last set from
    int m_rowCount = 1;             // rows the vertical range was last set from

    // The caret, where the selection ends; at a wrap point it may be drawn at the end of
    // the row before (after End or a click past a wrapped row).
    bool m_caretAtRowEnd = false;
    qreal m_goalX = -1;             // x kept while moving up and down
    bool m_caretShown = true;
    QTimer m_caretTimer;
    QPoint m_caretOverride{-1, -1}; // setCaretPos while dragging over
    bool m_hasCaretOverride = false;

    int m_lastAnchor = 0;
    int m_lastCaret = 0;

    MouseSelection m_mouseSelection = MouseSelection::None;
    int m_wordAnchorStart = 0;
    int m_wordAnchorEnd = 0;
    QPoint m_lastMousePoint;
    QTimer m_autoScrollTimer;

    QString m_preedit;
    QList<QTextLayout::FormatRange> m_preeditFormats;
    int m_preeditCursor = 0;
    bool m_preeditCursorVisible = true;
};

} // namespace platform
