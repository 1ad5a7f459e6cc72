#include "platform/shell/DesktopShortcut.h"

#include "platform/profile/SettingsPath.h"
#include "platform/shell/Files.h"

#include <algorithm>
#include <cstdlib>

namespace platform::shell {

namespace {

std::string trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

} // namespace

ShortcutInputs ShortcutInputs::fromProcess()
{
    const auto process = platform::profile::SettingsPathInputs::fromProcess();
    ShortcutInputs in{process.home, process.xdgConfigHome, {}};
    if (const char* data = std::getenv("XDG_DATA_HOME"))
        in.xdgDataHome = data;
    return in;
}

std::string userDirFromFile(std::string_view contents, std::string_view key,
                            const std::string& home)
{
    std::string found;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        const std::size_t end = std::min(contents.find('\n', pos), contents.size());
        const std::string line = trim(contents.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || trim(std::string_view(line).substr(0, eq)) != key)
            continue;
        const std::string value = trim(std::string_view(line).substr(eq + 1));
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        std::string path;
        for (std::size_t i = 1; i + 1 < value.size(); ++i) {
            if (value[i] == '\\' && i + 2 < value.size())
                ++i;
            path.push_back(value[i]);
        }
        if (path.starts_with("$HOME") && (path.size() == 5 || path[5] == '/')) {
            if (home.empty())
                continue;
            path = home + path.substr(5);
        } else if (path.empty() || path.front() != '/') {
            continue;
        }
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        found = path;  // the last line for the key wins, as with the shell
    }
    return found;
}

std::string desktopFolder(const ShortcutInputs& inputs)
{
    const std::string config = xdgBaseFolder(inputs.xdgConfigHome, inputs.home, ".config");
    if (!config.empty()) {
        const FileBytes file = readWholeFile(joinPath(config, "user-dirs.dirs"));
        if (file.error == 0 && !file.shortRead) {
            std::string dir = userDirFromFile(file.bytes, "XDG_DESKTOP_DIR", inputs.home);
            if (!dir.empty())
                return dir;
        }
    }
    return xdgBaseFolder({}, inputs.home, "Desktop");
}

std::string applicationsFolder(const ShortcutInputs& inputs)
{
    return xdgBaseFolder(inputs.xdgDataHome, inputs.home, ".local/share", "applications");
}

std::string sendToFolder(const ShortcutInputs& inputs)
{
    return xdgBaseFolder(inputs.xdgDataHome, inputs.home, ".local/share", "Thunar/sendto");
}

std::string execArgument(std::string_view program)
{
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg;
    const bool quote = program.find_first_of(kReserved) != std::string_view::npos;
    if (quote)
        arg.push_back('"');
    for (const char c : program) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            arg.push_back('\\');
        if (c == '%')
            arg.push_back('%');
        arg.push_back(c);
    }
    if (quote)
        arg.push_back('"');
    // The escapes of every string value come on top of those of the Exec key.
    std::string value;
    for (const char c : arg) {
        switch (c) {
        case '\\': value += "\\\\"; break;
        case '\n': value += "\\n"; break;
        case '\t': value += "\\t"; break;
        case '\r': value += "\\r"; break;
        default: value.push_back(c);
        }
    }
    return value;
}

std::string shortcutIcon(const std::string& program)
{
    // Only a program named with its folder has a file beside it to look for.
    if (program.find('/') != std::string::npos) {
        std::string beside = joinPath(folderOf(program), "quillet.svg");
        if (WholeFile(beside).error() == 0)
            return beside;
    }
    return "quillet";
}

std::string desktopEntry(std::string_view program, std::string_view comment,
                         std::string_view icon)
{
    std::string entry = "[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=Quillet\n";
    entry += "Comment=" + std::string(comment) + "\n";
    // One file a run: the program holds one text, so a launcher given several files starts
    // it once for each instead of dropping all but the first.
    entry += "Exec=" + execArgument(program) + " %f\n";
    entry += "Icon=" + std::string(icon) + "\n";
    entry += "Terminal=false\n"
             "Categories=Utility;TextEditor;\n"
             "MimeType=text/plain;\n";
    return entry;
}

} // namespace platform::shell
