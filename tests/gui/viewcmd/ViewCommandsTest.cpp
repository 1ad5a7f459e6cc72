// The view's own commands through the real view: the number dialog and its refusals, tab
// width and go to line, the word-wrap switch, and the keys without menu items.
#include "../shell/ShellTestSupport.h"

#include "dialogs/NumberDlg.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace quillet_test {
namespace {

// Keys for ASCII, an input-method commit for the rest (full-width digits).
void typeInto(QLineEdit* field, const QString& entry)
{
    bool ascii = true;
    for (QChar c : entry)
        ascii &= c.unicode() < 0x80;
    if (ascii) {
        QTest::keyClicks(field, entry);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(entry);
    QApplication::sendEvent(field, &commit);
}

class ViewCommands : public ShellTest {
protected:
    // Answers the next number dialog: types each entry in turn and presses OK, then
    // Cancel when cancelAtEnd; records whether the dialog was still open before each entry.
    void answerNumber(QStringList entries, bool cancelAtEnd = false)
    {
        ui.answerModal([this, entries, cancelAtEnd](QDialog& dialog) {
            dialog.show();
            caption = dialog.windowTitle();
            auto* field = dialog.findChild<QLineEdit*>(QString::number(res::IDC_EDIT));
            proposed = field->text();
            for (const QString& entry : entries) {
                stillOpen << dialog.isVisible();
                field->clear();
                typeInto(field, entry);
                typed << field->text();
                dialog.findChild<QPushButton*>(QString::number(res::IDOK))->click();
                focusOnField << (dialog.focusWidget() == field);
            }
            if (cancelAtEnd)
                dialog.reject();
            return dialog.result();
        });
    }
    std::pair<int, int> sel() const
    {
        int s = 0, e = 0;
        view()->getSel(&s, &e);
        return {s, e};
    }

    QString caption;
    QString proposed;
    QStringList typed;
    QList<bool> stillOpen;
    QList<bool> focusOnField;
};

TEST_F(ViewCommands, TheNumberDialogTakesDigitsOnlyAndRefusesWhatIsOutOfRange)
{
    ASSERT_TRUE(start());
    // Letters, signs and full-width digits never get into the field; an empty field, 0 and
    // 65536 are refused with the framework's messages, and the dialog stays open.
    answerNumber({"", "abc-", "１２", "0", "65536", "-8"});
    frame()->executeCommand(res::ID_TAB_STOPS);
    EXPECT_EQ(caption, QStringLiteral("タブ幅の設定"));
    EXPECT_EQ(proposed, QStringLiteral("4"));
    EXPECT_EQ(typed, (QStringList{"", "", "", "0", "65536", "8"}));
    EXPECT_EQ(messageTexts(), (QStringList{"正の整数を入力してください。", "正の整数を入力してください。",
                                           "正の整数を入力してください。", "1 から 65535 までの整数を入力してください。",
                                           "1 から 65535 までの整数を入力してください。"}));
    EXPECT_EQ(ui.messages().last().icon, platform::fx::MsgIcon::Exclamation);
    EXPECT_EQ(stillOpen, (QList<bool>{true, true, true, true, true, true}));
    EXPECT_EQ(focusOnField.mid(0, 5), (QList<bool>{true, true, true, true, true}));
    EXPECT_EQ(view()->m_nTabStops, 8);
    EXPECT_EQ(view()->tabStops(), 32);

    // The up-down control counts within 1 .. 65535.
    QStringList spun;
    ui.answerModal([&spun](QDialog& dialog) {
        auto* field = dialog.findChild<QLineEdit*>(QString::number(res::IDC_EDIT));
        field->setText(QStringLiteral("65535"));
        auto arrows = dialog.findChild<QWidget*>(QString::number(res::IDC_SPIN))->findChildren<QToolButton*>();
        arrows[0]->click();  // up, already at the top
        spun << field->text();
        QTest::keyClick(field, Qt::Key_Down);
        spun << field->text();
        field->setText(QStringLiteral("1"));
        arrows[1]->click();
        spun << field->text();
        return QDialog::Rejected;
    });
    frame()->executeCommand(res::ID_TAB_STOPS);
    EXPECT_EQ(spun, (QStringList{"65535", "65534", "1"}));
    EXPECT_EQ(view()->m_nTabStops, 8) << "Cancel changes nothing";

    // The tab width survives a restart.
    ASSERT_TRUE(restart());
    EXPECT_EQ(view()->m_nTabStops, 8);
    EXPECT_EQ(view()->tabStops(), 32);
}

// A tab width counts Latin letters: the text after a tab starts where it starts after as many
// letters, in the program's default face, in the Japanese monospaced face (whose own average
// is a full width) and in a Latin monospaced face; a tab after some letters goes on to the
// next such stop, two tabs to the second. A column of horizontal scrolling is one letter too.
TEST_F(ViewCommands, TabStopsAndColumnsCountLatinLettersOfTheViewsFace)
{
    ASSERT_TRUE(start());
    QList<QFont> faces{view()->font()};
    QFont japanese(QStringLiteral("Noto Sans Mono CJK JP"));
    japanese.setPixelSize(19);
    faces << japanese;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Latin)) {
        if (QFontDatabase::isFixedPitch(family) && !QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) {
            QFont latin(family);
            latin.setPixelSize(17);
            faces << latin;
            break;
        }
    }
    const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz";
    view()->setText(u"\tx\r\nab\tx\r\n\t\tx\r\n" + letters + letters + letters + u"\r\n");
    const int lettersAt = view()->lineIndex(3);
    for (const QFont& face : faces) {
        view()->setFont(face);
        const QString name = QFontInfo(view()->font()).family();
        for (const int width : {4, 8}) {
            SCOPED_TRACE(name.toStdString() + " tab width " + std::to_string(width));
            view()->setTabStops(width * 4);
            const int afterLetters = view()->posFromChar(lettersAt + width).x();
            EXPECT_EQ(view()->posFromChar(1).x(), afterLetters);
            EXPECT_EQ(view()->posFromChar(view()->lineIndex(1) + 3).x(), afterLetters);
            EXPECT_EQ(view()->posFromChar(view()->lineIndex(2) + 2).x(), view()->posFromChar(lettersAt + 2 * width).x());
        }
        const int letter = qRound(QFontMetricsF(view()->font()).horizontalAdvance(QLatin1Char('a')));
        view()->lineScroll(1, 0);
        EXPECT_EQ(view()->horizontalScrollBar()->value(), letter) << name.toStdString();
        view()->lineScroll(-1, 0);
    }
}

TEST_F(ViewCommands, GoToLineMovesToTheLineOrWarns)
{
    ASSERT_TRUE(start());
    view()->setText(u"one\r\ntwo\r\nthree");
    answerNumber({"3"});
    frame()->executeCommand(res::ID_GOTO_LINE);
    EXPECT_EQ(caption, QStringLiteral("行へ移動"));
    EXPECT_EQ(sel(), std::make_pair(10, 10));

    answerNumber({"4"});
    frame()->executeCommand(res::ID_GOTO_LINE);
    EXPECT_EQ(messageTexts(), QStringList{"行番号が範囲外です。"});
    EXPECT_EQ(ui.messages().last().icon, platform::fx::MsgIcon::Exclamation);
    EXPECT_EQ(sel(), std::make_pair(10, 10));
    // The status bar's line is proposed.
    frame()->updateIdle();
    answerNumber({}, true);
    frame()->executeCommand(res::ID_GOTO_LINE);
    EXPECT_EQ(proposed, QStringLiteral("3"));
}

TEST_F(ViewCommands, WordWrapSwitchesInPlaceKeepingTextHistoryAndSettings)
{
    ASSERT_TRUE(start());
    const std::u16string longLine(3000, u'x');
    view()->setText(longLine + u"\r\nend");
    QTest::keyClicks(view(), QStringLiteral("ab"));
    ASSERT_TRUE(document()->isModified());
    view()->setTabStops(20);
    view()->setMargins(5, 7);
    view()->limitText(5000);
    const QFont font = view()->font();
    const int records = view()->undoHistory().count();
    view()->setSel(100, 200);
    frame()->updateIdle();

    const auto checked = [this] {
        platform::fx::CmdUI ui(res::ID_WORD_WRAP);
        view()->onUpdate(ui);
        return ui.checked().value_or(false);
    };
    EXPECT_FALSE(checked());
    frame()->executeCommand(res::ID_WORD_WRAP);
    EXPECT_TRUE(checked());
    EXPECT_TRUE(view()->IsWordWrap());
    EXPECT_EQ(view()->m_bWordWrap, 1);
    EXPECT_GT(view()->lineCount(), 3) << "the long line is shown in rows";
    EXPECT_EQ(sel(), std::make_pair(0, 0));
    EXPECT_EQ(view()->firstVisibleLine(), 0);
    EXPECT_EQ(text(), u"ab" + longLine + u"\r\nend");
    EXPECT_EQ(view()->font(), font);
    EXPECT_EQ(view()->tabStops(), 20);
    EXPECT_EQ(view()->leftMargin(), 5);
    EXPECT_EQ(view()->rightMargin(), 7);
    EXPECT_EQ(view()->textLimit(), 5000);
    EXPECT_EQ(QApplication::focusWidget(), view());
    EXPECT_TRUE(document()->isModified());
    EXPECT_EQ(view()->undoHistory().count(), records);

    frame()->executeCommand(res::ID_WORD_WRAP);
    EXPECT_FALSE(view()->IsWordWrap());
    EXPECT_EQ(view()->lineCount(), 2);
    EXPECT_FALSE(view()->SetWordWrap(false)) << "already off";

    frame()->executeCommand(res::ID_WORD_WRAP);
    ASSERT_TRUE(restart());
    EXPECT_TRUE(view()->IsWordWrap()) << "the state is kept as WordWrap";
}

TEST_F(ViewCommands, KeysWithoutMenuItems)
{
    ASSERT_TRUE(start());
    view()->setText(u"abc\r\ndef\r\nlast");
    // Ctrl+Tab replaces the selection by a tab: two steps back.
    view()->setSel(1, 2);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(text(), u"a\tc\r\ndef\r\nlast");
    EXPECT_EQ(view()->undoHistory().count(), 2);

    // Ctrl+Delete: to the end of the line, keeping its line end; nothing right before it;
    // to the end of the text on the last line; with a selection just the selection.
    view()->setSel(1, 1);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u"a\r\ndef\r\nlast");
    EXPECT_EQ(sel(), std::make_pair(1, 1));
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u"a\r\ndef\r\nlast");
    view()->setSel(10, 10);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u"a\r\ndef\r\nla");
    view()->setSel(3, 5);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u"a\r\nf\r\nla");

    // Ctrl+Shift+Delete does nothing at all.
    view()->setSel(0, 0);
    press(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), u"a\r\nf\r\nla");

    // While wrapping, Ctrl+Delete takes the rest of the logical line, not of the row.
    view()->setText(std::u16string(2000, u'y') + u"\r\nz");
    frame()->executeCommand(res::ID_WORD_WRAP);
    view()->setSel(5, 5);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(text(), u"yyyyy\r\nz");
    EXPECT_TRUE(view()->redraw());
}

} // namespace
} // namespace quillet_test
