#pragma once
// Shortcuts to the program on a Linux desktop: a "Quillet.desktop" desktop entry in the
// user's desktop folder, in the applications folder (the menus and "Open with") and in the
// "Send To" folder of the Thunar file manager. Qt-free.

#include <string>
#include <string_view>

namespace platform::shell {

// What the three folders depend on; fromProcess() gathers it, tests build their own.
struct ShortcutInputs {
    std::string home;           // $HOME, else the password database's; "" when unknown
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME; "" when unset
    std::string xdgDataHome;    // $XDG_DATA_HOME; "" when unset

    static ShortcutInputs fromProcess();
};

// The folder that user-dirs.dirs text names for key (e.g. "XDG_DESKTOP_DIR"), as
// xdg-user-dir reads it: a value "$HOME/..." or an absolute path, in double quotes, with
// backslash escapes. "" when the key is absent or its value has another form.
std::string userDirFromFile(std::string_view contents, std::string_view key,
                            const std::string& home);

// The user's desktop folder: the one $XDG_CONFIG_HOME/user-dirs.dirs (or
// ~/.config/user-dirs.dirs) names, else ~/Desktop. The folder need not exist.
std::string desktopFolder(const ShortcutInputs& inputs);
// $XDG_DATA_HOME/applications, else ~/.local/share/applications.
std::string applicationsFolder(const ShortcutInputs& inputs);
// $XDG_DATA_HOME/Thunar/sendto, else ~/.local/share/Thunar/sendto.
std::string sendToFolder(const ShortcutInputs& inputs);

// program as one argument of a desktop entry's Exec key: in double quotes with the
// characters the key reserves escaped when it needs them, "%" doubled, and the escapes of
// a string value applied on top.
std::string execArgument(std::string_view program);

// The whole desktop entry (UTF-8) that starts program with the files it is given.
// comment: the entry's Comment (UTF-8); icon: an icon theme name or an absolute file path.
std::string desktopEntry(std::string_view program, std::string_view comment,
                         std::string_view icon = "quillet");

// The icon for a shortcut to program: the SVG file beside a program that is not installed
// (the build copies it there), else the theme name "quillet" of the installed icon.
std::string shortcutIcon(const std::string& program);

} // namespace platform::shell
