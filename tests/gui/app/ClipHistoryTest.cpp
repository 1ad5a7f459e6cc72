// The clipboard history through the frame: what is captured, what the dialog shows, and
// the undoable insertion of the chosen entry.

#include "../shell/ShellTestSupport.h"

#include "dialogs/CClipHistoryDlg.h"
#include "doc/LogFontQt.h"

#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QScrollBar>

using namespace quillet_test;

namespace {

class ClipHistoryFrame : public ShellTest {
protected:
    static void copy(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    QStringList shownLines(const std::function<void(CClipHistoryDlg&)>& act = {})
    {
        QStringList lines;
        ui.answerModal([&](QDialog& dialog) {
            auto& history = static_cast<CClipHistoryDlg&>(dialog);
            for (int i = 0; i < history.list()->count(); ++i)
                lines << history.list()->item(i)->text();
            if (act)
                act(history);
            return history.result();
        });
        EXPECT_TRUE(frame()->executeCommand(res::ID_CLIP_HISTORY));
        return lines;
    }
};

} // namespace

TEST_F(ClipHistoryFrame, CapturesStartUpTextCopiesOfEveryKindAndOwnCopies)
{
    copy(QStringLiteral("before start"));
    ASSERT_TRUE(start());
    copy(QStringLiteral("a\r\nb"));
    copy(QStringLiteral("a\r\nb"));
    // A picture alone adds nothing.
    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(picture);
    // Copying in the editor itself is captured too.
    QTest::keyClicks(view(), QStringLiteral("own"));
    view()->setSel(0, -1);
    ASSERT_TRUE(frame()->executeCommand(res::ID_EDIT_COPY));

    const QStringList lines = shownLines([](CClipHistoryDlg& d) { d.reject(); });
    EXPECT_EQ(lines, (QStringList{QStringLiteral("  0: own"), QStringLiteral("  1: a..b"),
                                  QStringLiteral("  2: a..b"), QStringLiteral("  3: before start")}));
    EXPECT_EQ(text(), u"own");
}

TEST_F(ClipHistoryFrame, PastingAnOlderEntryReplacesTheSelectionUndoably)
{
    ASSERT_TRUE(start());
    // 10 MB of text: captured whole, shown cut, inserted whole.
    const QString big(5'000'000, QLatin1Char('q'));
    copy(big);
    copy(QStringLiteral("newer"));
    QTest::keyClicks(view(), QStringLiteral("keep SEL"));
    view()->setSel(5, 8);
    QFont listFont;
    shownLines([&](CClipHistoryDlg& d) {
        listFont = d.listFont();
        EXPECT_EQ(d.list()->currentRow(), 0);
        EXPECT_EQ(d.list()->item(1)->text().size(), 256);
        // A double click on the older entry chooses it.
        d.list()->setCurrentRow(1);
        emit d.list()->itemDoubleClicked(d.list()->item(1));
    });
    EXPECT_EQ(text(), u"keep " + big.toStdU16String());
    // The list's font: the editor's face at 9 points.
    EXPECT_EQ(listFont.pointSize(), 9);
    EXPECT_EQ(listFont.families(), doc::fontFromLogFont(view()->m_logFont).families());
    // The insertion and the deletion are undone one after the other.
    ASSERT_TRUE(frame()->executeCommand(res::ID_EDIT_UNDO));
    EXPECT_EQ(text(), u"keep ");
    ASSERT_TRUE(frame()->executeCommand(res::ID_EDIT_UNDO));
    EXPECT_EQ(text(), u"keep SEL");
}

TEST_F(ClipHistoryFrame, PasteWithNothingChosenDeletesTheSelectionOnly)
{
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("xyz"));
    view()->setSel(1, 2);
    const QStringList lines = shownLines([](CClipHistoryDlg& d) { d.accept(); });
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(text(), u"xz");
}

TEST_F(ClipHistoryFrame, TheListScrollsSidewaysToItsWidestLineAndCutsNothingShort)
{
    ASSERT_TRUE(start());
    // The widest line between shorter ones, the oldest being the shortest.
    copy(QStringLiteral("s"));
    copy(QString(300, QLatin1Char('w')));
    copy(QStringLiteral("short"));
    shownLines([](CClipHistoryDlg& d) {
        QListWidget* list = d.list();
        const QFontMetrics metrics(d.listFont());
        const int widest = metrics.horizontalAdvance(list->item(1)->text());
        ASSERT_GT(widest, list->viewport()->width());
        // Pixel by pixel, up to the widest line and 10 pixels more.
        QScrollBar* bar = list->horizontalScrollBar();
        EXPECT_EQ(bar->maximum() + list->viewport()->width(), widest + 10);
        // Each line is drawn whole, none ends in "..." at the list's edge.
        EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
        // Scrolled to the end, the line's end is at the list's right edge.
        bar->setValue(bar->maximum());
        EXPECT_EQ(list->visualItemRect(list->item(1)).right(), list->viewport()->rect().right());
        d.reject();
    });
}
