// Real key presses on the focused view reach the commands the accelerator table binds,
// through the frame's routing; a disabled command's key does nothing.
#include "ShellTestSupport.h"

#include "platform/fx/View.h"
#include "res/Accelerators.h"

#include <QClipboard>
#include <set>
#include <vector>

using namespace quillet_test;
using platform::fx::CmdUI;

namespace {

// Stands first in the frame's routing in place of the view: records every command that
// is run and carries out the ones it claims itself (with no effect), so commands whose
// handlers do not exist yet can be seen arriving. Everything else goes on to the real view.
class ProbeView : public platform::fx::View {
public:
    explicit ProbeView(CMyView* real) : m_real(real) {}

    QWidget* widget() override { return m_real; }
    void onInitialUpdate() override { m_real->onInitialUpdate(); }
    void onDestroy() override { m_real->onDestroy(); }
    const platform::fx::CommandMap& commandMap() const override { return m_real->commandMap(); }

    bool onCommand(unsigned id) override
    {
        ran.push_back(id);
        return claimed.count(id) != 0 || m_real->onCommand(id);
    }
    bool onUpdate(CmdUI& ui) override
    {
        if (claimed.count(ui.id())) {
            ui.enable(true);
            return true;
        }
        return m_real->onUpdate(ui);
    }

    std::set<unsigned> claimed;
    std::vector<unsigned> ran;

private:
    CMyView* m_real;
};

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    unsigned command;
    const char* name;
};

// The accelerators, as keys on the keyboard.
const Key kKeys[] = {
    {Qt::Key_A, Qt::ControlModifier, res::ID_EDIT_SELECT_ALL, "Ctrl+A"},
    {Qt::Key_C, Qt::ControlModifier, res::ID_EDIT_COPY, "Ctrl+C"},
    {Qt::Key_Insert, Qt::ControlModifier, res::ID_EDIT_COPY, "Ctrl+Insert"},
    {Qt::Key_F, Qt::ControlModifier, res::ID_EDIT_FIND, "Ctrl+F"},
    {Qt::Key_G, Qt::ControlModifier, res::ID_GOTO_LINE, "Ctrl+G"},
    {Qt::Key_H, Qt::ControlModifier, res::ID_EDIT_REPLACE, "Ctrl+H"},
    {Qt::Key_N, Qt::ControlModifier, res::ID_FILE_NEW, "Ctrl+N"},
    {Qt::Key_O, Qt::ControlModifier, res::ID_FILE_OPEN, "Ctrl+O"},
    {Qt::Key_P, Qt::ControlModifier, res::ID_FILE_PRINT, "Ctrl+P"},
    {Qt::Key_S, Qt::ControlModifier, res::ID_FILE_SAVE, "Ctrl+S"},
    {Qt::Key_V, Qt::ControlModifier, res::ID_EDIT_PASTE, "Ctrl+V"},
    {Qt::Key_Insert, Qt::ShiftModifier, res::ID_EDIT_PASTE, "Shift+Insert"},
    {Qt::Key_X, Qt::ControlModifier, res::ID_EDIT_CUT, "Ctrl+X"},
    {Qt::Key_Delete, Qt::ShiftModifier, res::ID_EDIT_CUT, "Shift+Delete"},
    {Qt::Key_Y, Qt::ControlModifier, res::ID_EDIT_REDO, "Ctrl+Y"},
    {Qt::Key_Z, Qt::ControlModifier, res::ID_EDIT_UNDO, "Ctrl+Z"},
    {Qt::Key_Backspace, Qt::AltModifier, res::ID_EDIT_UNDO, "Alt+Backspace"},
    {Qt::Key_Delete, Qt::ControlModifier, res::ID_DELETE_TO_LINE_END, "Ctrl+Delete"},
    {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, res::ID_NOTHING, "Ctrl+Shift+Delete"},
    {Qt::Key_Tab, Qt::ControlModifier, res::ID_INSERT_TAB, "Ctrl+Tab"},
    {Qt::Key_F3, Qt::NoModifier, res::ID_EDIT_REPEAT, "F3"},
    {Qt::Key_F3, Qt::ShiftModifier, res::ID_EDIT_FIND_PREVIOUS, "Shift+F3"},
    {Qt::Key_F5, Qt::NoModifier, res::ID_INSERT_DATETIME, "F5"},
    {Qt::Key_F6, Qt::NoModifier, res::ID_NEXT_PANE, "F6"},
    {Qt::Key_F6, Qt::ShiftModifier, res::ID_PREV_PANE, "Shift+F6"},
};

class Accelerators : public ShellTest {
protected:
    void TearDown() override
    {
        // The real view goes back in its place before the program ends.
        if (frame() && probe)
            frame()->setView(view());
        probe.reset();
        ShellTest::TearDown();
    }

    void installProbe()
    {
        probe = std::make_unique<ProbeView>(view());
        frame()->setView(probe.get());
        ASSERT_EQ(frame()->centralWidget(), view());
    }

    std::unique_ptr<ProbeView> probe;
};

} // namespace

TEST_F(Accelerators, TheTableIsTheOneTheseKeysStandFor)
{
    // Every accelerator of the table is pressed below, and nothing else.
    EXPECT_EQ(std::size(kKeys), res::accelerators().size());
    for (const Key& k : kKeys) {
        bool found = false;
        for (const res::Accelerator& a : res::accelerators())
            found |= a.command == k.command
                  && QString::fromStdU16String(res::acceleratorText(a))
                         == QKeySequence(QKeyCombination(k.modifiers, k.key))
                                .toString(QKeySequence::PortableText);
        EXPECT_TRUE(found) << k.name;
    }
}

TEST_F(Accelerators, EveryKeyReachesItsCommandFromTheFocusedView)
{
    ASSERT_TRUE(start());
    installProbe();
    for (const Key& k : kKeys)
        probe->claimed.insert(k.command);
    QTest::keyClicks(view(), QStringLiteral("text"));
    ASSERT_EQ(QApplication::focusWidget(), view());

    for (const Key& k : kKeys) {
        probe->ran.clear();
        QTest::keyClick(view(), k.key, k.modifiers);
        EXPECT_EQ(probe->ran, std::vector<unsigned>{k.command}) << k.name;
    }
    // None of the keys typed or deleted anything on its way.
    EXPECT_EQ(text(), u"text");
    EXPECT_EQ(QApplication::focusWidget(), view());
}

TEST_F(Accelerators, ADisabledCommandsKeyDoesNothing)
{
    ASSERT_TRUE(start());
    installProbe();
    QTest::keyClicks(view(), QStringLiteral("text"));
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));

    // No selection: cut, copy and delete are disabled, so their keys run nothing.
    for (const Key& k : kKeys) {
        if (k.command != res::ID_EDIT_CUT && k.command != res::ID_EDIT_COPY)
            continue;
        probe->ran.clear();
        QTest::keyClick(view(), k.key, k.modifiers);
        EXPECT_TRUE(probe->ran.empty()) << k.name;
    }
    EXPECT_EQ(text(), u"text");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("clip"));

    // A command no one handles (the pane keys) is disabled and its key is swallowed.
    probe->ran.clear();
    QTest::keyClick(view(), Qt::Key_F6);
    EXPECT_TRUE(probe->ran.empty());
    EXPECT_EQ(text(), u"text");
    QGuiApplication::clipboard()->clear();
}

TEST_F(Accelerators, TheRealHandlersRunFromTheirKeys)
{
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("hello"));

    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    int start = -1, end = -1;
    view()->getSel(&start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);

    QTest::keyClick(view(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
    QTest::keyClick(view(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(text().empty());
    QTest::keyClick(view(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), u"hellohello");

    // Ctrl+N runs the application's new command, which asks about the changes first.
    ui.answerMessage(platform::fx::MsgAnswer::No);
    QTest::keyClick(view(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(text().empty());
    QGuiApplication::clipboard()->clear();
}

TEST_F(Accelerators, PlainEditingKeysStayWithTheText)
{
    // Keys the control types or moves with must not be taken by a shortcut.
    ASSERT_TRUE(start());
    installProbe();
    QTest::keyClicks(view(), QStringLiteral("ab"));
    QTest::keyClick(view(), Qt::Key_Tab);
    QTest::keyClick(view(), Qt::Key_Return);
    QTest::keyClicks(view(), QStringLiteral("cd"));
    QTest::keyClick(view(), Qt::Key_Home);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(text(), u"ab\t\r\nd");
    QTest::keyClick(view(), Qt::Key_Backspace);  // joins the lines
    EXPECT_EQ(text(), u"ab\td");
    EXPECT_TRUE(probe->ran.empty());
}
