// Typing into the edit control: characters, line ends, deletion, and what it leaves alone.
#include "EditControlTestSupport.h"

#include <QSignalSpy>

#include <vector>

using quillet_test::EditControlTest;

TEST_F(EditControlTest, TypedCharactersReplaceTheSelectionAndMoveTheCaret)
{
    type(QStringLiteral("hello"));
    EXPECT_EQ(text(), u"hello");
    EXPECT_EQ(sel(), std::make_pair(5, 5));

    edit->setSel(1, 4);
    type(QStringLiteral("EY"));
    EXPECT_EQ(text(), u"hEYo");
    EXPECT_EQ(sel(), std::make_pair(3, 3));

    // Non-ASCII text from one key press (a dead key or a compose sequence).
    EXPECT_TRUE(sendText(QStringLiteral("é日")));
    EXPECT_EQ(text(), u"hEYé日o");
}

TEST_F(EditControlTest, EnterInsertsCrLfWhateverTheKeyOrModifier)
{
    type(QStringLiteral("ab"));
    key(Qt::Key_Return);
    key(Qt::Key_Enter);                          // keypad Enter
    key(Qt::Key_Return, Qt::ControlModifier);    // delivers LF, still a line end
    EXPECT_EQ(text(), u"ab\r\n\r\n\r\n");
    EXPECT_EQ(edit->lineCount(), 4);
    EXPECT_EQ(sel(), std::make_pair(8, 8));
}

TEST_F(EditControlTest, BackspaceAndDeleteRemoveCrLfAsOne)
{
    edit->setText(u"ab\r\ncd");
    edit->setSel(4, 4);   // start of "cd"
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), u"abcd");
    EXPECT_EQ(sel(), std::make_pair(2, 2));

    edit->setText(u"ab\r\ncd");
    edit->setSel(2, 2);   // in front of the CR
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"abcd");
    EXPECT_EQ(sel(), std::make_pair(2, 2));
}

TEST_F(EditControlTest, BackspaceAndDeleteNeverSplitASurrogatePair)
{
    const std::u16string face = u"\U0001F600";   // two UTF-16 units
    edit->setText(u"a" + face + u"b");
    edit->setSel(3, 3);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), u"ab");
    EXPECT_EQ(sel(), std::make_pair(1, 1));

    edit->setText(u"a" + face + u"b");
    edit->setSel(1, 1);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"ab");

    // The arrows step over the pair too.
    edit->setText(u"a" + face + u"b");
    edit->setSel(1, 1);
    key(Qt::Key_Right);
    EXPECT_EQ(sel(), std::make_pair(3, 3));
    key(Qt::Key_Left);
    EXPECT_EQ(sel(), std::make_pair(1, 1));
}

TEST_F(EditControlTest, BackspaceAndDeleteAtTheEdgesAndOverSelections)
{
    edit->setText(u"abc");
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    edit->setSel(0, 0);
    key(Qt::Key_Backspace);
    edit->setSel(3, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(changes.count(), 0) << "nothing deleted, nothing reported";

    edit->setSel(0, 2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), u"c");
    edit->setText(u"abc");
    edit->setSel(1, 3);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), u"a");
}

TEST_F(EditControlTest, SurrogatePairFromOneKeyPressIsInsertedWhole)
{
    edit->setText(u"xy");
    edit->setSel(1, 2);   // the pair replaces the selection
    EXPECT_TRUE(sendText(QString::fromUtf16(u"\U00020B9F")));   // 𠮟, outside the BMP
    EXPECT_EQ(text(), u"x\U00020B9F");
    EXPECT_EQ(sel(), std::make_pair(3, 3));
}

TEST_F(EditControlTest, TabIsTypedAndDoesNotMoveTheFocus)
{
    QWidget* other = new QWidget(edit.get());
    other->setFocusPolicy(Qt::StrongFocus);
    edit->setFocus();
    type(QStringLiteral("a"));
    key(Qt::Key_Tab);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(text(), u"a\t\t");
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(EditControlTest, ControlCharactersOtherThanTheEditingOnesDoNothing)
{
    edit->setText(u"abc");
    edit->setSel(1, 2);
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    key(Qt::Key_Escape);
    EXPECT_TRUE(sendText(QString(QChar(0x07))));   // BEL
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(sel(), std::make_pair(1, 2));
    EXPECT_EQ(changes.count(), 0);

    // Ctrl+Backspace types DEL, which is kept and shown as a symbol.
    edit->setSel(3, 3);
    key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(text(), u"abc\x7F");
}

TEST_F(EditControlTest, AcceleratorKeysAreLeftToTheFrame)
{
    edit->setText(u"abc");
    edit->setSel(0, 3);
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    const std::vector<std::pair<int, Qt::KeyboardModifiers>> accelerators = {
        {Qt::Key_Z, Qt::ControlModifier},      {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier},      {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},      {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_H, Qt::ControlModifier},      {Qt::Key_Tab, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ControlModifier}, {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_F, Qt::AltModifier},
    };
    for (const auto& [k, modifiers] : accelerators) {
        // The text a keyboard layout would attach (Ctrl+H is a backspace character).
        const QString attached = k == Qt::Key_H ? QStringLiteral("\b") : QString();
        EXPECT_FALSE(sendKey(k, modifiers, attached)) << "key " << k << " was taken by the control";
    }
    EXPECT_EQ(text(), u"abc");
    EXPECT_EQ(sel(), std::make_pair(0, 3));
    EXPECT_EQ(changes.count(), 0);

    // Keys the control handles win over single-key shortcuts of the frame.
    QKeyEvent deleteOverride(QEvent::ShortcutOverride, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(edit.get(), &deleteOverride);
    EXPECT_TRUE(deleteOverride.isAccepted());
    QKeyEvent cutOverride(QEvent::ShortcutOverride, Qt::Key_X, Qt::ControlModifier);
    QApplication::sendEvent(edit.get(), &cutOverride);
    EXPECT_FALSE(cutOverride.isAccepted());
}

TEST_F(EditControlTest, TextChangedFollowsEditsButNotSetText)
{
    QSignalSpy changes(edit.get(), &platform::EditControl::textChanged);
    QSignalSpy selections(edit.get(), &platform::EditControl::selectionChanged);
    edit->setText(u"new buffer");
    EXPECT_EQ(changes.count(), 0);

    edit->setSel(0, 3);
    EXPECT_EQ(selections.count(), 1);
    type(QStringLiteral("x"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(edit->replaceSel(u"yz"));
    EXPECT_EQ(changes.count(), 2);
    edit->replaceSel(u"");            // nothing selected, nothing inserted: no change
    EXPECT_EQ(changes.count(), 2);
    edit->setSel(0, 1);
    edit->clear();
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(text(), u"yz buffer");

    // An edit made straight on the buffer (as the undo history does) is reported too, and
    // the selection it leaves is picked up once the event is handled.
    const int before = selections.count();
    edit->buffer().replace(0, 2, u"");
    edit->buffer().setSel(2, 4);
    EXPECT_EQ(changes.count(), 4);
    QApplication::processEvents();
    EXPECT_GT(selections.count(), before);
}

TEST_F(EditControlTest, TextLimitRefusesWholeInsertionsNeverCutsThemShort)
{
    edit->setText(u"abcdefgh");   // setText is not limited
    edit->limitText(10);
    QSignalSpy refused(edit.get(), &platform::EditControl::maxText);
    edit->setSel(8, 8);
    EXPECT_FALSE(edit->fitsLimit(3));
    EXPECT_FALSE(edit->replaceSel(u"xyz"));
    EXPECT_EQ(text(), u"abcdefgh");
    EXPECT_EQ(refused.count(), 1);

    type(QStringLiteral("12"));
    type(QStringLiteral("3"));
    EXPECT_EQ(text(), u"abcdefgh12");
    EXPECT_EQ(refused.count(), 2);

    // Replacing a selection only needs room for the difference.
    edit->setSel(0, 3);
    EXPECT_TRUE(edit->replaceSel(u"ABC"));
    EXPECT_EQ(text(), u"ABCdefgh12");

    edit->limitText(0);   // the largest
    EXPECT_EQ(edit->textLimit(), platform::EditControl::kLargestLimit);
    EXPECT_TRUE(edit->replaceSel(u"more"));
}

namespace {

// A view over the control: looks at each input before the control acts on it.
class RecordingEdit : public platform::EditControl {
public:
    struct Seen {
        char16_t c;
        std::u16string textBefore;
    };
    std::vector<Seen> chars;
    std::vector<std::pair<int, std::u16string>> keys;
    bool swallowDigits = false;

protected:
    void onChar(char16_t c) override
    {
        chars.push_back({c, text()});
        if (swallowDigits && c >= u'0' && c <= u'9')
            return;   // a view may also decide that the control does not act
        EditControl::onChar(c);
    }
    void onKeyDown(int key, Qt::KeyboardModifiers modifiers) override
    {
        keys.emplace_back(key, text());
        EditControl::onKeyDown(key, modifiers);
    }
};

} // namespace

TEST(EditControlHooks, OverridesSeeEachInputBeforeTheTextChanges)
{
    RecordingEdit edit;
    edit.resize(300, 200);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();

    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return);
    ASSERT_EQ(edit.chars.size(), 3u);
    EXPECT_EQ(edit.chars[0].c, u'a');
    EXPECT_EQ(edit.chars[0].textBefore, u"");
    EXPECT_EQ(edit.chars[1].textBefore, u"a");
    EXPECT_EQ(edit.chars[2].c, u'\r');
    EXPECT_EQ(edit.chars[2].textBefore, u"ab");
    EXPECT_EQ(edit.text(), u"ab\r\n");

    edit.setSel(0, 0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    ASSERT_FALSE(edit.keys.empty());
    EXPECT_EQ(edit.keys.back().first, Qt::Key_Delete);
    EXPECT_EQ(edit.keys.back().second, u"ab\r\n");
    EXPECT_EQ(edit.text(), u"b\r\n");

    // Backspace arrives as character 8; a pair arrives as its two units, in order.
    edit.chars.clear();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QKeyEvent pair(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf16(u"\U0001F600"));
    QApplication::sendEvent(&edit, &pair);
    ASSERT_EQ(edit.chars.size(), 3u);
    EXPECT_EQ(edit.chars[0].c, u'\b');
    EXPECT_EQ(edit.chars[1].c, 0xD83D);
    EXPECT_EQ(edit.chars[2].c, 0xDE00);
    EXPECT_EQ(edit.chars[2].textBefore, u"\xD83D" u"b\r\n");
    EXPECT_EQ(edit.text(), u"\U0001F600b\r\n");

    edit.swallowDigits = true;
    QTest::keyClicks(&edit, QStringLiteral("1x"));
    EXPECT_EQ(edit.text(), u"\U0001F600xb\r\n");
}
