#include "platform/editctl/EditControlAccessible.h"

#include "platform/editctl/AccessibleText.h"
#include "platform/editctl/EditControl.h"
#include "platform/Utf16.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The control's lines as the accessible text counts them: display rows when it wraps.
class ControlRows : public DisplayRows {
public:
    explicit ControlRows(const EditControl& control) : m_control(control) {}
    int rowCount() const override { return m_control.lineCount(); }
    int rowStart(int row) const override { return m_control.lineIndex(row); }
    int rowOfPos(int pos) const override { return m_control.lineFromChar(pos); }

private:
    const EditControl& m_control;
};

TextItem itemOf(QAccessible::TextBoundaryType type)
{
    switch (type) {
    case QAccessible::CharBoundary:
        return TextItem::Character;
    case QAccessible::WordBoundary:
        return TextItem::Word;
    case QAccessible::SentenceBoundary:
        return TextItem::Sentence;
    case QAccessible::ParagraphBoundary:
        return TextItem::Paragraph;
    case QAccessible::LineBoundary:
        return TextItem::Line;
    case QAccessible::NoBoundary:
        break;
    }
    return TextItem::Whole;
}

class EditControlAccessible : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit EditControlAccessible(EditControl* control)
        : QAccessibleWidget(control, QAccessible::EditableText), m_rows(*control)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        // The control has no read-only mode: its text is always editable.
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    // The children are the scroll bars shown; the text is the control's own, not its
    // viewport's.
    int childCount() const override { return static_cast<int>(scrollBars().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> bars = scrollBars();
        return index >= 0 && index < bars.size() ? QAccessible::queryAccessibleInterface(bars[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? static_cast<int>(scrollBars().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

    // ---- text ---------------------------------------------------------------------------------
    using QAccessibleWidget::text;  // the name, description and the like
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        int start = 0;
        int end = 0;
        control()->getSel(&start, &end);
        if (selectionIndex != 0 || start == end)
            return;
        *startOffset = accessibleText().offsetOfPos(start);
        *endOffset = accessibleText().offsetOfPos(end);
    }
    int selectionCount() const override
    {
        int start = 0;
        int end = 0;
        control()->getSel(&start, &end);
        return start == end ? 0 : 1;
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            control()->setSel(-1, 0);
    }
    // As a click and a drag would: the caret at endOffset, the selection from startOffset.
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        control()->setSel(accessibleText().posOfOffset(startOffset), accessibleText().posOfOffset(endOffset));
        control()->scrollCaret();
    }
    int cursorPosition() const override { return accessibleText().offsetOfPos(control()->buffer().caret()); }
    void setCursorPosition(int position) override
    {
        const int pos = accessibleText().posOfOffset(position);
        control()->setSel(pos, pos);
        control()->scrollCaret();
    }

    QString text(int startOffset, int endOffset) const override
    {
        return toQString(accessibleText().text(startOffset, endOffset));
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override
    {
        return itemText(offset, type, ItemPlace::Before, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override
    {
        return itemText(offset, type, ItemPlace::After, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override
    {
        return itemText(offset, type, ItemPlace::At, startOffset, endOffset);
    }
    int characterCount() const override { return accessibleText().characterCount(); }

    // The character's cell on the screen: from where the caret stands before it to where it
    // stands after it on the same row; a line end or the end of a wrapped row is an average
    // character wide.
    QRect characterRect(int offset) const override
    {
        const AccessibleText accessible = accessibleText();
        TextRange character;
        if (offset >= accessible.characterCount() || !accessible.item(offset, TextItem::Character, ItemPlace::At, &character))
            return QRect();
        const EditControl* edit = control();
        const QPoint from = edit->caretPosFromChar(accessible.posOfOffset(character.start));
        const QPoint to = edit->caretPosFromChar(accessible.posOfOffset(character.end));
        const int left = to.y() == from.y() && to.x() != from.x() ? std::min(from.x(), to.x()) : from.x();
        const int width = to.y() == from.y() && to.x() != from.x() ? std::abs(to.x() - from.x())
                                                                    : edit->averageCharWidth();
        return QRect(edit->viewport()->mapToGlobal(QPoint(left, from.y())), QSize(width, edit->lineHeight()));
    }
    // The character whose cell holds the point (screen coordinates); past the end of a line
    // its line end; -1 outside the text area and past the end of the text.
    int offsetAtPoint(const QPoint& point) const override
    {
        const EditControl* edit = control();
        const QPoint local = edit->viewport()->mapFromGlobal(point);
        if (!edit->viewport()->rect().contains(local))
            return -1;
        int row = 0;
        const int boundary = edit->charFromPos(local, &row);
        const AccessibleText accessible = accessibleText();
        int offset = accessible.offsetOfPos(boundary);
        // The nearest boundary lies right of the point in the right half of a character.
        if (boundary > edit->lineIndex(row) && edit->caretPosFromChar(boundary).x() > local.x())
            --offset;
        return offset < accessible.characterCount() ? offset : -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        control()->scrollIntoView(accessibleText().posOfOffset(startIndex), accessibleText().posOfOffset(endIndex));
    }
    // Plain text: no attributes, over the whole of it.
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        const bool inside = offset >= 0 && offset <= characterCount();
        *startOffset = inside ? 0 : -1;
        *endOffset = inside ? characterCount() : -1;
        return QString();
    }

    // ---- editing --------------------------------------------------------------------------
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        const AccessibleText accessible = accessibleText();
        const int start = accessible.posOfOffset(std::min(startOffset, endOffset));
        const int end = accessible.posOfOffset(std::max(startOffset, endOffset));
        control()->replaceText(start, end, utf16View(text));
    }

private:
    EditControl* control() const { return static_cast<EditControl*>(widget()); }
    AccessibleText accessibleText() const { return AccessibleText(control()->buffer(), m_rows); }

    QString itemText(int offset, QAccessible::TextBoundaryType type, ItemPlace place, int* startOffset,
                     int* endOffset) const
    {
        const AccessibleText accessible = accessibleText();
        TextRange range;
        const bool found = accessible.item(offset, itemOf(type), place, &range);
        *startOffset = range.start;
        *endOffset = range.end;
        return found ? toQString(accessible.text(range.start, range.end)) : QString();
    }

    QList<QWidget*> scrollBars() const
    {
        QList<QWidget*> bars;
        for (QScrollBar* bar : {control()->verticalScrollBar(), control()->horizontalScrollBar()}) {
            if (bar->isVisible())
                bars << bar;
        }
        return bars;
    }

    ControlRows m_rows;
};

QAccessibleInterface* editControlFactory(const QString&, QObject* object)
{
    if (auto* control = qobject_cast<EditControl*>(object))
        return new EditControlAccessible(control);
    return nullptr;
}

accessibility::EventSink& eventSink()
{
    static accessibility::EventSink sink;
    return sink;
}

bool listening()
{
    return eventSink() || QAccessible::isActive();
}

void send(QAccessibleEvent& event)
{
    if (eventSink())
        eventSink()(event);
    else
        QAccessible::updateAccessibility(&event);
}

} // namespace

namespace accessibility {

void installEditControlFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&editControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setEventSink(EventSink sink)
{
    eventSink() = std::move(sink);
}

void textChanged(EditControl& control, const TextBuffer::Change& change)
{
    if (!listening())
        return;
    const ControlRows rows(control);
    const TextEdit edit = AccessibleText(control.buffer(), rows).describe(change);
    if (edit.removed.empty()) {
        QAccessibleTextInsertEvent event(&control, edit.offset, toQString(edit.inserted));
        send(event);
    } else if (edit.inserted.empty()) {
        QAccessibleTextRemoveEvent event(&control, edit.offset, toQString(edit.removed));
        send(event);
    } else {
        QAccessibleTextUpdateEvent event(&control, edit.offset, toQString(edit.removed), toQString(edit.inserted));
        send(event);
    }
}

void selectionMoved(EditControl& control, int oldAnchor, int oldCaret)
{
    if (!listening())
        return;
    const TextBuffer& buffer = control.buffer();
    if (buffer.caret() != oldCaret) {
        QAccessibleTextCursorEvent event(&control, buffer.codePointsBefore(buffer.caret()));
        send(event);
    }
    // A caret that moves without a selection before or after selects nothing new.
    int start = 0;
    int end = 0;
    buffer.getSel(&start, &end);
    const int oldStart = std::min(oldAnchor, oldCaret);
    const int oldEnd = std::max(oldAnchor, oldCaret);
    if ((start != oldStart || end != oldEnd) && (start != end || oldStart != oldEnd)) {
        QAccessibleTextSelectionEvent event(&control, buffer.codePointsBefore(start), buffer.codePointsBefore(end));
        send(event);
    }
}

} // namespace accessibility
} // namespace platform
