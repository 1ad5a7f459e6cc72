// Find and replace through the real view and its modeless dialogs: what the dialogs show,
// what each button and key selects or replaces, the messages of a failed search, and the
// undo records the replacements leave.
#include "../shell/ShellTestSupport.h"

#include "dialogs/FindReplaceDlg.h"
#include "edit/FindReplaceState.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillet_test {
namespace {

class FindReplace : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        findReplaceState() = FindReplaceState{};
    }
    void TearDown() override
    {
        if (findReplaceState().pDialog)
            findReplaceState().pDialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        findReplaceState() = FindReplaceState{};
        ShellTest::TearDown();
    }

    void setText(const std::u16string& text, int caret = 0)
    {
        view()->setText(text);
        view()->setSel(caret, caret);
    }
    CFindReplaceDialog* dialog() const { return findReplaceState().pDialog; }
    template <class T>
    T* control(unsigned id) const
    {
        return dialog() ? dialog()->findChild<T*>(QString::number(id)) : nullptr;
    }
    // Types into the dialog's fields, sets its options and presses one of its buttons.
    void use(const QString& find, unsigned button, const QString& replacement = {}, bool matchCase = false,
             bool down = true)
    {
        ASSERT_NE(dialog(), nullptr);
        control<QLineEdit>(CFindReplaceDialog::kFindWhat)->setText(find);
        if (auto* field = control<QLineEdit>(CFindReplaceDialog::kReplaceWith))
            field->setText(replacement);
        control<QCheckBox>(CFindReplaceDialog::kMatchCase)->setChecked(matchCase);
        if (auto* radio = control<QRadioButton>(down ? CFindReplaceDialog::kDown : CFindReplaceDialog::kUp))
            radio->setChecked(true);
        control<QPushButton>(button)->click();
    }
    std::pair<int, int> sel() const
    {
        int s = 0, e = 0;
        view()->getSel(&s, &e);
        return {s, e};
    }
};

QStringList textsOf(const QWidget* dialog)
{
    QStringList texts{dialog->windowTitle()};
    for (const QLabel* l : dialog->findChildren<QLabel*>())
        texts << l->text();
    for (const QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        texts << b->text();
    for (const QGroupBox* g : dialog->findChildren<QGroupBox*>())
        texts << g->title();
    texts.sort();
    return texts;
}

// The ids of the controls Tab reaches, in order, starting at the search field.
QStringList tabOrderOf(const QWidget* dialog)
{
    QStringList ids;
    QWidget* first = dialog->findChild<QWidget*>(QString::number(CFindReplaceDialog::kFindWhat));
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            ids << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first && ids.size() < 20);
    return ids;
}

TEST_F(FindReplace, TheDialogsShowTheirTextsAndComeBackInsteadOfDoubling)
{
    ASSERT_TRUE(start());
    setText(u"first line\r\nsecond", 0);
    view()->setSel(6, 14);  // "line\r\nse": only its first line is proposed
    press(Qt::Key_F, Qt::ControlModifier);
    CFindReplaceDialog* find = dialog();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(find->IsFindOnly());
    EXPECT_EQ(textsOf(find), (QStringList{"キャンセル", "上へ(&U)", "下へ(&D)", "大文字と小文字を区別する(&C)", "方向",
                                          "検索", "検索する文字列(&N):", "次を検索(&F)"}));
    auto* field = control<QLineEdit>(CFindReplaceDialog::kFindWhat);
    EXPECT_EQ(field->text(), QStringLiteral("line"));
    EXPECT_EQ(field->maxLength(), 127);
    EXPECT_TRUE(control<QPushButton>(res::IDOK)->isDefault());
    EXPECT_TRUE(control<QRadioButton>(CFindReplaceDialog::kDown)->isChecked());
    EXPECT_EQ(tabOrderOf(find), (QStringList{"1152", "1040", "1056", "1057", "1", "2"}));

    // A second Ctrl+F raises the same dialog.
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialog(), find);
    EXPECT_EQ(QApplication::topLevelWidgets().count(find), 1);

    // Ctrl+H closes it and opens the replace dialog in its place.
    view()->activateWindow();
    view()->setFocus();
    press(Qt::Key_H, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(dialog(), nullptr);
    EXPECT_FALSE(dialog()->IsFindOnly());
    EXPECT_EQ(textsOf(dialog()), (QStringList{"すべて置換(&A)", "キャンセル", "大文字と小文字を区別する(&C)", "検索する文字列(&N):",
                                              "次を検索(&F)", "置換", "置換して次に(&R)", "置換後の文字列(&P):"}));
    EXPECT_EQ(control<QLineEdit>(CFindReplaceDialog::kReplaceWith)->maxLength(), 127);
    // Tab from the search field reaches the replacement next, then the option, then the buttons.
    EXPECT_EQ(tabOrderOf(dialog()), (QStringList{"1152", "1153", "1040", "1", "1024", "1025", "2"}));

    // Escape closes it; the state forgets it. Opened again, it comes where it was.
    dialog()->move(123, 77);
    QTest::keyClick(dialog(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog(), nullptr);
    frame()->executeCommand(res::ID_EDIT_REPLACE);
    ASSERT_NE(dialog(), nullptr);
    EXPECT_EQ(dialog()->pos(), QPoint(123, 77));
}

TEST_F(FindReplace, FindNextFindsOverlappingMatchesAndReportsTheEnd)
{
    ASSERT_TRUE(start());
    setText(u"aaaa");
    // F3 and Shift+F3 have nothing to search for yet.
    EXPECT_FALSE(frame()->executeCommand(res::ID_EDIT_REPEAT));
    EXPECT_FALSE(frame()->executeCommand(res::ID_EDIT_FIND_PREVIOUS));

    frame()->executeCommand(res::ID_EDIT_FIND);
    use(QStringLiteral("AA"), res::IDOK);
    EXPECT_EQ(sel(), std::make_pair(0, 2));
    control<QPushButton>(res::IDOK)->click();
    EXPECT_EQ(sel(), std::make_pair(1, 3));
    control<QPushButton>(res::IDOK)->click();
    EXPECT_EQ(sel(), std::make_pair(2, 4));
    control<QPushButton>(res::IDOK)->click();
    EXPECT_EQ(sel(), std::make_pair(2, 4)) << "a failed search leaves the selection";
    EXPECT_EQ(messageTexts(), QStringList{"\"AA\" が見つかりません。"});
    EXPECT_EQ(ui.messages().last().icon, platform::fx::MsgIcon::Information);

    // With match case the capitals are not there.
    view()->setSel(0, 0);
    use(QStringLiteral("AA"), res::IDOK, {}, true);
    EXPECT_EQ(sel(), std::make_pair(0, 0));
    EXPECT_EQ(messageTexts().size(), 2);

    // The dialog said up; F3 still searches down, Shift+F3 up, and neither changes the state.
    view()->setSel(4, 4);
    use(QStringLiteral("aa"), res::IDOK, {}, false, false);
    EXPECT_EQ(sel(), std::make_pair(2, 4));
    dialog()->close();
    view()->setSel(1, 1);
    frame()->executeCommand(res::ID_EDIT_REPEAT);
    EXPECT_EQ(sel(), std::make_pair(1, 3));
    frame()->executeCommand(res::ID_EDIT_FIND_PREVIOUS);
    EXPECT_EQ(sel(), std::make_pair(0, 2));
    frame()->executeCommand(res::ID_EDIT_FIND_PREVIOUS);
    EXPECT_EQ(messageTexts().size(), 3) << "up from position 0 fails at once";
    EXPECT_FALSE(findReplaceState().bNext);
}

TEST_F(FindReplace, ReplaceFindsFirstThenReplacesAndSelectsTheNext)
{
    ASSERT_TRUE(start());
    setText(u"cat dog cat dog");
    view()->setSel(0, 3);  // "cat": not a match of "dog"
    frame()->executeCommand(res::ID_EDIT_REPLACE);
    use(QStringLiteral("dog"), CFindReplaceDialog::kReplace, QStringLiteral("fox"));
    EXPECT_EQ(text(), u"cat dog cat dog") << "a selection that is no match is only searched from";
    EXPECT_EQ(sel(), std::make_pair(4, 7));
    control<QPushButton>(CFindReplaceDialog::kReplace)->click();
    EXPECT_EQ(text(), u"cat fox cat dog");
    EXPECT_EQ(sel(), std::make_pair(12, 15));
    control<QPushButton>(CFindReplaceDialog::kReplace)->click();
    EXPECT_EQ(text(), u"cat fox cat fox");
    EXPECT_TRUE(ui.messages().isEmpty()) << "no report after a replacement";
    // Each replacement is two steps back: the insertion, then the deletion.
    EXPECT_EQ(view()->undoHistory().count(), 4);
}

TEST_F(FindReplace, ReplaceAllGoesDownFromTheCaretOnceAndUndoesInTwoStepsEach)
{
    ASSERT_TRUE(start());
    setText(u"a-a-a-a", 2);
    frame()->executeCommand(res::ID_EDIT_REPLACE);
    // The replacement holds the search string: it must not be searched again.
    use(QStringLiteral("A"), CFindReplaceDialog::kReplaceAll, QStringLiteral("aa"));
    EXPECT_EQ(text(), u"a-aa-aa-aa") << "the match above the caret stays";
    EXPECT_EQ(view()->undoHistory().count(), 6);
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(view()->redraw());
    EXPECT_TRUE(document()->isModified());

    // The last replacement comes back first.
    frame()->executeCommand(res::ID_EDIT_UNDO);
    EXPECT_EQ(text(), u"a-aa-aa-");
    frame()->executeCommand(res::ID_EDIT_UNDO);
    EXPECT_EQ(text(), u"a-aa-aa-a");
    for (int i = 0; i < 4; ++i)
        frame()->executeCommand(res::ID_EDIT_UNDO);
    EXPECT_EQ(text(), u"a-a-a-a");

    // Nothing below the caret: the view's message, and no change.
    view()->setSel(7, 7);
    control<QPushButton>(CFindReplaceDialog::kReplaceAll)->click();
    EXPECT_EQ(messageTexts(), QStringList{"\"A\" が見つかりません。"});
    EXPECT_EQ(text(), u"a-a-a-a");

    // An empty replacement leaves one record per occurrence.
    view()->setSel(0, 0);
    const int before = view()->undoHistory().top();
    use(QStringLiteral("-"), CFindReplaceDialog::kReplaceAll, QString());
    EXPECT_EQ(text(), u"aaaa");
    EXPECT_EQ(view()->undoHistory().top() - before, 3);
}

} // namespace
} // namespace quillet_test
