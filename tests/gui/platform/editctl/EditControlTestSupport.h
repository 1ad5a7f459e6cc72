#pragma once
// A shown edit control with a fixed monospaced font, and helpers that send it real events.

#include "platform/editctl/EditControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quillet_test {

inline QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(12);
    return font;
}

class EditControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        edit = std::make_unique<platform::EditControl>();
        edit->setFont(testFont());
        edit->resize(400, 300);
        edit->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit.get()));
        edit->activateWindow();
        edit->setFocus();
        QApplication::processEvents();
    }

    void TearDown() override { edit.reset(); }

    std::u16string text() const { return edit->text(); }

    std::pair<int, int> sel() const
    {
        int start = -2;
        int end = -2;
        edit->getSel(&start, &end);
        return {start, end};
    }

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(edit.get(), k, modifiers);
    }

    void type(const QString& keys) { QTest::keyClicks(edit.get(), keys); }

    // One key press that produces `text`, as an input method or a dead key would deliver it.
    // Returns whether the control accepted the event.
    bool sendText(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, 0, modifiers, text);
        QApplication::sendEvent(edit.get(), &press);
        return press.isAccepted();
    }

    // A key press with an explicit text, returning whether the control accepted it.
    bool sendKey(int k, Qt::KeyboardModifiers modifiers, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
        QApplication::sendEvent(edit.get(), &press);
        return press.isAccepted();
    }

    // Point in the middle of row `row` (counted from the first visible one) at x.
    QPoint rowPoint(int row, int x) const
    {
        return QPoint(x, edit->formattingRect().top() + row * edit->lineHeight() + edit->lineHeight() / 2);
    }

    std::unique_ptr<platform::EditControl> edit;
};

} // namespace quillet_test
