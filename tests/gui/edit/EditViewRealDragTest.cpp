// The drag of the selection through the platform's own drag loop, driven by pointer events
// sent to the window while the loop runs: a move inside the view, and a press of another
// button that cancels the drag.
#include "EditViewTestSupport.h"

#include <QDrag>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace quillet_test {
namespace {

// Runs only on an X server (the ctest entry "gui_real_drag" starts one); elsewhere the
// platform's drag loop returns at once and there is nothing to drive.
class RealDrag : public EditViewTest {
public:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb";
        EditViewTest::SetUp();
    }

    QPoint inWindow(int pos) const
    {
        return view->viewport()->mapTo(view.get(), view->caretPosFromChar(pos) + QPoint(2, view->lineHeight() / 2));
    }

    // Presses on the selection at press and moves past the drag distance; once the drag's loop
    // runs, `during` is sent to the window step by step. Returns when the drag has ended (a
    // drag still running two seconds after the last step fails and is cancelled).
    void drag(int press, const std::vector<std::function<void(QWindow*)>>& during)
    {
        QWindow* window = view->windowHandle();
        const QPoint start = inWindow(press);
        int step = 0;
        QTimer steps;
        steps.setInterval(30);
        QObject::connect(&steps, &QTimer::timeout, [&] {
            if (step < static_cast<int>(during.size())) {
                during[step++](window);
            } else if (++step > static_cast<int>(during.size()) + 60) {
                ADD_FAILURE() << "the drag did not end";
                QDrag::cancel();
            }
        });
        steps.start();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(window, start + QPoint(QApplication::startDragDistance() + 4, 0));
        steps.stop();
        EXPECT_GE(step, static_cast<int>(during.size())) << "the drag ended early";
    }
};

TEST_F(RealDrag, TheSelectionMovesThroughThePlatformsDragAndAnotherButtonCancelsIt)
{
    open(u"one two three");
    view->setSel(0, 4);
    const QPoint end = inWindow(13);
    drag(1, {
                [&](QWindow* w) { QTest::mouseMove(w, end - QPoint(20, 0)); },
                [&](QWindow* w) { QTest::mouseMove(w, end); },
                [&](QWindow* w) { QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, end); },
            });
    EXPECT_EQ(text(), u"two threeone ");
    EXPECT_EQ(sel(), std::make_pair(9, 13));
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));

    // The right button pressed on the way: nothing moves, and neither that button's release
    // nor the left one's drops anything.
    open(u"one two three");
    view->setSel(0, 4);
    drag(1, {
                [&](QWindow* w) { QTest::mouseMove(w, end); },
                [&](QWindow* w) { QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, end); },
            });
    QTest::mouseRelease(view->windowHandle(), Qt::RightButton, Qt::NoModifier, end);
    QTest::mouseRelease(view->windowHandle(), Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_EQ(text(), u"one two three");
    EXPECT_EQ(records(), 0);
}

} // namespace
} // namespace quillet_test
