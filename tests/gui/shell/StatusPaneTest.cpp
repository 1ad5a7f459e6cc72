// The view's two status-bar panes driven by real keys: where the caret is and which code
// page the text is saved in.
#include "ShellTestSupport.h"

#include <QEventLoop>
#include <QLayout>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

using namespace quillet_test;

namespace {

class StatusPane : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(start());
        frame()->updateIdle();
    }

    // Types keys one by one, going idle after each as the program does, then puts the
    // caret at the start.
    void typeText(const QString& keys)
    {
        for (QChar c : keys) {
            QTest::keyClick(view(), c.toLatin1());
            frame()->updateIdle();
        }
        press(Qt::Key_Home, Qt::ControlModifier);
    }
};

} // namespace

TEST_F(StatusPane, AnEmptyTextShowsLineOneColumnOne)
{
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 1、U+0000"));
}

TEST_F(StatusPane, TheCodeBeforeALineEndIsCarriageReturnAndAtTheEndZero)
{
    QTest::keyClicks(view(), QStringLiteral("ab"));
    QTest::keyClick(view(), Qt::Key_Return);
    QTest::keyClicks(view(), QStringLiteral("cd"));
    frame()->updateIdle();
    EXPECT_EQ(positionPane(), QStringLiteral(" 2 行、3 列、行数 2、U+0000"));
    press(Qt::Key_Up);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、3 列、行数 2、U+000D"));
    press(Qt::Key_Home);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 2、U+0061"));
}

TEST_F(StatusPane, ASurrogatePairShowsItsHighHalfAndCountsTwoColumns)
{
    view()->setText(QStringLiteral("a😀b"));
    frame()->updateIdle();
    press(Qt::Key_Right);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、2 列、行数 1、U+D83D"));
    press(Qt::Key_Right);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、4 列、行数 1、U+0062"));
}

TEST_F(StatusPane, ATabCountsAsOneColumn)
{
    typeText(QStringLiteral("\tx"));
    press(Qt::Key_Right);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、2 列、行数 1、U+0078"));
}

TEST_F(StatusPane, ShiftLeftShowsTheStartAndShiftRightTheEnd)
{
    typeText(QStringLiteral("abcdef"));
    press(Qt::Key_End);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、7 列、行数 1、U+0000"));
    press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、6 列、行数 1、U+0066"));
    press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、5 列、行数 1、U+0065"));

    press(Qt::Key_Home);
    press(Qt::Key_Right);
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、3 列、行数 1、U+0063"));
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、4 列、行数 1、U+0064"));
}

TEST_F(StatusPane, ExtendingDownThenBackUpPastTheAnchorSwitchesToTheStart)
{
    view()->setText(QStringLiteral("aaaa\r\nbbbb\r\ncccc"));
    frame()->updateIdle();
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(positionPane(), QStringLiteral(" 2 行、3 列、行数 3、U+0062"));
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 3 行、3 列、行数 3、U+0063"));
    // Back over the anchor in one step: the caret is now the selection's start.
    press(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 3、U+0061"));
    int start = -1, end = -1;
    view()->getSel(&start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 8);

    // Line by line: back to the anchor, then past it.
    view()->setSel(8, 8);
    frame()->updateIdle();
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 3 行、3 列、行数 3、U+0063"));
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 2 行、3 列、行数 3、U+0062"));
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、3 列、行数 3、U+0061"));
}

TEST_F(StatusPane, SelectAllShowsTheEnd)
{
    view()->setText(QStringLiteral("ab\r\ncd"));
    frame()->updateIdle();
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 2、U+0061"));
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(positionPane(), QStringLiteral(" 2 行、3 列、行数 2、U+0000"));
}

TEST_F(StatusPane, AnEditThatLeavesTheCaretInPlaceShowsTheNewCharacter)
{
    typeText(QStringLiteral("abc"));
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 1、U+0061"));
    // Line, column and count stay; the code follows the character now after the caret.
    press(Qt::Key_Delete);
    EXPECT_EQ(text(), u"bc");
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 1、U+0062"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、1 列、行数 1、U+0061"));
    press(Qt::Key_Right);
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、2 列、行数 1、U+0062"));
}

TEST_F(StatusPane, NothingChangesWhileTheStatusBarIsHidden)
{
    typeText(QStringLiteral("abc"));
    const QString before = positionPane();
    frame()->executeCommand(res::ID_VIEW_STATUS_BAR);
    ASSERT_FALSE(frame()->statusBar()->isVisible());
    press(Qt::Key_End);
    EXPECT_EQ(positionPane(), before);
    frame()->executeCommand(res::ID_VIEW_STATUS_BAR);
    frame()->updateIdle();
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、4 列、行数 1、U+0000"));
}

TEST_F(StatusPane, TheCodePagePaneFollowsThePageAndFitsItsName)
{
    const QString sjis = QStringLiteral("932   (ANSI/OEM - 日本語 Shift-JIS)");
    EXPECT_EQ(paneText(res::ID_INDICATOR_CODEPAGE), sjis);
    QLabel* pane = frame()->pane(res::ID_INDICATOR_CODEPAGE);
    frame()->resize(1000, 400);
    QApplication::sendPostedEvents();
    frame()->statusBar()->layout()->activate();
    const int wide = pane->width();
    EXPECT_GE(wide, pane->fontMetrics().horizontalAdvance(sjis));

    view()->m_nCodePage = 65001;
    frame()->updateIdle();
    EXPECT_EQ(paneText(res::ID_INDICATOR_CODEPAGE), QStringLiteral("65001 (UTF-8)"));
    frame()->statusBar()->layout()->activate();
    EXPECT_LT(pane->width(), wide);
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance(QStringLiteral("65001 (UTF-8)")));

    // In a window too narrow for them the panes give way side by side: none draws over another.
    frame()->resize(260, 400);
    QApplication::sendPostedEvents();
    frame()->statusBar()->layout()->activate();
    QList<QRect> panes;
    for (QLabel* label : frame()->statusBar()->findChildren<QLabel*>())
        if (label->isVisible())
            panes << label->geometry();
    std::sort(panes.begin(), panes.end(), [](QRect a, QRect b) { return a.left() < b.left(); });
    ASSERT_GE(panes.size(), 3);
    for (qsizetype i = 1; i < panes.size(); ++i)
        EXPECT_GT(panes[i].left(), panes[i - 1].right()) << "pane " << i;
    EXPECT_LE(panes.last().right(), frame()->statusBar()->width());

    view()->m_nCodePage = 1252;
    frame()->updateIdle();
    EXPECT_EQ(paneText(res::ID_INDICATOR_CODEPAGE), QStringLiteral("1252  (ANSI - ラテン I)"));

    // A page the system does not know is named by its number.
    view()->m_nCodePage = 4242;
    frame()->updateIdle();
    EXPECT_EQ(paneText(res::ID_INDICATOR_CODEPAGE), QStringLiteral("4242"));
}

TEST_F(StatusPane, TheLockKeyPanesStayBlank)
{
    for (unsigned id : {res::ID_INDICATOR_KANA, res::ID_INDICATOR_CAPS, res::ID_INDICATOR_NUM,
                        res::ID_INDICATOR_SCRL})
        EXPECT_TRUE(paneText(id).isEmpty()) << id;
}

TEST_F(StatusPane, TheIdleLoopUpdatesThePaneByItself)
{
    typeText(QStringLiteral("xyz"));
    QTest::keyClick(view(), Qt::Key_End);
    // No explicit update: the event loop going idle must bring the pane up to date.
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(positionPane(), QStringLiteral(" 1 行、4 列、行数 1、U+0000"));
}
