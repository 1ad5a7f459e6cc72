// Where characters are drawn and which character a point hits; rows when wrapping.
#include "EditControlTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QWheelEvent>

#include <climits>
#include <string>
#include <vector>

using quillet_test::EditControlTest;

namespace {

// Every boundary of the text maps to a point from which charFromPos finds it again.
void expectRoundTrips(platform::EditControl& edit, const std::u16string& text)
{
    edit.setText(text);
    for (int i = 0; i <= static_cast<int>(text.size()); ++i) {
        const char16_t c = i < static_cast<int>(text.size()) ? text[i] : 0;
        if (c == u'\n' || (c >= 0xDC00 && c <= 0xDFFF))
            continue;   // inside a CR LF or a surrogate pair: not a boundary
        const QPoint p = edit.caretPosFromChar(i);
        EXPECT_EQ(edit.charFromPos(p + QPoint(0, edit.lineHeight() / 2)), i) << "boundary " << i;
    }
}

} // namespace

TEST_F(EditControlTest, PositionsRoundTripOnMixedScripts)
{
    expectRoundTrips(*edit, u"ab日本語cd\r\n한국어 text 中文\r\n");
    expectRoundTrips(*edit, u"\tx\ty\t\r\nab\tc");
    expectRoundTrips(*edit, u"a\rb\nc\x01" u"d\x7F" u"e\U0001F600f");
}

// Every pixel of a row finds the caret stop nearest to it, in a short line and in the last
// piece of a long one, also where a tab and a combining mark once sent a point on "b" past the
// next tab.
TEST_F(EditControlTest, EveryPixelFindsTheNearestCaretStop)
{
    const std::u16string row = u"a\tb\u0301c\U0001F600d\txyz";
    std::u16string longLine;
    while (longLine.size() < 3000)
        longLine += u"word ";
    for (const std::u16string& text : {row, longLine + row}) {
        edit->setText(text);
        const int first = static_cast<int>(text.size() - row.size());
        const int end = static_cast<int>(text.size());
        edit->setSel(end, end);
        edit->scrollCaret();
        std::vector<int> stopX;  // not inside "b" and its mark nor inside the pair
        for (int i = first; i <= end; ++i)
            if (i != first + 3 && i != first + 6)
                stopX.push_back(edit->caretPosFromChar(i).x());
        const int y = edit->caretPosFromChar(first).y() + edit->lineHeight() / 2;
        for (int x = stopX.front(); x <= stopX.back(); ++x) {
            int nearest = INT_MAX;
            for (int sx : stopX)
                nearest = std::min(nearest, std::abs(sx - x));
            const int got = edit->charFromPos(QPoint(x, y));
            ASSERT_TRUE(got >= first && got <= end && got != first + 3 && got != first + 6) << got;
            EXPECT_LE(std::abs(edit->caretPosFromChar(got).x() - x), nearest + 1)
                << "x " << x << " gave " << got - first << " in a line of " << text.size();
        }
    }
}

TEST_F(EditControlTest, PositionsAdvanceByTheWidthOfWhatIsDrawn)
{
    edit->setText(u"ab日c\r\nxy");
    const QPoint a = edit->posFromChar(0);
    const QPoint b = edit->posFromChar(1);
    const QPoint cjk = edit->posFromChar(2);
    const QPoint c = edit->posFromChar(3);
    EXPECT_EQ(a.y(), b.y());
    EXPECT_EQ(a, edit->formattingRect().topLeft()) << "the first cell starts at the formatting rectangle";
    EXPECT_GT(b.x(), a.x());
    EXPECT_GT(c.x() - cjk.x(), b.x() - a.x()) << "a CJK character is wider than a Latin one";
    EXPECT_EQ(edit->posFromChar(6).y(), a.y() + edit->lineHeight()) << "second line one line lower";
    // The CR and LF of a line end sit right after the line's last character.
    EXPECT_EQ(edit->posFromChar(4), edit->caretPosFromChar(4));
    EXPECT_EQ(edit->posFromChar(5).x(), edit->posFromChar(4).x());
    EXPECT_GT(edit->posFromChar(4).x(), c.x());
}

TEST_F(EditControlTest, EndOfTextHasNoCharacterPositionButHasACaretPosition)
{
    edit->setText(u"ab\r\ncd");
    EXPECT_EQ(edit->posFromChar(6), QPoint(-1, -1));
    EXPECT_EQ(edit->posFromChar(-1), QPoint(-1, -1));
    EXPECT_EQ(edit->posFromChar(7), QPoint(-1, -1));
    const QPoint end = edit->caretPosFromChar(6);
    EXPECT_EQ(end.y(), edit->posFromChar(4).y());
    EXPECT_GT(end.x(), edit->posFromChar(5).x());

    // A text ending with CR LF has an empty last line below.
    edit->setText(u"ab\r\n");
    EXPECT_EQ(edit->caretPosFromChar(4), QPoint(edit->formattingRect().left(), edit->lineHeight()));
}

TEST_F(EditControlTest, ControlCharactersStayOnTheirLineAsSymbols)
{
    edit->setText(u"a\rb\nc\x01" u"d");
    EXPECT_EQ(edit->lineCount(), 1);
    const int y = edit->posFromChar(0).y();
    int previousX = -1;
    for (int i = 0; i < 7; ++i) {
        const QPoint p = edit->posFromChar(i);
        EXPECT_EQ(p.y(), y) << i;
        EXPECT_GT(p.x(), previousX) << "each symbol takes room: " << i;
        previousX = p.x();
    }
    // The symbols are drawn: the row is not blank between a and b.
    const QImage image = edit->viewport()->grab().toImage();
    const QColor background = edit->palette().color(QPalette::Base);
    int inked = 0;
    for (int x = edit->posFromChar(1).x(); x < edit->posFromChar(2).x(); ++x)
        for (int yy = y; yy < y + edit->lineHeight(); ++yy)
            inked += image.pixel(x, yy) != background.rgb();
    EXPECT_GT(inked, 5);
}

TEST_F(EditControlTest, TabStopsAreDialogUnitsOfTheAverageCharacter)
{
    const qreal average = edit->averageCharWidth();
    edit->setText(u"\tx");
    const int left = edit->formattingRect().left();
    EXPECT_EQ(edit->tabStops(), 32);
    EXPECT_NEAR(edit->posFromChar(1).x() - left, 8 * average, 1);

    edit->setTabStops(16);   // four characters
    EXPECT_NEAR(edit->posFromChar(1).x() - left, 4 * average, 1);
    edit->setText(u"ab\tx");
    EXPECT_NEAR(edit->posFromChar(3).x() - left, 4 * average, 1) << "to the next stop, not one stop on";

    edit->setTabStops(0);
    EXPECT_EQ(edit->tabStops(), 32);
}

TEST_F(EditControlTest, MarginsShapeTheFormattingRectangle)
{
    edit->setMargins(10, 20);
    const QRect rect = edit->formattingRect();
    EXPECT_EQ(rect.left(), 10);
    EXPECT_EQ(rect.right(), edit->viewport()->width() - 1 - 20);
    EXPECT_EQ(edit->leftMargin(), 10);
    EXPECT_EQ(edit->rightMargin(), 20);
    edit->setText(u"x");
    EXPECT_EQ(edit->posFromChar(0).x(), 10);
    EXPECT_EQ(edit->charFromPos(QPoint(0, 5)), 0) << "a point in the margin maps to the nearest boundary";
}

TEST_F(EditControlTest, LineScrollAndScrollCaret)
{
    std::u16string lines;
    for (int i = 0; i < 200; ++i)
        lines += u"some text on a line that is fairly long, longer than the window is wide\r\n";
    edit->setText(lines);
    EXPECT_TRUE(edit->lineScroll(0, 10));
    EXPECT_EQ(edit->firstVisibleLine(), 10);
    EXPECT_EQ(edit->posFromChar(edit->lineIndex(10)).y(), 0);
    edit->lineScroll(0, -20);
    EXPECT_EQ(edit->firstVisibleLine(), 0);

    edit->lineScroll(3, 0);
    EXPECT_EQ(edit->horizontalScrollBar()->value(), 3 * edit->columnWidth());
    EXPECT_EQ(edit->posFromChar(0).x(), edit->formattingRect().left() - 3 * edit->columnWidth());
    edit->lineScroll(-3, 0);

    // setSel does not scroll; scrollCaret brings the caret into view.
    const int far = edit->lineIndex(150) + 70;
    edit->setSel(far, far);
    EXPECT_EQ(edit->firstVisibleLine(), 0);
    edit->scrollCaret();
    const QPoint p = edit->posFromChar(far);
    EXPECT_TRUE(edit->formattingRect().contains(p)) << p.x() << "," << p.y();
    EXPECT_GT(edit->firstVisibleLine(), 100);

    // Typing keeps the caret in view by itself.
    edit->setSel(0, 0);
    type(QStringLiteral("x"));
    EXPECT_EQ(edit->firstVisibleLine(), 0);
    EXPECT_EQ(edit->horizontalScrollBar()->value(), 0);
}

TEST_F(EditControlTest, WrappingCountsDisplayRows)
{
    const std::u16string words = u"the quick brown fox jumps over the lazy dog again and again ";
    std::u16string line;
    for (int i = 0; i < 4; ++i)
        line += words;
    edit->setText(line + u"\r\nshort");
    EXPECT_EQ(edit->lineCount(), 2);
    EXPECT_EQ(edit->lineIndex(1), static_cast<int>(line.size()) + 2);

    edit->setWordWrap(true);
    EXPECT_TRUE(edit->wordWrap());
    const int rows = edit->lineCount();
    EXPECT_GT(rows, 4) << "a 240-character line wraps into several rows in 400 pixels";
    EXPECT_EQ(edit->lineIndex(rows - 1), static_cast<int>(line.size()) + 2) << "the short line is the last row";
    EXPECT_EQ(edit->lineIndex(rows), -1);
    EXPECT_EQ(edit->horizontalScrollBar()->maximum(), 0);

    // Row starts increase; each row fits the formatting rectangle; rows break at spaces.
    int previous = 0;
    for (int row = 1; row < rows - 1; ++row) {
        const int start = edit->lineIndex(row);
        EXPECT_GT(start, previous);
        EXPECT_EQ(line[start - 1], u' ') << "row " << row << " starts after a space";
        EXPECT_EQ(edit->lineFromChar(start), row);
        EXPECT_EQ(edit->lineFromChar(start - 1), row - 1);
        EXPECT_EQ(edit->lineLength(start), edit->lineIndex(row + 1) - start - (row + 1 == rows - 1 ? 2 : 0));
        EXPECT_EQ(edit->posFromChar(start).x(), edit->formattingRect().left());
        EXPECT_EQ(edit->posFromChar(start).y(), row * edit->lineHeight());
        previous = start;
    }

    // A narrower window makes more rows; the row of a position follows.
    edit->resize(250, 300);
    QApplication::processEvents();
    EXPECT_GT(edit->lineCount(), rows);

    edit->setWordWrap(false);
    EXPECT_EQ(edit->lineCount(), 2);
    EXPECT_EQ(edit->lineFromChar(static_cast<int>(line.size()) - 1), 0);
}

TEST_F(EditControlTest, WrappedRowsFollowEdits)
{
    edit->setWordWrap(true);
    const std::u16string words = u"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll ";
    edit->setText(words + words + u"\r\nz");
    const int rows = edit->lineCount();
    ASSERT_GT(rows, 2);

    // Typing a line end in the first line adds exactly one row before the last one.
    edit->setSel(0, 0);
    key(Qt::Key_Return);
    EXPECT_EQ(edit->lineCount(), rows + 1);
    EXPECT_EQ(edit->lineIndex(edit->lineCount() - 1), static_cast<int>(2 * words.size()) + 4);

    // Deleting the long line leaves two short rows.
    edit->setSel(2, 2 + static_cast<int>(2 * words.size()));
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"\r\n\r\nz");
    EXPECT_EQ(edit->lineCount(), 3);
    EXPECT_EQ(edit->lineIndex(2), 4);
}

TEST_F(EditControlTest, EndOnAWrappedRowStaysOnThatRow)
{
    edit->setWordWrap(true);
    std::u16string line;
    for (int i = 0; i < 30; ++i)
        line += u"word ";
    edit->setText(line);
    ASSERT_GT(edit->lineCount(), 1);
    edit->setSel(0, 0);
    key(Qt::Key_End);
    const int rowEnd = edit->lineIndex(1);
    EXPECT_EQ(sel(), std::make_pair(rowEnd, rowEnd));
    // The caret is drawn at the end of the first row, not at the start of the second.
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect()
                            .translated(-edit->viewport()->geometry().topLeft());
    EXPECT_EQ(caret.top(), 0);
    EXPECT_GT(caret.left(), edit->formattingRect().left() + 10);
    // A click right of the first row's end puts the caret there too, after the row's space.
    edit->setSel(0, 0);
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {},
                      QPoint(edit->formattingRect().right() - 1, edit->lineHeight() / 2));
    EXPECT_EQ(sel(), std::make_pair(rowEnd, rowEnd));
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(), caret
              .translated(edit->viewport()->geometry().topLeft()));
    // Typing there continues the text where the caret is.
    type(QStringLiteral("X"));
    EXPECT_EQ(text()[rowEnd], u'X');
}

TEST_F(EditControlTest, SelectionStaysVisibleGreyedWithoutFocus)
{
    edit->setText(u"MMMMMMMM");
    edit->setSel(0, 8);
    const QPoint inside = edit->posFromChar(2) + QPoint(1, 1);
    const QRgb focused = edit->viewport()->grab().toImage().pixel(inside);
    EXPECT_EQ(focused, edit->palette().color(QPalette::Active, QPalette::Highlight).rgb());

    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(edit->hasFocus());
    const QRgb unfocused = edit->viewport()->grab().toImage().pixel(inside);
    EXPECT_NE(unfocused, edit->palette().color(QPalette::Base).rgb()) << "still highlighted";
    EXPECT_EQ(unfocused, edit->palette().color(QPalette::Midlight).rgb());
}

TEST_F(EditControlTest, FontChangeChangesLineHeightAndPositions)
{
    edit->setText(u"ab\r\ncd");
    const int small = edit->lineHeight();
    QFont big = quillet_test::testFont();
    big.setPointSize(24);
    edit->setFont(big);
    EXPECT_EQ(edit->lineHeight(), QFontMetrics(big).height());
    EXPECT_GT(edit->lineHeight(), small);
    EXPECT_EQ(edit->posFromChar(4).y(), edit->lineHeight());
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST_F(EditControlTest, NoPaintingWhileRedrawIsOff)
{
    PaintCounter counter;
    edit->viewport()->installEventFilter(&counter);
    edit->setRedraw(false);
    EXPECT_FALSE(edit->redraw());
    edit->setText(u"one\r\ntwo");
    type(QStringLiteral("abc"));
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(text(), u"abcone\r\ntwo") << "editing goes on while nothing is drawn";

    edit->setRedraw(true);
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(EditControlTest, WheelScrollsByLines)
{
    std::u16string lines;
    for (int i = 0; i < 100; ++i)
        lines += u"line\r\n";
    edit->setText(lines);
    const QPoint inside(50, 50);
    QWheelEvent wheel(QPointF(inside), QPointF(edit->viewport()->mapToGlobal(inside)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit->viewport(), &wheel);
    EXPECT_EQ(edit->firstVisibleLine(), QApplication::wheelScrollLines());
    EXPECT_EQ(sel(), std::make_pair(0, 0)) << "scrolling leaves the caret where it is";
}

TEST_F(EditControlTest, TypingPastTheRightEdgeScrollsSideways)
{
    for (int i = 0; i < 80; ++i)
        type(QStringLiteral("w"));
    EXPECT_GT(edit->horizontalScrollBar()->value(), 0);
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect()
                            .translated(-edit->viewport()->geometry().topLeft());
    EXPECT_TRUE(edit->formattingRect().contains(caret.topLeft()));
    key(Qt::Key_Home);
    EXPECT_EQ(edit->horizontalScrollBar()->value(), 0);
}
