// Drag and drop in the edit view: the drop geometry, drags of the selection driven by real
// mouse, drag and drop events (the drag loop itself scripted), and drops from other windows.
#include "EditViewTestSupport.h"

#include "dialogs/FindReplaceDlg.h"
#include "edit/FindReplaceState.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

namespace quillet_test {
namespace {

class EditViewDragDropTest : public EditViewTest {
public:
    QPoint pointAt(int pos) const { return view->PosFromChar(pos) + QPoint(0, 1); }

    // Sends a drag enter and a drop of data at point; the drop's effect, or none if refused.
    Qt::DropAction dropAt(const QMimeData& data, QPoint point, Qt::KeyboardModifiers keys)
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(view->viewport(), &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(QPointF(point), actions, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(view->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    // Presses on the selection at press, moves past the drag distance, and lets the scripted
    // drag drop at the boundary dropPos (-1: another program takes it with effect).
    void dragSelection(int press, int dropPos, Qt::KeyboardModifiers keys,
                       Qt::DropAction foreignEffect = Qt::IgnoreAction)
    {
        view->setDragRunner([&](std::unique_ptr<QMimeData> data) {
            EXPECT_EQ(data->text(), view->selectedText());
            if (dropPos < 0)
                return foreignEffect;
            return dropAt(*data, pointAt(dropPos), keys);
        });
        const QPoint p = pointAt(press) + QPoint(2, 0);
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseMove(view->viewport(), p + QPoint(QApplication::startDragDistance() + 5, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    }
};

TEST_F(EditViewDragDropTest, BoundariesUnderEveryPixelAndSelectionRectangles)
{
    // Tabs, a combining mark and a surrogate pair on the first line.
    const std::u16string line = u"a\tb\u0301c\U0001F600d\txyz";
    open(line + u"\r\nsecond line\r\n");
    const int len = static_cast<int>(line.size());
    // Every pixel gives the caret stop whose zone holds it: the zone of a stop runs from half
    // way to the stop before it to half way to the one after (the pair is one stop, the mark
    // has its own as Left and Right have).
    const std::vector<int> boundaries{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12};
    const auto xOf = [&](int i) { return view->PosFromChar(i).x(); };
    const int y = view->PosFromChar(0).y() + 1;
    for (int x = -5; x < xOf(len) + 30; ++x) {
        size_t k = 0;
        while (k + 1 < boundaries.size()
               && x >= xOf(boundaries[k + 1]) - (xOf(boundaries[k + 1]) - xOf(boundaries[k])) / 2)
            ++k;
        ASSERT_EQ(view->CharFromPoint(x, y), boundaries[k]) << "x " << x;
    }
    // The end of the text: an empty last line; below it, the end of the text.
    const int total = view->textLength();
    EXPECT_EQ(view->PosFromChar(total), QPoint(view->PosFromChar(0).x(), view->PosFromChar(0).y() + 2 * view->lineHeight()));
    EXPECT_EQ(view->CharFromPoint(5, view->PosFromChar(total).y() + 5 * view->lineHeight()), total);

    // Same-line and several-line selections: inclusive counts the end column, not the start.
    struct Case { int s, e, pos, dx; bool inclusive, expected; };
    const int h = view->lineHeight();
    const Case cases[] = {
        {2, 5, 2, 0, false, false}, {2, 5, 2, 0, true, true}, {2, 5, 5, 0, true, true},
        {2, 5, 5, 0, false, false}, {2, 5, 3, 1, false, true}, {2, 5, 1, 0, true, false},
        {3, len + 5, len - 1, 0, false, true}, {3, len + 5, len, 0, false, false},  // the line's end
        {3, len + 5, len + 2, 1, false, true}, {3, len + 5, len + 5, 0, false, false},
        {3, len + 5, len + 5, 0, true, true}, {3, len + 5, 2, 0, true, false},
    };
    for (const Case& c : cases) {
        view->setSel(c.s, c.e);
        const QPoint p = view->PosFromChar(c.pos) + QPoint(c.dx, h / 2);
        EXPECT_EQ(view->IsPointInSelection(p.x(), p.y(), c.inclusive), c.expected)
            << c.s << "-" << c.e << " at " << c.pos << "+" << c.dx << (c.inclusive ? " inclusive" : "");
    }
    // Wrapped, each row is a line: a point on the second row gives the boundary under it.
    view->setWordWrap(true);
    std::u16string words;
    for (int i = 0; i < 60; ++i)
        words += u"word ";
    open(words);
    const int row1 = view->lineIndex(1);
    ASSERT_GT(row1, 0);
    const int row2 = view->lineIndex(2);
    for (int i = row1; i < row2; ++i)
        EXPECT_EQ(view->CharFromPoint(view->PosFromChar(i).x() + 1, view->PosFromChar(i).y() + 1), i);
    // Past the row's last character: the row's end, not the next row's start.
    const QPoint last = view->PosFromChar(row2 - 1);
    EXPECT_EQ(view->CharFromPoint(last.x() + 3 * view->columnWidth(), last.y() + 1), row2);
    // A row that ends with a tab: the tab reaches its stop past the row's edge; a point over
    // its first half gives the tab's start, over its second half the row's end.
    const QRect fr = view->formattingRect();
    const qreal letter = QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char('a'));
    const qreal stop = view->tabStopDistance();
    int n = int(fr.width() / letter);
    while (n > 1 && (n * letter > fr.width() || (std::floor(n * letter / stop) + 1) * stop <= fr.width()))
        --n;
    open(std::u16string(size_t(n), u'a') + u"\tb");
    ASSERT_EQ(view->lineIndex(1), n + 1) << "the tab ends the first row";
    const QPoint tabStart = view->PosFromChar(n);
    const int tabEnd = fr.left() + qRound((std::floor(n * letter / stop) + 1) * stop);
    const int quarter = (tabEnd - tabStart.x()) / 4;
    EXPECT_EQ(view->CharFromPoint(tabStart.x() + quarter, tabStart.y() + 1), n);
    EXPECT_EQ(view->CharFromPoint(tabEnd - quarter, tabStart.y() + 1), n + 1);
    view->setWordWrap(false);
    EXPECT_FALSE(view->CaretFitsAt(0, view->formattingRect().bottom()));
    EXPECT_TRUE(view->CaretFitsAt(view->formattingRect().left(), view->formattingRect().top()));
}

TEST_F(EditViewDragDropTest, DragsOfTheSelectionApplyMoveOrCopyWithTheirUndo)
{
    struct Case {
        const char16_t* text; int s, e, drop; bool ctrl;
        const char16_t* result; int selS, selE; std::vector<int> kinds;
    };
    const Case cases[] = {
        // A word moved forward lands at the drop less its length; back, at the drop.
        {u"one two three", 0, 4, 13, false, u"two threeone ", 9, 13, {UNDO_DELETE, UNDO_INSERT}},
        {u"one two three", 8, 13, 4, false, u"one threetwo ", 4, 9, {UNDO_DELETE, UNDO_INSERT}},
        // Ctrl copies: one record, the source stays.
        {u"one two three", 0, 4, 8, true, u"one two one three", 8, 12, {UNDO_INSERT}},
        // On itself or its ends: no change, a caret at the drop.
        {u"one two three", 4, 8, 6, false, u"one two three", 6, 6, {}},
        {u"one two three", 4, 8, 8, false, u"one two three", 8, 8, {}},
        // To another line.
        {u"ab\r\ncd", 0, 1, 6, false, u"b\r\ncda", 5, 6, {UNDO_DELETE, UNDO_INSERT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(q(c.text).toStdString() + " drop " + std::to_string(c.drop));
        open(c.text);
        view->setSel(c.s, c.e);
        dragSelection(c.s, c.drop, c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_EQ(text(), std::u16string(c.result));
        EXPECT_EQ(sel(), std::make_pair(c.selS, c.selE));
        EXPECT_EQ(kinds(), c.kinds);
        // Undone step by step, the text is as before the drag.
        for (size_t k = 0; k < c.kinds.size(); ++k)
            undo();
        EXPECT_EQ(text(), std::u16string(c.text));
    }
    // Another program took a move: the source goes (one deletion); a copy leaves it.
    open(u"keep this");
    view->setSel(5, 9);
    dragSelection(6, -1, Qt::NoModifier, Qt::MoveAction);
    EXPECT_EQ(text(), u"keep ");
    EXPECT_EQ(kinds(), std::vector<int>{UNDO_DELETE});
    open(u"keep this");
    view->setSel(5, 9);
    dragSelection(6, -1, Qt::NoModifier, Qt::CopyAction);
    EXPECT_EQ(text(), u"keep this");
    EXPECT_EQ(records(), 0);
    // Text put in before the source while the drag ran: the source's range no longer holds
    // the dragged text, so a move taken elsewhere removes nothing.
    open(u"keep this");
    view->setSel(5, 9);
    view->setDragRunner([&](std::unique_ptr<QMimeData>) {
        view->setSel(0, 0);
        view->ReplaceSelWithUndo(u"XX");
        return Qt::MoveAction;
    });
    const QPoint p = pointAt(6) + QPoint(2, 0);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseMove(view->viewport(), p + QPoint(QApplication::startDragDistance() + 5, 0));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    EXPECT_EQ(text(), u"XXkeep this");
    EXPECT_EQ(kinds(), std::vector<int>{UNDO_INSERT});
}

TEST_F(EditViewDragDropTest, APressOnTheSelectionDragsAfterTheDelayOrEndsAsAClick)
{
    open(u"abcdefgh");
    int drags = 0;
    view->setDragRunner([&](std::unique_ptr<QMimeData> data) {
        EXPECT_EQ(data->text(), QStringLiteral("cdef"));
        ++drags;
        return Qt::IgnoreAction;
    });
    const QPoint inside = pointAt(4);
    // The arrow over the selection, the I-beam elsewhere.
    view->setSel(2, 6);
    QTest::mouseMove(view->viewport(), inside);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(view->viewport(), pointAt(7) + QPoint(2, 0));
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::IBeamCursor);

    // Before the drag starts, a release, Escape or a press of another button ends it as a
    // click: the caret at the press, and the left button's moves and release after that start
    // nothing. The press of another button opens no context menu.
    enum class End { Release, Escape, RightButton, MiddleButton };
    for (const End end : {End::Release, End::Escape, End::RightButton, End::MiddleButton}) {
        SCOPED_TRACE(static_cast<int>(end));
        view->setSel(2, 6);
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
        if (end == End::Release)
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
        if (end == End::Escape)
            key(Qt::Key_Escape);
        if (end == End::RightButton || end == End::MiddleButton) {
            const Qt::MouseButton other = end == End::RightButton ? Qt::RightButton : Qt::MiddleButton;
            QTest::mousePress(view->viewport(), other, Qt::NoModifier, inside);
            QContextMenuEvent menu(QContextMenuEvent::Mouse, inside, view->viewport()->mapToGlobal(inside));
            QApplication::sendEvent(view->viewport(), &menu);
            EXPECT_TRUE(menu.isAccepted());
            QTest::mouseRelease(view->viewport(), other, Qt::NoModifier, inside);
        }
        EXPECT_EQ(sel(), std::make_pair(4, 4));
        if (end != End::Release) {
            QTest::mouseMove(view->viewport(), pointAt(0));
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(0));
            EXPECT_EQ(sel(), std::make_pair(4, 4));
        }
    }
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(text(), u"abcdefgh");
    // Held still past the drag time, the drag starts.
    view->setSel(2, 6);
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(QTest::qWaitFor([&] { return drags == 1; }, QApplication::startDragTime() + 2000));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(drags, 1);
    // Outside the selection a press is an ordinary click.
    view->setSel(2, 6);
    click(7);
    EXPECT_EQ(sel(), std::make_pair(7, 7));
}

TEST_F(EditViewDragDropTest, DropsFromOtherWindowsInsertTextOnly)
{
    open(u"abc\r\ndef");
    view->setSel(0, 2);
    QMimeData data;
    data.setText(QStringLiteral("X\rY\nZ"));
    EXPECT_EQ(dropAt(data, pointAt(6), Qt::NoModifier), Qt::MoveAction);
    EXPECT_EQ(text(), u"abc\r\ndX\rY\nZef");
    EXPECT_EQ(sel(), std::make_pair(6, 11));
    EXPECT_EQ(kinds(), std::vector<int>{UNDO_INSERT});
    // Ctrl copies; text after a NUL is left out as a paste leaves it; below the last line is
    // the end of the text.
    data.setText(QString::fromUtf16(u"nu\0l", 4));
    EXPECT_EQ(dropAt(data, QPoint(10, view->viewport()->height() - 20), Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(text(), u"abc\r\ndX\rY\nZefnu");
    // A file list (with its names as text) and an image are refused.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))});
    files.setText(QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(dropAt(files, pointAt(1), Qt::NoModifier), Qt::IgnoreAction);
    QMimeData image;
    image.setImageData(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(dropAt(image, pointAt(1), Qt::NoModifier), Qt::IgnoreAction);
    EXPECT_EQ(text(), u"abc\r\ndX\rY\nZefnu");
    EXPECT_EQ(records(), 2);
    // On a partly shown last line the drop is refused and only the caret goes there.
    std::u16string many;
    for (int i = 0; i < 100; ++i)
        many += u"row\r\n";
    open(many);
    const QRect fr = view->formattingRect();
    const int partial = fr.top() + fr.height() - 1;
    ASSERT_FALSE(view->CaretFitsAt(fr.left(), partial - (partial - fr.top()) % view->lineHeight()));
    EXPECT_EQ(dropAt(data, QPoint(fr.left() + 1, partial), Qt::NoModifier), Qt::IgnoreAction);
    EXPECT_EQ(text(), many);
    EXPECT_EQ(sel().first, sel().second);
    EXPECT_GT(sel().first, 0);
}

TEST_F(EditViewDragDropTest, AnythingButFilesThatCarriesTextDropsItsText)
{
    const QUrl file = QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"));
    const QString address = QStringLiteral("https://example.com/a?b=1");
    const QList<QUrl> web{QUrl(address)};
    const struct {
        const char* what;
        QList<QUrl> urls;
        QString text;      // the drag's plain text; empty: none
        bool image;
        QString inserted;  // empty: refused
    } cases[] = {
        // A link or the address bar of a browser: the address as a URL list and as text.
        {"link", web, address, false, address},
        {"image from a page", web, address, true, address},
        {"local and web", {file, QUrl(address)}, QStringLiteral("both"), false, QStringLiteral("both")},
        // Addresses alone are text too.
        {"address without text", web, {}, false, address},
        // Files stay files, opened by the window, not pasted as names.
        {"files", {file, QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt"))}, QStringLiteral("names"), false, {}},
        {"file without text", {file}, {}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        open(u"abcdef");
        view->setSel(0, 2);
        QMimeData data;
        data.setUrls(c.urls);
        if (!c.text.isEmpty())
            data.setText(c.text);
        if (c.image)
            data.setImageData(QImage(4, 4, QImage::Format_RGB32));
        const bool taken = !c.inserted.isEmpty();
        EXPECT_EQ(dropAt(data, pointAt(4), Qt::NoModifier), taken ? Qt::MoveAction : Qt::IgnoreAction);
        if (!taken) {
            EXPECT_EQ(text(), u"abcdef");
            EXPECT_EQ(records(), 0);
            continue;
        }
        // Inserted at the drop, selected, and undone in one step.
        const int n = int(c.inserted.size());
        EXPECT_EQ(text(), u"abcd" + c.inserted.toStdU16String() + u"ef");
        EXPECT_EQ(sel(), std::make_pair(4, 4 + n));
        EXPECT_EQ(kinds(), std::vector<int>{UNDO_INSERT});
        undo();
        EXPECT_EQ(text(), u"abcdef");
    }
}

TEST_F(EditViewDragDropTest, AMillionCharactersMovedAndTenMegabytesDropped)
{
    // A million characters on one line moved past the text after them, then undone.
    std::u16string million;
    million.reserve(1000000);
    for (int i = 0; million.size() < 1000000; ++i)
        million += u"abcdefghi\u3042"[i % 10];
    const std::u16string original = million + u" tail";
    open(original);
    const int total = static_cast<int>(original.size());
    view->setSel(0, 1000000);
    view->scrollCaret();
    dragSelection(999990, total, Qt::NoModifier);
    EXPECT_TRUE(text() == u" tail" + million);
    EXPECT_EQ(sel(), std::make_pair(5, total));
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));
    undo();
    undo();
    EXPECT_TRUE(text() == original);

    // Ten megabytes from another window with lone CR and LF, kept as they are, up to a NUL
    // near the end.
    QString big;
    big.reserve(5000000 + 16);
    for (int i = 0; big.size() < 5000000; ++i)
        big += i % 2 ? QStringLiteral("\u65E5\u672C\u8A9E line\r") : QStringLiteral("text line\n");
    const qsizetype kept = big.size();
    big += QChar(0);
    big += QStringLiteral("after the nul");
    QMimeData data;
    data.setText(big);
    open(u"ab\r\ncd");
    view->setSel(0, 1);
    EXPECT_EQ(dropAt(data, pointAt(5), Qt::NoModifier), Qt::MoveAction);
    EXPECT_TRUE(text() == u"ab\r\nc" + big.left(kept).toStdU16String() + u"d");
    EXPECT_EQ(sel(), std::make_pair(5, 5 + static_cast<int>(kept)));
    EXPECT_EQ(kinds(), std::vector<int>{UNDO_INSERT});
    undo();
    EXPECT_EQ(text(), u"ab\r\ncd");
}

TEST_F(EditViewDragDropTest, DropsWhileTheFindDialogIsOpen)
{
    open(u"needle one two needle");
    view->setSel(7, 11);
    view->OpenFindReplace(true);
    CFindReplaceDialog* dialog = findReplaceState().pDialog;
    ASSERT_NE(dialog, nullptr);
    // A move inside the view and a drop from another window go on as without the dialog.
    dragSelection(7, 15, Qt::NoModifier);
    EXPECT_EQ(text(), u"needle two one needle");
    EXPECT_EQ(sel(), std::make_pair(11, 15));
    QMimeData data;
    data.setText(QStringLiteral("x needle "));
    EXPECT_EQ(dropAt(data, pointAt(0), Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(text(), u"x needle needle two one needle");
    EXPECT_EQ(sel(), std::make_pair(0, 9));
    EXPECT_TRUE(dialog->isVisible());
    // The dialog's next search starts from the dropped text.
    view->OnFindNext(QStringLiteral("needle"), true, false);
    EXPECT_EQ(sel(), std::make_pair(2, 8));
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    findReplaceState() = FindReplaceState{};
}

TEST_F(EditViewDragDropTest, TheEdgeBandScrollsWhileThePointerRestsThere)
{
    std::u16string lines;
    for (int i = 0; i < 200; ++i)
        lines += u"a fairly long line of text to scroll across, line " + std::u16string(1, u'0' + i % 10) + u"\r\n";
    open(lines);
    QMimeData data;
    data.setText(QStringLiteral("t"));
    const QPoint bottom(50, view->viewport()->height() - 3);
    QDragEnterEvent enter(bottom, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(view->firstVisibleLine(), 1);
    // Resting in the band keeps scrolling; leaving the view stops it.
    QTest::qWait(300);
    const int rested = view->firstVisibleLine();
    EXPECT_GT(rested, 2);
    QDragLeaveEvent leave;
    QApplication::sendEvent(view->viewport(), &leave);
    QTest::qWait(150);
    EXPECT_EQ(view->firstVisibleLine(), rested);
    // Inside the band on the right: one column per notification.
    const int hscroll = view->horizontalScrollBar()->value();
    QDragEnterEvent right(QPoint(view->formattingRect().right() - 3, 100), Qt::CopyAction | Qt::MoveAction, &data,
                         Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &right);
    EXPECT_EQ(view->horizontalScrollBar()->value(), hscroll + view->columnWidth());
    QApplication::sendEvent(view->viewport(), &leave);
}

} // namespace
} // namespace quillet_test
