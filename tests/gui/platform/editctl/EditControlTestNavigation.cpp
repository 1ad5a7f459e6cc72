// Moving the caret and selecting, with keys and with the mouse.
#include "EditControlTestSupport.h"

#include <QSignalSpy>

using quillet_test::EditControlTest;

TEST_F(EditControlTest, ArrowsMoveAndShiftExtendsFromTheAnchor)
{
    edit->setText(u"abc\r\ndef");
    edit->setSel(1, 1);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(1, 3));
    key(Qt::Key_Right, Qt::ShiftModifier);   // over the CR LF in one step
    EXPECT_EQ(sel(), std::make_pair(1, 5));
    EXPECT_EQ(edit->buffer().caret(), 5);

    // Back past the anchor: the selection now lies before it.
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(0, 1));
    EXPECT_EQ(edit->buffer().caret(), 0);
    EXPECT_EQ(edit->buffer().anchor(), 1);

    // Without Shift an arrow collapses the selection to the side it points to.
    edit->setSel(1, 3);
    key(Qt::Key_Left);
    EXPECT_EQ(sel(), std::make_pair(1, 1));
    edit->setSel(1, 3);
    key(Qt::Key_Right);
    EXPECT_EQ(sel(), std::make_pair(3, 3));
}

TEST_F(EditControlTest, HomeEndAndTheEndsOfTheText)
{
    edit->setText(u"first line\r\nsecond");
    edit->setSel(14, 14);
    key(Qt::Key_Home);
    EXPECT_EQ(sel(), std::make_pair(12, 12));
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(12, 18));
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(sel(), std::make_pair(0, 0));
    key(Qt::Key_End);
    EXPECT_EQ(sel(), std::make_pair(10, 10)) << "End stops before the CR LF";
    key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(10, 18));
}

TEST_F(EditControlTest, CtrlArrowsMoveByWords)
{
    edit->setText(u"alpha beta\r\ngamma");
    edit->setSel(0, 0);
    key(Qt::Key_Right, Qt::ControlModifier);
    const int afterAlpha = edit->buffer().caret();
    EXPECT_GE(afterAlpha, 5);
    EXPECT_LE(afterAlpha, 6);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Right, Qt::ControlModifier);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_GE(edit->buffer().caret(), 12) << "reached the next line";

    edit->setSel(17, 17);
    key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(12, 17));
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(edit->buffer().caret(), 10) << "the line end is a stop of its own";
}

TEST_F(EditControlTest, UpAndDownKeepTheColumnAcrossShortLines)
{
    edit->setText(u"abcdefgh\r\nab\r\nabcdefgh");
    edit->setSel(6, 6);
    key(Qt::Key_Down);
    EXPECT_EQ(sel(), std::make_pair(12, 12)) << "end of the short line";
    key(Qt::Key_Down);
    EXPECT_EQ(sel(), std::make_pair(20, 20)) << "back in column 6";
    key(Qt::Key_Up, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::make_pair(6, 20));

    // At the first line Up stays; at the last line Down stays.
    edit->setSel(2, 2);
    key(Qt::Key_Up);
    EXPECT_EQ(sel(), std::make_pair(2, 2));
    edit->setSel(21, 21);
    key(Qt::Key_Down);
    EXPECT_EQ(sel(), std::make_pair(21, 21));
}

TEST_F(EditControlTest, PageDownScrollsAndMovesByAWindow)
{
    std::u16string lines;
    for (int i = 0; i < 100; ++i)
        lines += u"line\r\n";
    edit->setText(lines);
    const int page = edit->viewport()->height() / edit->lineHeight();
    ASSERT_GT(page, 2);
    edit->setSel(0, 0);
    key(Qt::Key_PageDown);
    EXPECT_EQ(edit->lineFromChar(-1), page);
    EXPECT_EQ(edit->firstVisibleLine(), page);
    key(Qt::Key_PageUp);
    EXPECT_EQ(edit->lineFromChar(-1), 0);
    EXPECT_EQ(edit->firstVisibleLine(), 0);
}

TEST_F(EditControlTest, SetSelConventions)
{
    edit->setText(u"0123456789");
    edit->setSel(0, -1);
    EXPECT_EQ(sel(), std::make_pair(0, 10));
    edit->setSel(7, 2);   // backwards: the caret at 2
    EXPECT_EQ(sel(), std::make_pair(2, 7));
    EXPECT_EQ(edit->buffer().caret(), 2);
    edit->setSel(-1, 0);  // removes the selection, the caret stays
    EXPECT_EQ(sel(), std::make_pair(2, 2));
    edit->setSel(3, 99);  // clipped
    EXPECT_EQ(sel(), std::make_pair(3, 10));
    edit->selectAll();
    EXPECT_EQ(sel(), std::make_pair(0, 10));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("0123456789"));
}

TEST_F(EditControlTest, ClickPlacesTheCaretAndDragSelects)
{
    edit->setText(u"abcdefgh\r\nijklmnop");
    const QPoint c = edit->caretPosFromChar(2);
    const QPoint k = edit->caretPosFromChar(12);
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, c + QPoint(1, 3));
    EXPECT_EQ(sel(), std::make_pair(2, 2));

    QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::ShiftModifier, k + QPoint(1, 3));
    EXPECT_EQ(sel(), std::make_pair(2, 12));

    QTest::mousePress(edit->viewport(), Qt::LeftButton, Qt::NoModifier, k + QPoint(1, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(c + QPoint(1, 3)), edit->viewport()->mapToGlobal(QPointF(c)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit->viewport(), &move);
    QTest::mouseRelease(edit->viewport(), Qt::LeftButton, Qt::NoModifier, c + QPoint(1, 3));
    EXPECT_EQ(sel(), std::make_pair(2, 12));
    EXPECT_EQ(edit->buffer().caret(), 2) << "dragged backwards from the press point";

    // Below the last line: the end of the last line.
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 250));
    EXPECT_EQ(sel(), std::make_pair(18, 18));
}

TEST_F(EditControlTest, DoubleClickSelectsTheWord)
{
    edit->setText(u"one two three\r\n日本語のテキスト");
    QTest::mouseDClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, edit->caretPosFromChar(5) + QPoint(2, 3));
    EXPECT_EQ(sel(), std::make_pair(4, 7));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("two"));

    // Japanese words come from the dictionary break rules: a click in 日本語 selects a
    // run inside the line that contains the clicked character.
    QTest::mouseDClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, edit->caretPosFromChar(16) + QPoint(2, 3));
    const auto [start, end] = sel();
    EXPECT_LE(start, 16);
    EXPECT_GT(end, 16);
    EXPECT_GE(start, 15);
    EXPECT_LE(end, 23);
}

TEST_F(EditControlTest, SelectionChangedOnlyWhenSomethingMoved)
{
    edit->setText(u"abc");
    edit->setSel(1, 1);
    QSignalSpy spy(edit.get(), &platform::EditControl::selectionChanged);
    edit->setSel(1, 1);
    EXPECT_EQ(spy.count(), 0);
    key(Qt::Key_Right);
    EXPECT_EQ(spy.count(), 1);
    key(Qt::Key_End);
    EXPECT_EQ(spy.count(), 2);
    key(Qt::Key_End);
    EXPECT_EQ(spy.count(), 2);
}
