// Undo, redo and the clipboard commands in the running program: accelerators pressed on
// the focused view, the Edit menu's items enabled and disabled, and a fresh history for
// every new or opened document.
#include "../shell/ShellTestSupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>

using namespace quillet_test;
using platform::fx::MsgAnswer;

namespace {

class EditViewInFrame : public ShellTest {
protected:
    void keys(const QString& typed) { QTest::keyClicks(view(), typed); }
    void chord(Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(view(), key, modifiers); }

    // The state of a menu item, after its menu ran its update handlers as opening it does.
    bool itemEnabled(unsigned id)
    {
        QAction* item = frame()->action(id);
        EXPECT_NE(item, nullptr) << id;
        if (!item)
            return false;
        for (int i = 0; QMenu* menu = frame()->popupMenu(i); ++i) {
            if (menu->actions().contains(item))
                frame()->updateMenu(menu);
        }
        return item->isEnabled();
    }
};

} // namespace

TEST_F(EditViewInFrame, CtrlZAltBackspaceAndCtrlYWalkTheHistory)
{
    ASSERT_TRUE(start());
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_REDO));

    keys(QStringLiteral("one two"));
    chord(Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(text(), u"one two\r\n");
    EXPECT_TRUE(itemEnabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_REDO));

    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"one two");
    chord(Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(text(), u"one ");
    EXPECT_TRUE(itemEnabled(res::ID_EDIT_REDO));
    chord(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), u"one two");

    // Undo everything; a further Ctrl+Z is a disabled command and does nothing.
    for (int i = 0; i < 5; ++i)
        chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"");
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_UNDO));
    EXPECT_TRUE(itemEnabled(res::ID_EDIT_REDO));
    for (int i = 0; i < 6; ++i)
        chord(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), u"one two\r\n");
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_REDO));
    EXPECT_EQ(QApplication::focusWidget(), view());
}

TEST_F(EditViewInFrame, ClipboardKeysRecordWhatTheyChange)
{
    ASSERT_TRUE(start());
    keys(QStringLiteral("alpha beta"));
    view()->setSel(0, 6);
    EXPECT_TRUE(itemEnabled(res::ID_EDIT_CUT));
    chord(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), u"beta");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("alpha "));
    view()->setSel(4, 4);
    chord(Qt::Key_V, Qt::ControlModifier);
    chord(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), u"betaalpha alpha ");
    view()->setSel(0, 4);
    chord(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(text(), u"alpha alpha ");
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_CUT));
    chord(Qt::Key_X, Qt::ControlModifier);   // nothing selected: disabled, nothing happens
    EXPECT_EQ(text(), u"alpha alpha ");

    // Each of the four changes is one step back.
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"betaalpha alpha ");
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"betaalpha ");
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"beta");
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"alpha beta");
}

TEST_F(EditViewInFrame, NewAndOpenedDocumentsStartWithAnEmptyHistory)
{
    const QString path = writeFile(QStringLiteral("plain.txt"), QByteArray("file text\r\n"));
    ASSERT_TRUE(start());
    keys(QStringLiteral("typed"));
    chord(Qt::Key_Z, Qt::ControlModifier);
    keys(QStringLiteral("x"));
    ASSERT_TRUE(itemEnabled(res::ID_EDIT_UNDO));

    ui.answerMessage(MsgAnswer::No);   // do not save the typed text
    ASSERT_TRUE(app->openDocumentFile(path));
    EXPECT_EQ(text(), u"file text\r\n");
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_REDO));
    chord(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"file text\r\n");

    keys(QStringLiteral("more"));
    chord(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(itemEnabled(res::ID_EDIT_REDO));
    ui.answerMessage(MsgAnswer::No);
    ASSERT_TRUE(app->newDocument());
    EXPECT_EQ(text(), u"");
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(itemEnabled(res::ID_EDIT_REDO));
}

TEST_F(EditViewInFrame, AScreenReaderNamesTheTextByItsDocumentAndItsEditsUndoLikeTyping)
{
    ASSERT_TRUE(start());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view());
    ASSERT_TRUE(accessible && accessible->editableTextInterface());
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("無題"));

    // Offsets are characters: the face counts one.
    keys(QStringLiteral("ab"));
    QAccessibleEditableTextInterface* editable = accessible->editableTextInterface();
    editable->insertText(1, QStringLiteral("\U0001F600"));
    editable->replaceText(2, 3, QStringLiteral("c"));
    editable->deleteText(0, 1);
    EXPECT_EQ(text(), u"\U0001F600c");
    const std::u16string steps[] = {u"a\U0001F600c", u"a\U0001F600", u"a\U0001F600b", u"ab"};
    for (const std::u16string& before : steps) {
        chord(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(text(), before);
    }
}

TEST_F(EditViewInFrame, ACaretMovedByAScreenReaderShowsInTheStatusBarOnceIdle)
{
    const auto goIdle = [] {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    };
    ASSERT_TRUE(start());
    keys(QStringLiteral("one"));
    chord(Qt::Key_Return, Qt::NoModifier);
    keys(QStringLiteral("two"));
    goIdle();
    EXPECT_EQ(positionPane(), QStringLiteral(" 2 行、4 列、行数 2、U+0000"));
    // No input event comes with it.
    QAccessible::queryAccessibleInterface(view())->textInterface()->setCursorPosition(1);
    goIdle();
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、2 列、行数 2、U+006E"));
}
