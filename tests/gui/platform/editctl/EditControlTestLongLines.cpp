// Lines of a hundred thousand units and more through the control: geometry, bad input that
// never hangs, compositions in wrapped long lines, and what typing redraws.
#include "EditControlTestSupport.h"
#include "LongLineText.h"

#include "edit/UndoHistory.h"
#include "platform/editctl/TextBuffer.h"

#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using quillet_test::EditControlTest;
using quillet_test::boundaryNear;
using quillet_test::cjkFont;
using quillet_test::isBoundary;
using quillet_test::longLines;

namespace {

// Counts the paint events a widget gets, and what they paint.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};


} // namespace

// The control on a long line: every boundary found again from its point, End and Home,
// the scroll range, moving down rows at the goal column, and a composition in the middle.
TEST_F(EditControlTest, LongLineGeometryThroughTheControl)
{
    std::mt19937 rng(7u);
    std::u16string text = longLines(rng, 150000, 0);
    edit->setFont(cjkFont());
    edit->setText(text);
    for (bool wrap : {false, true}) {
        edit->setWordWrap(wrap);
        for (int i = 0; i < 300; ++i) {
            const int pos = boundaryNear(edit->buffer(), static_cast<int>(rng() % (text.size() + 1)));
            if (pos < edit->textLength() && edit->buffer().at(pos) == 0x0301)
                continue;   // inside a cluster a point finds the cluster's edge
            edit->setSel(pos, pos);
            edit->scrollCaret();
            const QPoint p = edit->caretPosFromChar(pos);
            ASSERT_TRUE(edit->viewport()->rect().contains(p)) << "scrolled into view: " << pos;
            int found = edit->charFromPos(p + QPoint(0, edit->lineHeight() / 2));
            EXPECT_EQ(found, pos) << (wrap ? "wrapped" : "unwrapped");
        }
        key(Qt::Key_Home, Qt::ControlModifier);
        key(Qt::Key_End);
        const int rowEnd = sel().second;
        EXPECT_EQ(rowEnd, wrap ? edit->lineIndex(0) + edit->lineLength(0) : static_cast<int>(text.size()));
        EXPECT_TRUE(edit->viewport()->rect().contains(edit->caretPosFromChar(rowEnd) - QPoint(1, 0)) || wrap);
        if (!wrap) {
            const QScrollBar* bar = edit->horizontalScrollBar();
            EXPECT_GE(bar->maximum() + edit->formattingRect().width(), bar->value() + 1);
            EXPECT_NEAR(bar->value() + edit->caretPosFromChar(rowEnd).x(), bar->maximum() + edit->formattingRect().width(),
                        edit->formattingRect().width() / 3 + 4) << "the range ends at the line's width";
        }
        key(Qt::Key_Home);
        EXPECT_EQ(sel().second, wrap ? edit->lineIndex(0) : 0);
    }

    // Down keeps the goal column across many wrapped rows.
    edit->setSel(50000, 50000);
    const auto caretRect = [&] { return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
    const int goal = caretRect().x();
    for (int i = 0; i < 30; ++i) {
        const int row = edit->lineFromChar(sel().second);
        key(Qt::Key_Down);
        EXPECT_GE(edit->lineFromChar(sel().second), row) << i;
        // A row may end early, before a word that did not fit, but never goes past the goal.
        EXPECT_LE(caretRect().x(), goal + edit->lineHeight()) << i;
        EXPECT_GE(caretRect().x(), goal - 6 * edit->lineHeight()) << i;
    }

    // A composition in the middle of the line is shown in place; the text only changes when
    // it is committed.
    edit->setWordWrap(false);
    const int middle = boundaryNear(edit->buffer(), 75000);
    edit->setSel(middle, middle);
    edit->scrollCaret();
    edit->viewport()->repaint();   // the pieces in view are shaped: x no longer moves
    const QRect before = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QInputMethodEvent compose(QStringLiteral("にほん"), {});
    QApplication::sendEvent(edit.get(), &compose);
    edit->viewport()->repaint();
    const QRect during = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(during.top(), before.top());
    EXPECT_GT(during.left(), before.left() + edit->lineHeight()) << "after three kana";
    EXPECT_EQ(edit->text(), text);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(edit.get(), &commit);
    EXPECT_EQ(edit->text(), text.substr(0, middle) + u"日本" + text.substr(middle));
}

// Bad input: nothing hangs or crashes, the caret stays on boundaries, undo restores the text
// exactly. The time limit only catches a hang; speed is measured by the benchmarks.
TEST_F(EditControlTest, BadLongLinesNeitherHangNorLoseTheCaret)
{
    const auto repeat = [](std::u16string_view unit, size_t times) {
        std::u16string text;
        text.reserve(unit.size() * times);
        for (size_t i = 0; i < times; ++i)
            text += unit;
        return text;
    };
    std::u16string mixed;
    while (mixed.size() < 400000)
        mixed += u"abc \u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 123 ";
    QFont zeroWidth = quillet_test::testFont();
    zeroWidth.setLetterSpacing(QFont::PercentageSpacing, 0);
    zeroWidth.setStretch(1);
    struct Case {
        const char* name;
        std::u16string text;
        QFont font;
    };
    const Case cases[] = {
        {"combining marks", u"a" + repeat(u"\u0301", 1000000), quillet_test::testFont()},
        {"emoji", repeat(u"\U0001F600", 500000), quillet_test::testFont()},
        {"right to left", mixed, quillet_test::testFont()},
        {"tabs", repeat(u"\t", 1000000), quillet_test::testFont()},
        {"boxes", repeat(u"\x01\x1B\x7F\n\r", 200000), quillet_test::testFont()},
        {"zero-width font", repeat(u"abc ", 250000), zeroWidth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QElapsedTimer timer;
        timer.start();
        edit->setFont(c.font);
        edit->setWordWrap(false);
        edit->setText(c.text);
        CUndoHistory undo;
        undo.SetBuffer(&edit->buffer());
        const auto caretOnBoundary = [&] {
            EXPECT_TRUE(isBoundary(edit->buffer(), sel().first) && isBoundary(edit->buffer(), sel().second))
                << sel().first << ".." << sel().second;
        };
        for (bool wrap : {false, true}) {
            edit->setWordWrap(wrap);
            edit->viewport()->repaint();
            key(Qt::Key_End);
            caretOnBoundary();
            key(Qt::Key_End, Qt::ControlModifier);
            edit->viewport()->repaint();
            key(Qt::Key_Left, Qt::ShiftModifier);
            caretOnBoundary();
            const int middle = boundaryNear(edit->buffer(), edit->textLength() / 2);
            edit->setSel(middle, middle);
            edit->scrollCaret();
            for (int x : {0, 37, 150, 301}) {
                QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, rowPoint(0, x));
                caretOnBoundary();
            }
            key(Qt::Key_Down);
            caretOnBoundary();
            undo.RecordInsert(u"x", false);
            type(QStringLiteral("x"));
            undo.RecordKeyDelete(CUndoHistory::kKeyBackspace);
            key(Qt::Key_Backspace);
            undo.RecordKeyDelete(CUndoHistory::kKeyBackspace);
            key(Qt::Key_Backspace);
            caretOnBoundary();
            key(Qt::Key_Home);
            key(Qt::Key_End, Qt::ShiftModifier);
            caretOnBoundary();
            edit->selectAll();
            edit->viewport()->repaint();
        }
        while (undo.Undo()) {
        }
        EXPECT_EQ(edit->text(), c.text);
        EXPECT_LT(timer.elapsed(), 60000) << "hung";
    }
}

// A composition in a wrapped long line re-flows the rows after it as the committed text
// would: the text it pushes out of its row goes on in a row of its own, the caret follows
// it there, the rows after it are drawn a row further down, and it looks exactly as the
// same text committed.
TEST_F(EditControlTest, WrappedLongLineCompositionPushesTheRowsAfterItDown)
{
    // One word and a space a row, each word of another letter and three columns short of
    // the row's width.
    edit->setWordWrap(true);
    const QFontMetrics metrics(edit->font());
    const int columns = edit->formattingRect().width() / metrics.horizontalAdvance(QLatin1Char('a'));
    std::u16string text;
    for (int i = 0; i < 60; ++i)
        text += std::u16string(static_cast<size_t>(columns - 3), static_cast<char16_t>(u'a' + i % 26)) + u" ";
    ASSERT_GT(text.size(), 1024u) << "laid out in pieces";
    edit->setText(text);
    ASSERT_EQ(edit->lineCount(), 60);
    const int caret = 3 * (columns - 2) - 1;   // before the third space
    edit->setSel(caret, caret);
    const int height = edit->lineHeight();
    const QPoint viewportAt = edit->viewport()->geometry().topLeft();
    const auto band = [&](const QImage& image, int row) {
        return image.copy(0, edit->formattingRect().top() + row * height, image.width(), height);
    };
    const auto caretRect = [&] { return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().translated(-viewportAt); };
    const QRect caretBefore = caretRect();
    const QImage plain = edit->viewport()->grab().toImage();
    const int shownRows = edit->formattingRect().height() / height;
    ASSERT_GE(shownRows, 6);

    const QString kana = QStringLiteral("にほんごにほんご");
    const QList<QInputMethodEvent::Attribute> plainFormat = {
        {QInputMethodEvent::TextFormat, 0, static_cast<int>(kana.size()), QVariant(QTextCharFormat())}};
    const auto compose = [&](const QString& preedit, const QString& commit, QList<QInputMethodEvent::Attribute> attributes) {
        QInputMethodEvent event(preedit, attributes);
        if (!commit.isEmpty())
            event.setCommitString(commit);
        QApplication::sendEvent(edit.get(), &event);
    };

    // The caret at the composition's start stays where it was.
    compose(kana, QString(), plainFormat + QList<QInputMethodEvent::Attribute>{{QInputMethodEvent::Cursor, 0, 1, QVariant()}});
    EXPECT_EQ(caretRect().topLeft(), caretBefore.topLeft());

    compose(kana, QString(), plainFormat);
    const QRect caretDuring = caretRect();
    EXPECT_EQ(caretDuring.top(), edit->formattingRect().top() + 3 * height) << "the caret follows the composition";
    const QImage composing = edit->viewport()->grab().toImage();
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(band(composing, row), band(plain, row)) << "rows before it stay: " << row;
    for (int row = 3; row + 1 < shownRows; ++row)
        EXPECT_EQ(band(composing, row + 1), band(plain, row)) << "moved down a row: " << row;
    // The pushed-out kana are drawn in the caret's row, ending at the caret.
    const QImage caretRow = band(composing, 3);
    int inkRight = -1;
    for (int x = 0; x < caretRow.width(); ++x) {
        if (x >= caretDuring.left() - 1 && x <= caretDuring.right() + 1)
            continue;   // the caret itself
        for (int y = 0; y < height; ++y) {
            if (qGray(caretRow.pixel(x, y)) < 128)
                inkRight = x;
        }
    }
    EXPECT_GT(inkRight, caretDuring.left() - metrics.horizontalAdvance(kana.back()));
    EXPECT_LE(inkRight, caretDuring.left() + 1);
    EXPECT_EQ(edit->lineCount(), 60) << "the text's own rows stay as they are";
    EXPECT_EQ(edit->text(), text);

    // Another composition of the same length draws again only the rows that show it.
    QApplication::processEvents();
    PaintCounter paints(edit->viewport());
    compose(QStringLiteral("日本語日本語日本"), QString(), plainFormat);
    QApplication::processEvents();
    const auto rowBand = [&](int row) { return QRect(0, edit->formattingRect().top() + row * height, 1, height); };
    EXPECT_TRUE(paints.painted.intersects(rowBand(2)) && paints.painted.intersects(rowBand(3)));
    EXPECT_FALSE(paints.painted.intersects(rowBand(4))) << "the rows after it show the same text";
    compose(kana, QString(), plainFormat);

    // Ending the composition puts every row back; committing it shows what was composed.
    compose(QString(), QString(), {});
    EXPECT_EQ(edit->viewport()->grab().toImage(), plain);
    compose(kana, QString(), plainFormat);
    compose(QString(), kana, {});
    EXPECT_EQ(edit->lineCount(), 61);
    EXPECT_EQ(caretRect(), caretDuring);
    EXPECT_EQ(edit->viewport()->grab().toImage(), composing);

    // Where a row may break anywhere, the rows a composition moves line up again only far
    // below it; another composition of the same length keeps them and draws only its own.
    std::u16string kanji;
    while (kanji.size() < 3000)
        kanji += u"吾輩猫名前無";
    edit->setText(kanji);
    edit->setSel(edit->lineIndex(2) + 3, edit->lineIndex(2) + 3);
    const QImage kanjiRows = band(edit->viewport()->grab().toImage(), 5);
    compose(QStringLiteral("にほん"), QString(), plainFormat);
    QApplication::processEvents();
    const QImage movedRows = band(edit->viewport()->grab().toImage(), 5);
    EXPECT_NE(movedRows, kanjiRows);
    PaintCounter repainted(edit->viewport());
    compose(QStringLiteral("日本語"), QString(), plainFormat);
    QApplication::processEvents();
    EXPECT_TRUE(repainted.painted.intersects(rowBand(2)));
    EXPECT_FALSE(repainted.painted.intersects(rowBand(5)));
    EXPECT_EQ(band(edit->viewport()->grab().toImage(), 5), movedRows);
}

TEST_F(EditControlTest, CompositionCaretOutOfTheWindowScrollsTheViewToIt)
{
    const QFontMetrics metrics(edit->font());
    const int height = edit->lineHeight();
    const QPoint viewportAt = edit->viewport()->geometry().topLeft();
    QScrollBar* vertical = edit->verticalScrollBar();
    QScrollBar* horizontal = edit->horizontalScrollBar();
    const QString kana = QStringLiteral("にほんごにほんご");
    const auto compose = [&](const QString& preedit, const QString& commit = QString()) {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty())
            event.setCommitString(commit);
        QApplication::sendEvent(edit.get(), &event);
    };
    // Whether the caret (the composition's, while one is shown) stands whole in the window.
    const auto caretShown = [&] {
        const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().translated(-viewportAt);
        const QRect window = edit->formattingRect();
        const int bottom = window.top() + window.height() / height * height;
        return caret.top() >= window.top() && caret.top() + height <= bottom && caret.left() >= window.left()
               && caret.right() <= window.right();
    };
    edit->setWordWrap(true);
    const int columns = edit->formattingRect().width() / metrics.horizontalAdvance(QLatin1Char('a'));
    const int shownRows = edit->formattingRect().height() / height;
    ASSERT_GE(shownRows, 6);

    // A short last line that ends three columns short of its row, in the window's bottom row:
    // the composition's caret goes onto a row that only the composition adds.
    std::u16string lines;
    for (int i = 0; i < shownRows + 2; ++i)
        lines += u"line\r\n";
    lines += std::u16string(static_cast<size_t>(columns - 3), u'a');
    edit->setText(lines);
    edit->setSel(static_cast<int>(lines.size()), static_cast<int>(lines.size()));
    edit->scrollCaret();
    const int top = vertical->value();
    ASSERT_EQ(top, edit->lineCount() - shownRows);
    compose(QStringLiteral("ab"));
    EXPECT_EQ(vertical->value(), top) << "a composition that stays in the row scrolls nothing";
    compose(kana);
    EXPECT_EQ(vertical->value(), top + 1) << "the caret pushed below the window is followed";
    EXPECT_TRUE(caretShown());
    compose(QString());
    EXPECT_EQ(vertical->value(), top) << "ending it gives the added row back";
    EXPECT_TRUE(caretShown());
    compose(kana);
    compose(QString(), kana);
    EXPECT_EQ(vertical->value(), top + 1) << "committed, the text keeps the row";
    EXPECT_TRUE(caretShown());

    // A long line laid out in pieces, one word a row, the caret at the end of the bottom row.
    std::u16string words;
    for (int i = 0; i < 60; ++i)
        words += std::u16string(static_cast<size_t>(columns - 3), static_cast<char16_t>(u'a' + i % 26)) + u" ";
    ASSERT_GT(words.size(), 1024u);
    edit->setText(words);
    const int caretRow = 20;
    const int caret = (caretRow + 1) * (columns - 2) - 1;
    edit->setSel(caret, caret);
    vertical->setValue(caretRow - shownRows + 1);
    ASSERT_TRUE(caretShown());
    compose(QStringLiteral("ab"));
    EXPECT_EQ(vertical->value(), caretRow - shownRows + 1);
    compose(kana);
    EXPECT_EQ(vertical->value(), caretRow - shownRows + 2) << "the re-flowed rows are followed";
    EXPECT_TRUE(caretShown());
    compose(QString());
    EXPECT_EQ(vertical->value(), caretRow - shownRows + 2) << "the text's caret is in sight: no scroll";
    EXPECT_TRUE(caretShown());

    // Without wrapping, a line four columns short of the right edge.
    edit->setWordWrap(false);
    const int wide = edit->formattingRect().width() / metrics.horizontalAdvance(QLatin1Char('a'));
    const std::u16string line(static_cast<size_t>(wide - 4), u'a');
    edit->setText(line + u"\r\nb");
    edit->setSel(static_cast<int>(line.size()), static_cast<int>(line.size()));
    compose(QStringLiteral("ab"));
    EXPECT_EQ(horizontal->value(), 0);
    compose(QStringLiteral("abcdefgh"));
    EXPECT_GT(horizontal->value(), 0) << "the caret past the right edge is followed";
    EXPECT_TRUE(caretShown());
    compose(QString());
    EXPECT_TRUE(caretShown());
    compose(QStringLiteral("abcdefgh"));
    compose(QString(), QStringLiteral("abcdefgh"));
    EXPECT_TRUE(caretShown());
    EXPECT_EQ(edit->text(), line + u"abcdefgh\r\nb");
}

// Typing in a long line widens the scroll range at every key by far less than a pixel of
// the slider: the range stays exact, but neither bar is drawn again. A range that moves the
// value still scrolls the text.
TEST_F(EditControlTest, TypingInALongLineRedrawsNoScrollBar)
{
    std::mt19937 rng(11u);
    edit->setText(longLines(rng, 200000, 0));
    const int middle = boundaryNear(edit->buffer(), 100000);
    edit->setSel(middle, middle);
    edit->scrollCaret();
    edit->viewport()->repaint();
    QApplication::processEvents();
    QScrollBar* bar = edit->horizontalScrollBar();
    const int rangeBefore = bar->maximum();
    PaintCounter horizontal(bar);
    PaintCounter vertical(edit->verticalScrollBar());
    type(QStringLiteral("abcde"));
    QApplication::processEvents();   // paints, and finds the line wider
    QApplication::processEvents();
    EXPECT_EQ(horizontal.count + vertical.count, 0);
    EXPECT_GE(bar->maximum(), rangeBefore + 5 * QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('a')) - 1);

    key(Qt::Key_End);
    QApplication::processEvents();
    EXPECT_GT(horizontal.count, 0) << "the slider moved";

    // The text shrinks under the scrolled view: the value follows the range, and so does the text.
    edit->selectAll();
    key(Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(edit->caretPosFromChar(0).x(), edit->formattingRect().left());
}
