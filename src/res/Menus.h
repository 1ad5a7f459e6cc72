#pragma once
// The main menu, the text area's context menu and the toolbar as plain data. The Qt layer
// builds QMenus and QActions from them; prompts come from the string table by command id.
//
// Item texts are exactly as shown: "&" marks the mnemonic ("&&" would be a literal "&"), and
// a tab separates the shortcut text, which only describes the key; the keys themselves are
// the accelerator table's (Accelerators.h).

#include "platform/fx/MenuItem.h"

#include <span>
#include <string_view>

namespace res {

using platform::fx::MenuItem;
using platform::fx::MenuItemKind;

// The main menu bar (resource 128): its top-level popups, left to right.
std::span<const MenuItem> mainMenu();

// The context menu of the text area (resource 138): the items of its single popup.
std::span<const MenuItem> contextMenu();

// Position of the template popup in the main menu bar; template items are appended after its
// last item (a separator) each time the menu bar opens.
inline constexpr int kTemplateMenuPosition = 4;

// The toolbar (resource 128): command ids left to right, ID_SEPARATOR (0) for a gap.
std::span<const unsigned> toolbarButtons();
inline constexpr int kToolbarButtonWidth = 16;
inline constexpr int kToolbarButtonHeight = 15;

// The text before the tab (with its mnemonic marker) and the shortcut text after it; the
// shortcut is empty when the text has no tab.
struct MenuText {
    std::u16string_view label;
    std::u16string_view shortcut;
};
MenuText splitMenuText(std::u16string_view text);

} // namespace res
