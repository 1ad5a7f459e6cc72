#pragma once
// The keyboard accelerators (resource 128) as plain data, keyed by Windows virtual-key codes,
// and the names of those keys in the form Qt's portable key-sequence text reads
// ("Ctrl+Shift+Del"), so the Qt layer can build a QKeySequence from each entry.

#include <span>
#include <string>
#include <string_view>

namespace res {

// Windows virtual-key codes of the keys the program binds. Letters and digits are their
// upper-case ASCII codes ('A' .. 'Z', '0' .. '9').
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F3 = 0x72;
inline constexpr unsigned VK_F5 = 0x74;
inline constexpr unsigned VK_F6 = 0x75;
inline constexpr unsigned VK_F24 = 0x87;

struct Accelerator {
    unsigned virtualKey;
    bool ctrl;
    bool shift;
    bool alt;
    unsigned command;
};

// The accelerator table; no key combination occurs twice.
std::span<const Accelerator> accelerators();

// The command bound to a key combination, or 0 when none is.
unsigned acceleratorCommand(unsigned virtualKey, bool ctrl, bool shift, bool alt);

// The key's name as Qt's portable key-sequence text spells it: "A", "7", "F3", "Del", "Ins",
// "Backspace", "Tab", ... Empty for a code this table does not name.
std::u16string_view keyName(unsigned virtualKey);

// The whole combination, modifiers in Qt's order: "Ctrl+A", "Shift+F3", "Ctrl+Shift+Del",
// "Alt+Backspace". Empty when the key has no name.
std::u16string acceleratorText(const Accelerator& accelerator);

} // namespace res
