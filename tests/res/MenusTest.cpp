#include "res/Accelerators.h"
#include "res/Menus.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace res;

namespace {

void collectCommands(std::span<const MenuItem> items, std::vector<const MenuItem*>& out)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItemKind::Command)
            out.push_back(&item);
        else if (item.kind == MenuItemKind::Popup)
            collectCommands(item.children, out);
    }
}

std::vector<const MenuItem*> commandsOf(std::span<const MenuItem> items)
{
    std::vector<const MenuItem*> out;
    collectCommands(items, out);
    return out;
}

std::vector<unsigned> idsOf(std::span<const MenuItem> items)
{
    std::vector<unsigned> ids;
    for (const MenuItem* item : commandsOf(items))
        ids.push_back(item->id);
    return ids;
}

bool contains(const std::vector<unsigned>& ids, unsigned id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Every command a user can reach: menus, toolbar and keys.
std::set<unsigned> reachableCommands()
{
    std::set<unsigned> ids;
    for (unsigned id : idsOf(mainMenu()))
        ids.insert(id);
    for (unsigned id : idsOf(contextMenu()))
        ids.insert(id);
    for (unsigned id : toolbarButtons())
        if (id != ID_SEPARATOR)
            ids.insert(id);
    for (const Accelerator& a : accelerators())
        ids.insert(a.command);
    return ids;
}

// The commands that have no prompt: imports, exports and the key-only commands.
const std::set<unsigned> kWithoutPrompt = {
    ID_IMPORT_UNICODE,  ID_EXPORT_UNICODE,      ID_EXPORT_UNICODE_BE,   ID_EXPORT_UTF8,
    ID_INSERT_TAB,      ID_IMPORT_JAPANESE,     ID_IMPORT_MAC_JAPANESE, ID_EXPORT_MAC_JAPANESE,
    ID_NOTHING,         ID_DELETE_TO_LINE_END,
};

std::vector<std::u16string_view> topLevelTexts()
{
    std::vector<std::u16string_view> texts;
    for (const MenuItem& item : mainMenu())
        texts.push_back(item.text);
    return texts;
}

} // namespace

TEST(Menus, MainMenuBarHasTheSixPopupsInOrder)
{
    const std::vector<std::u16string_view> expected = {
        u"ファイル(&F)", u"編集(&E)", u"表示(&V)", u"変換(&C)", u"ひな型(&T)", u"ヘルプ(&H)"};
    EXPECT_EQ(topLevelTexts(), expected);
    for (const MenuItem& item : mainMenu()) {
        EXPECT_EQ(item.kind, MenuItemKind::Popup);
        EXPECT_FALSE(item.children.empty());
    }
    EXPECT_EQ(mainMenu()[kTemplateMenuPosition].text, u"ひな型(&T)");
}

TEST(Menus, FileMenuHoldsTheImportAndExportSubmenus)
{
    const std::span<const MenuItem> file = mainMenu()[0].children;
    std::vector<const MenuItem*> popups;
    for (const MenuItem& item : file)
        if (item.kind == MenuItemKind::Popup)
            popups.push_back(&item);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[0]->text, u"インポート(&I)");
    EXPECT_EQ(idsOf(popups[0]->children),
              (std::vector<unsigned>{ID_IMPORT_UNICODE, ID_IMPORT_JAPANESE,
                                     ID_IMPORT_MAC_JAPANESE}));
    EXPECT_EQ(popups[1]->text, u"エクスポート(&E)");
    EXPECT_EQ(idsOf(popups[1]->children),
              (std::vector<unsigned>{ID_EXPORT_UNICODE, ID_EXPORT_UNICODE_BE, ID_EXPORT_UTF8,
                                     ID_EXPORT_MAC_JAPANESE}));
    // The Macintosh export stands apart from the three Unicode forms.
    EXPECT_EQ(popups[1]->children[3].kind, MenuItemKind::Separator);
    // The recent-file placeholder is shown disabled until the list replaces it.
    const auto mru = std::find_if(file.begin(), file.end(),
                                  [](const MenuItem& i) { return i.id == ID_FILE_MRU_FILE1; });
    ASSERT_NE(mru, file.end());
    EXPECT_TRUE(mru->grayed);
    EXPECT_EQ(file.back().id, ID_APP_EXIT);
}

TEST(Menus, SeparatorsOnlyBetweenItems)
{
    std::vector<std::span<const MenuItem>> popups = {contextMenu()};
    for (std::size_t i = 0; i < popups.size(); ++i)
        for (const MenuItem& item : popups[i])
            if (item.kind == MenuItemKind::Popup)
                popups.push_back(item.children);
    for (const MenuItem& top : mainMenu())
        popups.push_back(top.children);

    const std::span<const MenuItem> templates = mainMenu()[kTemplateMenuPosition].children;
    for (const std::span<const MenuItem>& items : popups) {
        ASSERT_FALSE(items.empty());
        EXPECT_NE(items.front().kind, MenuItemKind::Separator);
        for (std::size_t i = 1; i < items.size(); ++i)
            EXPECT_FALSE(items[i - 1].kind == MenuItemKind::Separator &&
                         items[i].kind == MenuItemKind::Separator);
        // Only the template menu ends with one: the template names are appended below it.
        const bool isTemplates = items.data() == templates.data();
        EXPECT_EQ(items.back().kind == MenuItemKind::Separator, isTemplates);
    }
}

TEST(Menus, ItemTextsHaveOneMnemonicAtMost)
{
    std::vector<const MenuItem*> all = commandsOf(mainMenu());
    for (const MenuItem* c : commandsOf(contextMenu()))
        all.push_back(c);
    for (const MenuItem& top : mainMenu())
        all.push_back(&top);
    for (const MenuItem* item : all) {
        const std::u16string_view label = splitMenuText(item->text).label;
        ASSERT_FALSE(label.empty()) << "id " << item->id;
        const std::size_t amp = label.find(u'&');
        if (amp == std::u16string_view::npos)
            continue;
        ASSERT_LT(amp + 1, label.size()) << "id " << item->id;
        EXPECT_EQ(label.find(u'&', amp + 1), std::u16string_view::npos) << "id " << item->id;
    }
}

// A shortcut shown in a menu must be a key that really runs that command.
TEST(Menus, ShownShortcutsMatchTheAcceleratorsOfTheirCommands)
{
    for (const MenuItem* item : commandsOf(mainMenu())) {
        const std::u16string_view shortcut = splitMenuText(item->text).shortcut;
        bool hasAccelerator = false;
        bool shown = false;
        for (const Accelerator& a : accelerators()) {
            if (a.command != item->id)
                continue;
            hasAccelerator = true;
            shown = shown || acceleratorText(a) == shortcut;
        }
        if (item->id == ID_EDIT_CLEAR) {
            // Delete is the edit control's own key, not an accelerator.
            EXPECT_EQ(shortcut, u"Del");
            EXPECT_FALSE(hasAccelerator);
            continue;
        }
        if (shortcut.empty())
            EXPECT_FALSE(hasAccelerator) << "id " << item->id << " hides its key";
        else
            EXPECT_TRUE(shown) << "id " << item->id << " shows a key it does not have";
    }
    for (const MenuItem* item : commandsOf(contextMenu()))
        EXPECT_TRUE(splitMenuText(item->text).shortcut.empty()) << "id " << item->id;
}

TEST(Menus, ContextMenuFollowsTheEditMenusOrder)
{
    const std::vector<unsigned> edit = idsOf(mainMenu()[1].children);
    const std::vector<unsigned> context = idsOf(contextMenu());
    EXPECT_EQ(context.size(), 7u);
    auto from = edit.begin();
    for (unsigned id : context) {
        from = std::find(from, edit.end(), id);
        ASSERT_NE(from, edit.end()) << "id " << id << " is not in the edit menu, or out of order";
    }
}

TEST(Toolbar, FourteenEntriesWithThreeGaps)
{
    const std::span<const unsigned> buttons = toolbarButtons();
    ASSERT_EQ(buttons.size(), 14u);
    std::vector<std::size_t> gaps;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == ID_SEPARATOR)
            gaps.push_back(i);
    EXPECT_EQ(gaps, (std::vector<std::size_t>{3, 10, 12}));
    EXPECT_EQ(buttons.front(), ID_FILE_NEW);
    EXPECT_EQ(buttons.back(), ID_APP_ABOUT);

    const std::vector<unsigned> menuIds = idsOf(mainMenu());
    for (unsigned id : buttons) {
        if (id == ID_SEPARATOR)
            continue;
        EXPECT_TRUE(contains(menuIds, id)) << "button " << id << " has no menu item";
        EXPECT_FALSE(commandPrompt(id).tooltip.empty()) << "button " << id << " has no tooltip";
    }
}

TEST(Prompts, EveryReachableCommandHasOneUnlessItIsMeantToHaveNone)
{
    for (unsigned id : reachableCommands()) {
        if (kWithoutPrompt.count(id))
            EXPECT_TRUE(loadString(id).empty()) << "id " << id;
        else
            EXPECT_FALSE(commandPrompt(id).statusText.empty()) << "id " << id;
    }
    // The prompt-less commands are still reachable, through a menu or a key.
    for (unsigned id : kWithoutPrompt)
        EXPECT_EQ(reachableCommands().count(id), 1u) << "id " << id;
}

TEST(Prompts, EveryOwnCommandIsReachableExceptTheUnusedOne)
{
    const std::set<unsigned> reachable = reachableCommands();
    for (unsigned id = ID_OWN_COMMAND_FIRST; id <= ID_OWN_COMMAND_LAST; ++id) {
        if (id == 32781)
            continue; // never assigned
        if (id == ID_ORGANIZE_TEMPLATES_UNUSED) {
            EXPECT_EQ(reachable.count(id), 0u);
            EXPECT_FALSE(loadString(id).empty()); // a prompt but nothing that shows it
            continue;
        }
        EXPECT_EQ(reachable.count(id), 1u) << "id " << id;
    }
}
