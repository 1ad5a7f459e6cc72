// The edit control as a screen reader sees it through Qt's accessibility interfaces: role and
// states, text, caret and selection in characters (code points), rows, geometry, and the
// events each change sends.
#include "EditControlTestSupport.h"

#include "platform/editctl/EditControlAccessible.h"

#include <QAccessible>
#include <QScrollBar>

#include <string>
#include <vector>

using quillet_test::EditControlTest;

namespace {

QAccessibleInterface* accessibleOf(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// One event as a bridge would pass it on: its kind, position and text.
struct Told {
    QAccessible::Event type;
    int position;
    QString removed;
    QString inserted;
    bool operator==(const Told&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Told& told)
{
    return out << int(told.type) << " at " << told.position << " -" << told.removed.toStdString()
               << " +" << told.inserted.toStdString();
}

// Collects the control's events while it lives, as if a screen reader listened.
class EventLog {
public:
    EventLog()
    {
        platform::accessibility::setEventSink([this](QAccessibleEvent& event) {
            Told told{event.type(), -1, {}, {}};
            switch (event.type()) {
            case QAccessible::TextInserted: {
                auto& e = static_cast<QAccessibleTextInsertEvent&>(event);
                told = {e.type(), e.changePosition(), {}, e.textInserted()};
                break;
            }
            case QAccessible::TextRemoved: {
                auto& e = static_cast<QAccessibleTextRemoveEvent&>(event);
                told = {e.type(), e.changePosition(), e.textRemoved(), {}};
                break;
            }
            case QAccessible::TextUpdated: {
                auto& e = static_cast<QAccessibleTextUpdateEvent&>(event);
                told = {e.type(), e.changePosition(), e.textRemoved(), e.textInserted()};
                break;
            }
            case QAccessible::TextCaretMoved:
                told.position = static_cast<QAccessibleTextCursorEvent&>(event).cursorPosition();
                break;
            case QAccessible::TextSelectionChanged: {
                auto& e = static_cast<QAccessibleTextSelectionEvent&>(event);
                told = {e.type(), e.selectionStart(), {}, QString::number(e.selectionEnd())};
                break;
            }
            default:
                break;
            }
            events.push_back(told);
        });
    }
    ~EventLog() { platform::accessibility::setEventSink({}); }
    std::vector<Told> take() { return std::exchange(events, {}); }

private:
    std::vector<Told> events;
};

constexpr auto kInsert = QAccessible::TextInserted;
constexpr auto kRemove = QAccessible::TextRemoved;
constexpr auto kUpdate = QAccessible::TextUpdated;
constexpr auto kCaret = QAccessible::TextCaretMoved;
constexpr auto kSelection = QAccessible::TextSelectionChanged;

} // namespace

TEST_F(EditControlTest, ScreenReadersSeeAnEditableTextInCharacters)
{
    // Code points: 日0 😀1 a2 CR3 LF4 b5 😀6 c7; units: the faces are two each.
    edit->setText(u"日\U0001F600a\r\nb\U0001F600c");
    edit->setAccessibleName(QStringLiteral("memo.txt"));
    QAccessibleInterface* accessible = accessibleOf(edit.get());
    ASSERT_TRUE(accessible && accessible->isValid());
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("memo.txt"));
    const QAccessible::State state = accessible->state();
    EXPECT_TRUE(state.editable && state.multiLine && state.focusable && state.focused && !state.readOnly);
    // The scroll bars are its children; the viewport is not a child of its own.
    ASSERT_EQ(accessible->childCount(), 2);
    EXPECT_EQ(accessible->child(0)->role(), QAccessible::ScrollBar);
    EXPECT_EQ(accessible->indexOfChild(accessibleOf(edit->horizontalScrollBar())), 1);

    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_TRUE(text && accessible->editableTextInterface());
    EXPECT_EQ(text->characterCount(), 8);
    EXPECT_EQ(text->text(0, 8), edit->plainText());
    EXPECT_EQ(text->text(1, 3), QStringLiteral("\U0001F600a"));

    // Caret and selection, read and set, in characters; the control works in units.
    edit->setSel(9, 9);  // after "b😀"
    EXPECT_EQ(text->cursorPosition(), 7);
    text->setCursorPosition(2);
    EXPECT_EQ(sel(), std::make_pair(3, 3));
    text->setSelection(0, 6, 1);  // backwards: the caret ends at 1
    EXPECT_EQ(sel(), std::make_pair(1, 7));
    EXPECT_EQ(edit->buffer().caret(), 1);
    EXPECT_EQ(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 6));
    text->removeSelection(0);
    EXPECT_EQ(text->selectionCount(), 0);
    EXPECT_EQ(sel(), std::make_pair(1, 1));

    // Lines are rows: with word wrap on, a long line is read row by row.
    EXPECT_EQ(text->textAtOffset(1, QAccessible::LineBoundary, &start, &end), QStringLiteral("日\U0001F600a\r\n"));
    EXPECT_EQ(text->textAfterOffset(1, QAccessible::LineBoundary, &start, &end), QStringLiteral("b\U0001F600c"));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(5, 8));
    edit->setText(QStringLiteral("word ").repeated(60) + QStringLiteral("\r\nend"));
    edit->setWordWrap(true);
    ASSERT_GT(edit->lineCount(), 3);
    const int secondRow = edit->lineIndex(1);
    text->textAtOffset(secondRow + 2, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(secondRow, edit->lineIndex(2)));
    text->textAtOffset(3, QAccessible::ParagraphBoundary, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 302));

    // Each character's cell holds the point that gives it back, and offsets out of the text
    // have no cell.
    edit->setWordWrap(false);
    edit->setText(u"a日\U0001F600\tb\r\nxy");
    for (int offset = 0; offset < text->characterCount(); ++offset) {
        const QRect cell = text->characterRect(offset);
        ASSERT_TRUE(cell.isValid()) << offset;
        if (offset == 5 || offset == 6)
            continue;  // CR and LF share the end of the line
        EXPECT_EQ(text->offsetAtPoint(cell.center()), offset) << offset;
        EXPECT_EQ(text->offsetAtPoint(cell.topLeft() + QPoint(1, 1)), offset) << offset;
    }
    EXPECT_FALSE(text->characterRect(9).isValid());
    EXPECT_EQ(text->offsetAtPoint(edit->mapToGlobal(QPoint(-5, -5))), -1);
    const int pastTheEnds = text->characterRect(4).right() + 50;
    EXPECT_EQ(text->offsetAtPoint(QPoint(pastTheEnds, text->characterRect(0).center().y())), 5);  // the CR
    EXPECT_EQ(text->offsetAtPoint(QPoint(pastTheEnds, text->characterRect(7).center().y())), -1);

    // A range scrolled into view, the start first.
    edit->setText(QStringLiteral("x").repeated(3000) + QStringLiteral("\r\n") + QStringLiteral("line\r\n").repeated(200));
    text->scrollToSubstring(3000, 3001);
    EXPECT_GT(edit->horizontalScrollBar()->value(), 0);
    text->scrollToSubstring(3000 + 2 + 150 * 6, 3000 + 2 + 150 * 6 + 4);
    EXPECT_GT(edit->firstVisibleLine(), 100);
    EXPECT_EQ(sel(), std::make_pair(0, 0));  // scrolling moves no caret
}

TEST_F(EditControlTest, EachChangeSendsItsEventsOnce)
{
    EventLog log;
    type(QStringLiteral("ab"));
    EXPECT_EQ(log.take(), (std::vector<Told>{{kInsert, 0, {}, "a"}, {kCaret, 1, {}, {}},
                                             {kInsert, 1, {}, "b"}, {kCaret, 2, {}, {}}}));
    // An emoji arrives in two halves; the second joins the first, told as one character.
    ASSERT_TRUE(sendText(QStringLiteral("\U0001F600")));
    EXPECT_EQ(log.take(), (std::vector<Told>{{kInsert, 2, {}, QStringLiteral("\xD83D")}, {kCaret, 3, {}, {}},
                                             {kUpdate, 2, QStringLiteral("\xD83D"), QStringLiteral("\U0001F600")},
                                             {kCaret, 3, {}, {}}}));
    type(QStringLiteral("c"));
    log.take();
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_Left, Qt::ShiftModifier);  // over the face: one character
    EXPECT_EQ(log.take(), (std::vector<Told>{{kCaret, 3, {}, {}}, {kSelection, 3, {}, "4"},
                                             {kCaret, 2, {}, {}}, {kSelection, 2, {}, "4"}}));
    key(Qt::Key_Delete);
    EXPECT_EQ(log.take(), (std::vector<Told>{{kRemove, 2, QStringLiteral("\U0001F600c"), {}},
                                             {kSelection, 2, {}, "2"}}));
    edit->setSel(0, 1);
    log.take();
    type(QStringLiteral("X"));  // the caret was after the selection and stays there
    EXPECT_EQ(log.take(), (std::vector<Told>{{kUpdate, 0, "a", "X"}, {kSelection, 1, {}, "1"}}));
    // Moving the caret where it is, or a selection set again, tells nothing.
    edit->setSel(1, 1);
    key(Qt::Key_Home, Qt::ShiftModifier);
    log.take();
    edit->setSel(1, 0);
    EXPECT_TRUE(log.take().empty());
    // A new text is told as the old one removed and the new one inserted.
    edit->setText(u"new");
    EXPECT_EQ(log.take(), (std::vector<Told>{{kUpdate, 0, "Xb", "new"}, {kSelection, 0, {}, "0"}}));
    // Text written through the interface goes through the control like typing.
    QAccessibleEditableTextInterface* editable = accessibleOf(edit.get())->editableTextInterface();
    editable->insertText(3, QStringLiteral("s"));
    editable->replaceText(0, 1, QStringLiteral("N"));
    editable->deleteText(1, 2);
    EXPECT_EQ(text(), u"Nws");
    EXPECT_EQ(sel(), std::make_pair(1, 1));
    EXPECT_EQ(log.take(), (std::vector<Told>{{kCaret, 3, {}, {}}, {kInsert, 3, {}, "s"}, {kCaret, 4, {}, {}},
                                             {kCaret, 1, {}, {}}, {kSelection, 0, {}, "1"},
                                             {kUpdate, 0, "n", "N"}, {kSelection, 1, {}, "1"},
                                             {kCaret, 2, {}, {}}, {kSelection, 1, {}, "2"},
                                             {kRemove, 1, "e", {}}, {kCaret, 1, {}, {}}, {kSelection, 1, {}, "1"}}));
}
