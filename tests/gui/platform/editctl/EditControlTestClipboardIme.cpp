// The clipboard commands and input-method text.
#include "EditControlTestSupport.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextCharFormat>

#include <vector>

using quillet_test::EditControlTest;

namespace {

QString u16(const std::u16string& s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

void sendIme(QWidget* target, const QString& preedit, const QString& commit,
             const QList<QInputMethodEvent::Attribute>& attributes = {}, int replaceFrom = 0, int replaceLength = 0)
{
    QInputMethodEvent event(preedit, attributes);
    if (!commit.isEmpty() || replaceLength > 0)
        event.setCommitString(commit, replaceFrom, replaceLength);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(EditControlTest, CopyCutAndPasteCarryUnicodeText)
{
    const std::u16string mixed = u"日本語 한국어 中文 \U0001F600 e\u0301";
    edit->setText(u"[" + mixed + u"]");
    edit->setSel(1, 1 + static_cast<int>(mixed.size()));
    edit->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), u16(mixed));
    EXPECT_EQ(text(), u"[" + mixed + u"]") << "copy leaves the text";

    edit->cut();
    EXPECT_EQ(text(), u"[]");
    EXPECT_EQ(sel(), std::make_pair(1, 1));

    edit->paste();
    edit->paste();
    EXPECT_EQ(text(), u"[" + mixed + mixed + u"]");
    EXPECT_EQ(edit->buffer().caret(), 1 + 2 * static_cast<int>(mixed.size()));

    // Cut with nothing selected changes neither the text nor the clipboard.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    edit->cut();
    edit->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(EditControlTest, PasteKeepsForeignLineEndsAndStopsAtNul)
{
    QApplication::clipboard()->setText(QStringLiteral("a\nb\rc\r\nd"));
    edit->paste();
    EXPECT_EQ(text(), u"a\nb\rc\r\nd");
    EXPECT_EQ(edit->lineCount(), 2) << "only the CR LF breaks a line";

    edit->setText(u"");
    QApplication::clipboard()->setText(QString::fromUtf16(u"before\0after", 12));
    EXPECT_EQ(platform::EditControl::clipboardText(), QStringLiteral("before"));
    edit->paste();
    EXPECT_EQ(text(), u"before");

    // A clipboard without text: nothing happens, and nothing is reported.
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QApplication::clipboard()->setMimeData(image);
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    edit->setSel(0, 6);
    edit->paste();
    EXPECT_EQ(text(), u"before");
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(EditControlTest, ImeCommitReplacesTheSelection)
{
    edit->setText(u"abcdef");
    edit->setSel(1, 3);
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    sendIme(edit.get(), QString(), QStringLiteral("変換 結果"));
    EXPECT_EQ(text(), u"a変換 結果def");
    EXPECT_EQ(sel(), std::make_pair(6, 6));
    EXPECT_GE(changes.count(), 1);

    // An empty commit with no preedit leaves the selection alone.
    edit->setSel(0, 2);
    const int before = changes.count();
    sendIme(edit.get(), QString(), QString());
    EXPECT_EQ(sel(), std::make_pair(0, 2));
    EXPECT_EQ(changes.count(), before);
}

TEST_F(EditControlTest, PreeditIsShownInPlaceWithoutChangingTheText)
{
    edit->setText(u"ab");
    edit->setSel(1, 1);
    const QRect caretBefore = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QImage plain = edit->viewport()->grab().toImage();

    QList<QInputMethodEvent::Attribute> attributes;
    attributes.append({QInputMethodEvent::Cursor, 2, 1, QVariant()});
    sendIme(edit.get(), QStringLiteral("にほ"), QString(), attributes);
    EXPECT_EQ(text(), u"ab");
    const QRect caretDuring = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(caretDuring.left(), caretBefore.left() + 10) << "the caret stands after the composition";
    EXPECT_EQ(caretDuring.top(), caretBefore.top());

    // The composition is drawn between a and b: the pixels there changed, and b moved right.
    const QImage composing = edit->viewport()->grab().toImage();
    int changed = 0;
    for (int x = edit->posFromChar(1).x(); x < caretDuring.left() - edit->viewport()->geometry().left(); ++x)
        for (int yy = 0; yy < edit->lineHeight(); ++yy)
            changed += plain.pixel(x, yy) != composing.pixel(x, yy);
    EXPECT_GT(changed, 20);

    sendIme(edit.get(), QString(), QStringLiteral("日本"));
    EXPECT_EQ(text(), u"a日本b");
    EXPECT_EQ(sel(), std::make_pair(3, 3));
}

TEST_F(EditControlTest, WrappedPreeditThatNeedsAnotherRowPushesTheLinesAfterItDown)
{
    // A first line that nearly fills its row, then two lines that look different.
    edit->setWordWrap(true);
    const int columns = edit->formattingRect().width() / QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('a'));
    const std::u16string first(static_cast<size_t>(columns - 3), u'a');
    const std::u16string all = first + u"\r\nXXXXXXXXXXXX\r\n--------";
    edit->setText(all);
    ASSERT_EQ(edit->lineCount(), 3);
    const int caret = static_cast<int>(first.size());
    edit->setSel(caret, caret);
    const int height = edit->lineHeight();
    const auto band = [&](const QImage& image, int row) {
        return image.copy(0, edit->formattingRect().top() + row * height, image.width(), height);
    };
    const QImage plain = edit->viewport()->grab().toImage();

    // The composition does not fit the first row: it goes on in the row below, and the lines
    // after it are drawn one row further down, for as long as it is shown.
    sendIme(edit.get(), QStringLiteral("にほんごにほんご"), QString());
    const QRect caretDuring = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(caretDuring.top(), edit->viewport()->geometry().top() + edit->formattingRect().top() + height)
        << "the caret follows the composition into the next row";
    const QImage composing = edit->viewport()->grab().toImage();
    EXPECT_EQ(band(composing, 2), band(plain, 1)) << "the second line moved down a row";
    EXPECT_EQ(band(composing, 3), band(plain, 2)) << "and the third with it";
    EXPECT_EQ(edit->lineCount(), 3) << "the text's own rows stay as they are";

    // Ending the composition puts every line back.
    sendIme(edit.get(), QString(), QString());
    const QImage after = edit->viewport()->grab().toImage();
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(band(after, row), band(plain, row)) << row;
    EXPECT_EQ(text(), all);
}

TEST_F(EditControlTest, ImeReplacementRangeAroundTheCaret)
{
    edit->setText(u"abcdef");
    edit->setSel(4, 4);
    sendIme(edit.get(), QString(), QStringLiteral("XY"), {}, -2, 2);   // replaces "cd"
    EXPECT_EQ(text(), u"abXYef");
    EXPECT_EQ(sel(), std::make_pair(4, 4));
}

TEST_F(EditControlTest, InputMethodQueriesDescribeTheCaretLine)
{
    edit->setText(u"first\r\nsecond line\r\nthird");
    edit->setSel(14, 10);   // backwards in "second line": caret at 10
    EXPECT_TRUE(edit->inputMethodQuery(Qt::ImEnabled).toBool());
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("second line"));
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 7);
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("ond "));
    EXPECT_EQ(edit->inputMethodQuery(Qt::ImTextBeforeCursor).toString(), QStringLiteral("sec"));
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint expected = edit->caretPosFromChar(10) + edit->viewport()->geometry().topLeft();
    EXPECT_EQ(caret.topLeft(), expected);
    EXPECT_EQ(caret.height(), edit->lineHeight());
}

namespace {

class ImeWatchingEdit : public platform::EditControl {
public:
    std::vector<std::pair<QString, std::u16string>> seen;   // commit, text before it

protected:
    void onImeComposition(const QInputMethodEvent& event) override
    {
        seen.emplace_back(event.commitString(), text());
        EditControl::onImeComposition(event);
    }
};

} // namespace

TEST(EditControlHooks, ImeOverrideSeesTheCommitBeforeItIsInserted)
{
    ImeWatchingEdit edit;
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setText(u"x");
    edit.setSel(1, 1);
    sendIme(&edit, QStringLiteral("か"), QString());
    sendIme(&edit, QString(), QStringLiteral("漢字"));
    ASSERT_EQ(edit.seen.size(), 2u);
    EXPECT_EQ(edit.seen[1].first, QStringLiteral("漢字"));
    EXPECT_EQ(edit.seen[1].second, u"x");
    EXPECT_EQ(edit.text(), u"x漢字");
}
