#pragma once
// A shown edit view, created as the frame creates it, with helpers that send it real key,
// mouse and input-method events and run its commands through its own table.

#include "edit/CMyEditView.h"
#include "res/Resource.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillet_test {

class EditViewTest : public ::testing::Test {
public:
    void SetUp() override
    {
        view = std::make_unique<CMyEditView>();
        ASSERT_TRUE(view->OnCreate());
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPointSize(12);
        view->setFont(font);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        view->setFocus();
        view->onInitialUpdate();
        QApplication::processEvents();
    }

    void TearDown() override { view.reset(); }

    // A new document with this text: the text, then the initial update.
    void open(std::u16string_view text)
    {
        view->setText(text);
        view->onInitialUpdate();
    }

    std::u16string text() const { return view->text(); }
    std::pair<int, int> sel() const
    {
        int s = -1, e = -1;
        view->getSel(&s, &e);
        return {s, e};
    }
    const CUndoHistory& history() const { return view->undoHistory(); }
    int records() const { return history().count(); }
    std::vector<int> kinds() const
    {
        std::vector<int> result;
        for (const UndoRecord& r : history().records())
            result.push_back(r.nKind);
        return result;
    }

    // ---- input -----------------------------------------------------------------------------
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), k, modifiers);
    }
    void type(const QString& keys) { QTest::keyClicks(view.get(), keys); }
    // One key press that produces text, as a dead key or a keyboard layout with emoji may.
    void typeText(const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(view.get(), &press);
    }
    void ime(const QString& preedit, const QString& commit, int replaceFrom = 0, int replaceLength = 0)
    {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty() || replaceFrom != 0 || replaceLength > 0)
            event.setCommitString(commit, replaceFrom, replaceLength);
        QApplication::sendEvent(view.get(), &event);
    }
    void click(int pos)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->caretPosFromChar(pos) + QPoint(0, view->lineHeight() / 2));
    }

    // ---- commands ------------------------------------------------------------------------------
    bool enabled(unsigned id) const
    {
        platform::fx::CmdUI ui(id);
        EXPECT_TRUE(view->onUpdate(ui)) << "no update for " << id;
        return ui.enabled();
    }
    // Runs a command as the frame does: only when its update handler enables it.
    bool run(unsigned id)
    {
        if (!enabled(id))
            return false;
        return view->onCommand(id);
    }
    void undo() { ASSERT_TRUE(run(res::ID_EDIT_UNDO)); }
    void redo() { ASSERT_TRUE(run(res::ID_EDIT_REDO)); }

    static QString q(const std::u16string& s) { return QString::fromStdU16String(s); }

    std::unique_ptr<CMyEditView> view;
};

} // namespace quillet_test
