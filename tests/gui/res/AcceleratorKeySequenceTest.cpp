// The Qt layer builds each accelerator's QKeySequence from its text; every text must parse
// to exactly the key and modifiers the table means.
#include "res/Accelerators.h"

#include <QKeySequence>
#include <QString>
#include <gtest/gtest.h>

using namespace res;

namespace {

Qt::Key qtKeyFor(unsigned vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<Qt::Key>(Qt::Key_A + (vk - 'A'));
    if (vk >= '0' && vk <= '9')
        return static_cast<Qt::Key>(Qt::Key_0 + (vk - '0'));
    if (vk >= VK_F1 && vk <= VK_F24)
        return static_cast<Qt::Key>(Qt::Key_F1 + (vk - VK_F1));
    switch (vk) {
    case VK_DELETE: return Qt::Key_Delete;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    default: return Qt::Key_unknown;
    }
}

} // namespace

TEST(AcceleratorKeySequence, EveryAcceleratorTextParsesToItsKey)
{
    for (const Accelerator& a : accelerators()) {
        const QString text = QString::fromStdU16String(acceleratorText(a));
        const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
        ASSERT_EQ(sequence.count(), 1) << text.toStdString();
        const QKeyCombination combination = sequence[0];
        const Qt::Key expected = qtKeyFor(a.virtualKey);
        ASSERT_NE(expected, Qt::Key_unknown) << text.toStdString();
        EXPECT_EQ(combination.key(), expected) << text.toStdString();
        Qt::KeyboardModifiers modifiers;
        if (a.ctrl)
            modifiers |= Qt::ControlModifier;
        if (a.shift)
            modifiers |= Qt::ShiftModifier;
        if (a.alt)
            modifiers |= Qt::AltModifier;
        EXPECT_EQ(combination.keyboardModifiers(), modifiers) << text.toStdString();
    }
}
