#include "res/Accelerators.h"

#include "res/Resource.h"

namespace res {

namespace {

constexpr Accelerator key(unsigned vk, unsigned command)
{
    return {vk, false, false, false, command};
}
constexpr Accelerator ctrl(unsigned vk, unsigned command)
{
    return {vk, true, false, false, command};
}
constexpr Accelerator shift(unsigned vk, unsigned command)
{
    return {vk, false, true, false, command};
}
constexpr Accelerator ctrlShift(unsigned vk, unsigned command)
{
    return {vk, true, true, false, command};
}
constexpr Accelerator alt(unsigned vk, unsigned command)
{
    return {vk, false, false, true, command};
}

constexpr Accelerator kAccelerators[] = {
    ctrl('A', ID_EDIT_SELECT_ALL),
    ctrl('C', ID_EDIT_COPY),
    ctrl(VK_INSERT, ID_EDIT_COPY),
    ctrl('F', ID_EDIT_FIND),
    ctrl('G', ID_GOTO_LINE),
    ctrl('H', ID_EDIT_REPLACE),
    ctrl('N', ID_FILE_NEW),
    ctrl('O', ID_FILE_OPEN),
    ctrl('P', ID_FILE_PRINT),
    ctrl('S', ID_FILE_SAVE),
    ctrl('V', ID_EDIT_PASTE),
    shift(VK_INSERT, ID_EDIT_PASTE),
    ctrl('X', ID_EDIT_CUT),
    shift(VK_DELETE, ID_EDIT_CUT),
    ctrl('Y', ID_EDIT_REDO),
    ctrl('Z', ID_EDIT_UNDO),
    alt(VK_BACK, ID_EDIT_UNDO),
    ctrl(VK_DELETE, ID_DELETE_TO_LINE_END),
    // Bound to a command that does nothing, so the edit control never sees this key.
    ctrlShift(VK_DELETE, ID_NOTHING),
    ctrl(VK_TAB, ID_INSERT_TAB),
    key(VK_F3, ID_EDIT_REPEAT),
    shift(VK_F3, ID_EDIT_FIND_PREVIOUS),
    key(VK_F5, ID_INSERT_DATETIME),
    key(VK_F6, ID_NEXT_PANE),
    shift(VK_F6, ID_PREV_PANE),
};

// Names of the function keys, indexed from F1.
constexpr std::u16string_view kFunctionKeys[] = {
    u"F1",  u"F2",  u"F3",  u"F4",  u"F5",  u"F6",  u"F7",  u"F8",  u"F9",  u"F10", u"F11", u"F12",
    u"F13", u"F14", u"F15", u"F16", u"F17", u"F18", u"F19", u"F20", u"F21", u"F22", u"F23", u"F24",
};

constexpr std::u16string_view kLettersAndDigits =
    u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

std::span<const Accelerator> accelerators()
{
    return kAccelerators;
}

unsigned acceleratorCommand(unsigned virtualKey, bool ctrl, bool shift, bool alt)
{
    for (const Accelerator& a : kAccelerators)
        if (a.virtualKey == virtualKey && a.ctrl == ctrl && a.shift == shift && a.alt == alt)
            return a.command;
    return 0;
}

std::u16string_view keyName(unsigned virtualKey)
{
    if (virtualKey >= '0' && virtualKey <= '9')
        return kLettersAndDigits.substr(virtualKey - '0', 1);
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return kLettersAndDigits.substr(10 + virtualKey - 'A', 1);
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24)
        return kFunctionKeys[virtualKey - VK_F1];
    switch (virtualKey) {
    case VK_BACK:
        return u"Backspace";
    case VK_TAB:
        return u"Tab";
    case VK_RETURN:
        return u"Return";
    case VK_ESCAPE:
        return u"Esc";
    case VK_SPACE:
        return u"Space";
    case VK_PRIOR:
        return u"PgUp";
    case VK_NEXT:
        return u"PgDown";
    case VK_END:
        return u"End";
    case VK_HOME:
        return u"Home";
    case VK_LEFT:
        return u"Left";
    case VK_UP:
        return u"Up";
    case VK_RIGHT:
        return u"Right";
    case VK_DOWN:
        return u"Down";
    case VK_INSERT:
        return u"Ins";
    case VK_DELETE:
        return u"Del";
    default:
        return {};
    }
}

std::u16string acceleratorText(const Accelerator& accelerator)
{
    const std::u16string_view name = keyName(accelerator.virtualKey);
    if (name.empty())
        return {};
    std::u16string text;
    if (accelerator.ctrl)
        text += u"Ctrl+";
    if (accelerator.alt)
        text += u"Alt+";
    if (accelerator.shift)
        text += u"Shift+";
    text += name;
    return text;
}

} // namespace res
