#include "res/Accelerators.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace res;

TEST(Accelerators, NoKeyCombinationIsBoundTwice)
{
    std::set<std::u16string> seen;
    for (const Accelerator& a : accelerators()) {
        const std::u16string text = acceleratorText(a);
        ASSERT_FALSE(text.empty()) << "key " << a.virtualKey << " has no name";
        EXPECT_TRUE(seen.insert(text).second) << "bound twice";
    }
}

TEST(Accelerators, KeysReachTheirCommandsAndPlainEditingKeysStayWithTheControl)
{
    EXPECT_EQ(acceleratorCommand(VK_DELETE, true, false, false), ID_DELETE_TO_LINE_END);
    EXPECT_EQ(acceleratorCommand(VK_DELETE, true, true, false), ID_NOTHING);
    EXPECT_EQ(acceleratorCommand(VK_DELETE, false, true, false), ID_EDIT_CUT);
    EXPECT_EQ(acceleratorCommand(VK_INSERT, true, false, false), ID_EDIT_COPY);
    EXPECT_EQ(acceleratorCommand(VK_INSERT, false, true, false), ID_EDIT_PASTE);
    EXPECT_EQ(acceleratorCommand(VK_BACK, false, false, true), ID_EDIT_UNDO);
    EXPECT_EQ(acceleratorCommand(VK_TAB, true, false, false), ID_INSERT_TAB);
    EXPECT_EQ(acceleratorCommand(VK_F3, false, true, false), ID_EDIT_FIND_PREVIOUS);
    EXPECT_EQ(acceleratorCommand(VK_F6, false, true, false), ID_PREV_PANE);
    // Typing must reach the edit control: no plain or shifted typing key is taken.
    for (unsigned vk : {VK_DELETE, VK_BACK, VK_TAB, VK_RETURN, VK_SPACE, VK_INSERT})
        EXPECT_EQ(acceleratorCommand(vk, false, false, false), 0u) << vk;
    for (unsigned vk = 'A'; vk <= 'Z'; ++vk) {
        EXPECT_EQ(acceleratorCommand(vk, false, false, false), 0u) << vk;
        EXPECT_EQ(acceleratorCommand(vk, false, true, false), 0u) << vk;
    }
    EXPECT_EQ(acceleratorCommand(VK_TAB, false, true, false), 0u);
    EXPECT_EQ(acceleratorCommand(VK_BACK, false, false, false), 0u);
}

TEST(Accelerators, KeyNamesAreQtPortableNames)
{
    EXPECT_EQ(keyName('A'), u"A");
    EXPECT_EQ(keyName('Z'), u"Z");
    EXPECT_EQ(keyName('0'), u"0");
    EXPECT_EQ(keyName(VK_F1), u"F1");
    EXPECT_EQ(keyName(VK_F3), u"F3");
    EXPECT_EQ(keyName(VK_F24), u"F24");
    EXPECT_EQ(keyName(VK_DELETE), u"Del");
    EXPECT_EQ(keyName(VK_INSERT), u"Ins");
    EXPECT_EQ(keyName(VK_BACK), u"Backspace");
    EXPECT_EQ(keyName(VK_TAB), u"Tab");
    // Lower-case codes are other keys (0x61 is the keypad's 1), not letters.
    EXPECT_TRUE(keyName('a').empty());
    EXPECT_TRUE(keyName(0).empty());
    EXPECT_TRUE(keyName(VK_F24 + 1).empty());
}

TEST(Accelerators, TextPutsModifiersInQtsOrder)
{
    EXPECT_EQ(acceleratorText({VK_DELETE, true, true, false, 0}), u"Ctrl+Shift+Del");
    EXPECT_EQ(acceleratorText({VK_BACK, false, false, true, 0}), u"Alt+Backspace");
    EXPECT_EQ(acceleratorText({'Q', true, true, true, 0}), u"Ctrl+Alt+Shift+Q");
    EXPECT_EQ(acceleratorText({VK_F5, false, false, false, 0}), u"F5");
    EXPECT_TRUE(acceleratorText({0xFF, true, false, false, 0}).empty());
}
