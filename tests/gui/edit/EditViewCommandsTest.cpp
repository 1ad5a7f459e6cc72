// The edit commands of the view: what Cut, Paste, Clear and ReplaceSelWithUndo record,
// when the commands are enabled, creation and the initial update.
#include "EditViewTestSupport.h"

#include <QMimeData>
#include <QSignalSpy>

using quillet_test::EditViewTest;
using Sel = std::pair<int, int>;

namespace {

void clipboardWithoutText()
{
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QApplication::clipboard()->setMimeData(image);
}

} // namespace

TEST_F(EditViewTest, CutAndClearRecordTheSelectionBeforeItGoes)
{
    open(u"alpha beta gamma");
    view->setSel(6, 11);
    ASSERT_TRUE(run(res::ID_EDIT_CUT));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("beta "));
    view->setSel(0, 6);
    ASSERT_TRUE(run(res::ID_EDIT_CLEAR));
    EXPECT_EQ(text(), u"gamma");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_DELETE}));
    undo();
    EXPECT_EQ(text(), u"alpha gamma");
    undo();
    EXPECT_EQ(text(), u"alpha beta gamma");

    // With nothing selected both are disabled, and called anyway they record nothing.
    view->setSel(3, 3);
    EXPECT_FALSE(enabled(res::ID_EDIT_CUT));
    EXPECT_FALSE(enabled(res::ID_EDIT_CLEAR));
    view->OnEditCut();
    view->OnEditClear();
    EXPECT_EQ(records(), 2);
    EXPECT_EQ(text(), u"alpha beta gamma");
}

TEST_F(EditViewTest, PasteIsOneInsertionOfTheClipboardText)
{
    open(u"[]");
    view->setSel(1, 1);
    QApplication::clipboard()->setText(QStringLiteral("a\nb c\r\n漢字"));
    ASSERT_TRUE(run(res::ID_EDIT_PASTE));
    EXPECT_EQ(text(), u"[a\nb c\r\n漢字]") << "line ends are not converted";
    ASSERT_EQ(records(), 1);
    EXPECT_EQ(history().records()[0].nKind, UNDO_INSERT);
    EXPECT_EQ(history().records()[0].nEnd, 1 + 9);

    // Over a selection, deletion first; text after a NUL on the clipboard is not pasted and
    // not recorded either.
    view->setSel(0, 1);
    QApplication::clipboard()->setText(QString::fromUtf16(u"<\0ignored", 9));
    ASSERT_TRUE(run(res::ID_EDIT_PASTE));
    EXPECT_EQ(text(), u"<a\nb c\r\n漢字]");
    ASSERT_EQ(kinds(), (std::vector<int>{UNDO_INSERT, UNDO_DELETE, UNDO_INSERT}));
    EXPECT_EQ(history().records()[2].nEnd - history().records()[2].nStart, 1);
    undo();
    undo();
    undo();
    EXPECT_EQ(text(), u"[]");
}

TEST_F(EditViewTest, PasteWithoutClipboardTextDeletesOnlyTheSelection)
{
    open(u"keep this");
    view->setSel(4, 9);
    clipboardWithoutText();
    EXPECT_FALSE(enabled(res::ID_EDIT_PASTE));
    view->OnEditPaste();
    EXPECT_EQ(text(), u"keep");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE}));
    undo();
    EXPECT_EQ(text(), u"keep this");

    // Without a selection it changes and records nothing.
    view->OnEditPaste();
    EXPECT_EQ(records(), 1);
    EXPECT_EQ(history().top(), 0);
}

TEST_F(EditViewTest, ReplaceSelWithUndoRecordsDeletionThenInsertion)
{
    open(u"Hello world");
    view->setSel(6, 11);
    EXPECT_TRUE(view->ReplaceSelWithUndo(QStringLiteral("世界\r\n")));
    EXPECT_EQ(text(), u"Hello 世界\r\n");
    EXPECT_EQ(sel(), Sel(10, 10));
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));

    // An empty text only deletes; over an empty selection it records nothing at all.
    view->setSel(0, 6);
    EXPECT_TRUE(view->ReplaceSelWithUndo(std::u16string_view()));
    EXPECT_TRUE(view->ReplaceSelWithUndo(std::u16string_view()));
    EXPECT_EQ(text(), u"世界\r\n");
    EXPECT_EQ(records(), 3);

    // Consecutive replacements never merge, not even with typing.
    view->setSel(2, 2);
    view->ReplaceSelWithUndo(QStringLiteral("a"));
    type(QStringLiteral("b"));
    view->ReplaceSelWithUndo(QStringLiteral("c"));
    EXPECT_EQ(records(), 6);
    while (enabled(res::ID_EDIT_UNDO))
        undo();
    EXPECT_EQ(text(), u"Hello world");
}

TEST_F(EditViewTest, WhatTheControlRefusesIsNotRecorded)
{
    open(u"12345678");
    view->limitText(10);
    QSignalSpy refused(view.get(), &platform::EditControl::maxText);
    view->setSel(8, 8);
    EXPECT_FALSE(view->ReplaceSelWithUndo(QStringLiteral("abc")));
    key(Qt::Key_Return);
    type(QStringLiteral("9"));
    type(QStringLiteral("xy"));   // the text is at its limit now
    EXPECT_EQ(text(), u"12345678\r\n");
    EXPECT_EQ(refused.count(), 4);
    ASSERT_EQ(records(), 1);
    undo();
    EXPECT_EQ(text(), u"12345678");
}

TEST_F(EditViewTest, UndoAndRedoAreEnabledByTheHistory)
{
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(res::ID_EDIT_REDO));
    EXPECT_FALSE(run(res::ID_EDIT_UNDO)) << "a disabled command does not run";
    type(QStringLiteral("a b"));
    EXPECT_TRUE(enabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(res::ID_EDIT_REDO));
    undo();
    EXPECT_TRUE(enabled(res::ID_EDIT_UNDO));
    EXPECT_TRUE(enabled(res::ID_EDIT_REDO));
    undo();
    undo();
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
    EXPECT_TRUE(enabled(res::ID_EDIT_REDO));
    redo();
    type(QStringLiteral("x"));   // any new change ends the redo
    EXPECT_FALSE(enabled(res::ID_EDIT_REDO));
    EXPECT_EQ(text(), u"ax");
}

TEST_F(EditViewTest, OtherEditCommandsFollowSelectionTextAndClipboard)
{
    EXPECT_FALSE(enabled(res::ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(enabled(res::ID_EDIT_COPY));
    type(QStringLiteral("abc"));
    EXPECT_TRUE(enabled(res::ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(enabled(res::ID_EDIT_COPY));
    ASSERT_TRUE(run(res::ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(enabled(res::ID_EDIT_COPY));
    EXPECT_TRUE(enabled(res::ID_EDIT_CUT));
    EXPECT_TRUE(enabled(res::ID_EDIT_CLEAR));
    ASSERT_TRUE(run(res::ID_EDIT_COPY));
    EXPECT_EQ(records(), 1) << "copy and select all change nothing and record nothing";

    QApplication::clipboard()->setText(QStringLiteral("x"));
    EXPECT_TRUE(enabled(res::ID_EDIT_PASTE));
    clipboardWithoutText();
    EXPECT_FALSE(enabled(res::ID_EDIT_PASTE));

    QString selected = QStringLiteral("untouched");
    view->setSel(1, 1);
    EXPECT_FALSE(view->GetSelectionText(selected));
    EXPECT_EQ(selected, QStringLiteral("untouched"));
    view->setSel(3, 1);
    EXPECT_TRUE(view->GetSelectionText(selected));
    EXPECT_EQ(selected, QStringLiteral("bc"));
}

TEST_F(EditViewTest, CreationLiftsTheLimitAndSetsTabStops)
{
    EXPECT_EQ(view->textLimit(), platform::EditControl::kLargestLimit);
    EXPECT_EQ(view->tabStops(), 16);
    // A text past the size of the largest file the program opens can still be typed into.
    open(std::u16string(1048575, u'a'));
    view->setSel(view->textLength(), view->textLength());
    type(QStringLiteral("bc"));
    EXPECT_EQ(view->textLength(), 1048577);
    EXPECT_EQ(records(), 1);
}

TEST_F(EditViewTest, InitialUpdateEmptiesTheHistory)
{
    type(QStringLiteral("one two"));
    undo();
    ASSERT_TRUE(enabled(res::ID_EDIT_UNDO));
    ASSERT_TRUE(enabled(res::ID_EDIT_REDO));
    open(u"a new text");
    EXPECT_EQ(records(), 0);
    EXPECT_EQ(history().memoryBytes(), 0u);
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
    EXPECT_FALSE(enabled(res::ID_EDIT_REDO));
    EXPECT_EQ(sel(), Sel(0, 0));
    view->OnEditUndo();
    EXPECT_EQ(text(), u"a new text");

    // A composition left open by the previous text does not carry over: its in-place state
    // is gone, so the first preedit over a selection is recorded again.
    ime(QStringLiteral("か"), QString());
    open(u"xyz");
    view->setSel(0, 2);
    ime(QStringLiteral("き"), QString());
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE}));
    EXPECT_EQ(text(), u"z");
}
