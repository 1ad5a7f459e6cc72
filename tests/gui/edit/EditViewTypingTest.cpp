// Keys on the edit view: what each one records, and undo and redo of it.
#include "EditViewTestSupport.h"

using quillet_test::EditViewTest;
using Sel = std::pair<int, int>;

TEST_F(EditViewTest, WordsTypedUndoWordByWord)
{
    type(QStringLiteral("ab cd"));
    EXPECT_EQ(text(), u"ab cd");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_INSERT, UNDO_TYPING}));
    undo();
    EXPECT_EQ(text(), u"ab ");
    undo();
    undo();
    EXPECT_EQ(text(), u"");
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
    redo();
    EXPECT_EQ(text(), u"ab");
    EXPECT_EQ(sel(), Sel(2, 2)) << "redo leaves the caret after the run";

    // Japanese typed straight from a keyboard layout merges like Latin letters.
    open(u"");
    typeText(QStringLiteral("か"));
    typeText(QStringLiteral("な"));
    EXPECT_EQ(records(), 1);
}

TEST_F(EditViewTest, RunsBreakAtClicksAndBackspace)
{
    open(u"0123456789");
    view->setSel(10, 10);
    type(QStringLiteral("ab"));
    click(3);
    ASSERT_EQ(sel(), Sel(3, 3));
    type(QStringLiteral("c"));
    EXPECT_EQ(text(), u"012c3456789ab");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_TYPING}));

    open(u"");
    type(QStringLiteral("ab"));
    key(Qt::Key_Backspace);
    type(QStringLiteral("c"));
    EXPECT_EQ(text(), u"ac");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_DELETE, UNDO_TYPING}));
    undo();
    undo();
    EXPECT_EQ(text(), u"ab");
}

TEST_F(EditViewTest, EnterRecordsCrLfWhicheverCharacterItSends)
{
    open(u"ab");
    view->setSel(1, 1);
    key(Qt::Key_Return);                         // CR
    key(Qt::Key_Return, Qt::ControlModifier);    // LF
    key(Qt::Key_Enter);
    EXPECT_EQ(text(), u"a\r\n\r\n\r\nb");
    ASSERT_EQ(records(), 3);
    for (const UndoRecord& r : history().records()) {
        EXPECT_EQ(r.nKind, UNDO_INSERT);
        EXPECT_EQ(r.nEnd - r.nStart, 2);
    }
    undo();
    EXPECT_EQ(text(), u"a\r\n\r\nb");

    // Over a selection: the deletion, then the line end.
    open(u"abcd");
    view->setSel(1, 3);
    key(Qt::Key_Return);
    EXPECT_EQ(text(), u"a\r\nd");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));
    undo();
    undo();
    EXPECT_EQ(text(), u"abcd");
}

TEST_F(EditViewTest, TabSpaceAndCtrlBackspaceAreRecordsOfTheirOwn)
{
    type(QStringLiteral("a\tb c"));
    key(Qt::Key_Backspace, Qt::ControlModifier);   // inserts DEL, as the control does
    type(QStringLiteral("d"));
    EXPECT_EQ(text(), u"a\tb c\x7F" u"d");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_INSERT, UNDO_TYPING, UNDO_INSERT,
                                         UNDO_TYPING, UNDO_INSERT, UNDO_TYPING}));
}

TEST_F(EditViewTest, BackspaceAndDeleteRemoveAndRecordWholeCharacters)
{
    open(u"a\r\nb\nc\U0001F600");
    // Backspace at the start and Delete at the end: nothing happens, nothing is recorded.
    key(Qt::Key_Backspace);
    view->setSel(view->textLength(), view->textLength());
    key(Qt::Key_Delete);
    EXPECT_EQ(records(), 0);

    key(Qt::Key_Backspace);   // the surrogate pair
    EXPECT_EQ(text(), u"a\r\nb\nc");
    view->setSel(5, 5);
    key(Qt::Key_Backspace);   // a lone LF is one character
    EXPECT_EQ(text(), u"a\r\nbc");
    view->setSel(3, 3);
    key(Qt::Key_Backspace);   // CR LF goes as one
    EXPECT_EQ(text(), u"abc");
    ASSERT_EQ(records(), 3);
    EXPECT_EQ(history().records()[0].strText, u"\U0001F600");
    EXPECT_EQ(history().records()[1].strText, u"\n");
    EXPECT_EQ(history().records()[2].strText, u"\r\n");
    undo();
    undo();
    undo();
    EXPECT_EQ(text(), u"a\r\nb\nc\U0001F600");

    open(u"x\r\ny");
    view->setSel(1, 1);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"xy");
    ASSERT_EQ(records(), 1);
    EXPECT_EQ(history().records()[0].nKind, UNDO_DELETE_FORWARD);
    EXPECT_EQ(history().records()[0].strText, u"\r\n");
}

TEST_F(EditViewTest, UndoPutsTheCaretWhereTheKeyLeftIt)
{
    open(u"abc");
    view->setSel(1, 1);
    key(Qt::Key_Delete);
    undo();
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(sel(), Sel(1, 1)) << "in front of what Delete removed";

    view->setSel(2, 2);
    key(Qt::Key_Backspace);
    undo();
    EXPECT_EQ(sel(), Sel(2, 2)) << "after what Backspace removed";
}

TEST_F(EditViewTest, TypingOverASelectionTakesTwoUndoSteps)
{
    open(u"one two three");
    view->setSel(4, 7);
    type(QStringLiteral("2"));
    EXPECT_EQ(text(), u"one 2 three");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_TYPING}));
    undo();
    EXPECT_EQ(text(), u"one  three");
    undo();
    EXPECT_EQ(text(), u"one two three");
    EXPECT_EQ(sel(), Sel(7, 7));
}

TEST_F(EditViewTest, KeysThatChangeNothingRecordNothing)
{
    open(u"abc");
    view->setSel(0, 2);
    key(Qt::Key_Escape);
    typeText(QString(QChar(0x01)));   // Ctrl+A reaching the control as a character
    key(Qt::Key_Insert);
    key(Qt::Key_Delete, Qt::ShiftModifier);     // Cut, a command the view alone does not run
    key(Qt::Key_Delete, Qt::ControlModifier);   // a command of the concrete view
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Home);
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(records(), 0);
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
}

TEST_F(EditViewTest, AnEmojiTypedInOneKeyIsOneStep)
{
    type(QStringLiteral("hi"));
    typeText(QString::fromUtf16(u"\U0001F600"));
    EXPECT_EQ(records(), 1) << "the pair extends the run it is typed in";
    key(Qt::Key_Space);
    typeText(QString::fromUtf16(u"\U0001F600"));
    EXPECT_EQ(records(), 3);
    undo();
    EXPECT_EQ(text(), u"hi\U0001F600 ");
    undo();
    undo();
    EXPECT_EQ(text(), u"");
}

TEST_F(EditViewTest, UndoScrollsTheChangeIntoView)
{
    std::u16string lines;
    for (int i = 0; i < 300; ++i)
        lines += u"line\r\n";
    open(lines);
    view->setSel(view->textLength(), view->textLength());
    type(QStringLiteral("end"));
    view->setSel(0, 0);
    view->scrollCaret();
    ASSERT_EQ(view->firstVisibleLine(), 0);
    undo();
    EXPECT_GT(view->firstVisibleLine(), 250) << "the caret at the undone text is shown";
}
