#pragma once
// A menu as plain data, as a program's resources give it to the frame. Item texts are
// exactly as shown: "&" marks the mnemonic ("&&" would be a literal "&"), and a tab separates
// the shortcut text, which only describes the key.

#include <span>
#include <string_view>

namespace platform::fx {

enum class MenuItemKind { Command, Separator, Popup };

struct MenuItem {
    MenuItemKind kind = MenuItemKind::Separator;
    unsigned id = 0;              // the command; 0 for separators and popups
    std::u16string_view text;     // empty for separators
    std::span<const MenuItem> children; // a popup's items
    bool grayed = false;          // shown disabled whatever the update handlers say
};

} // namespace platform::fx
