#include "platform/profile/SettingsPath.h"

#include "platform/shell/Files.h"
#include "platform/Utf8.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform::profile {

namespace {

constexpr std::string_view kVendorFolder = "Quillet";
constexpr std::string_view kExtension = ".ini";

std::string configFolder(const SettingsPathInputs& inputs)
{
    return shell::xdgBaseFolder(inputs.xdgConfigHome, inputs.home, ".config");
}

bool hasLowerCaseLetter(std::string_view utf8)
{
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(utf8.data(), i, length, c);
        if (c >= 0 && u_islower(c))
            return true;
    }
    return false;
}

std::string lowerCased(std::string_view utf8)
{
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    text.toLower(icu::Locale::getRoot());
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::string readProgramPath()
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string homeFromPasswordDatabase()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found
        || !found->pw_dir)
        return {};
    return found->pw_dir;
}

} // namespace

SettingsPathInputs SettingsPathInputs::fromProcess()
{
    SettingsPathInputs inputs;
    const char* home = std::getenv("HOME");
    inputs.home = home && *home ? std::string(home) : homeFromPasswordDatabase();
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"))
        inputs.xdgConfigHome = xdg;
    inputs.programPath = readProgramPath();
    return inputs;
}

std::string settingsPathBesideProgram(std::string_view programPath)
{
    return pathBesideProgram(programPath, kExtension);
}

std::string pathBesideProgram(std::string_view programPath, std::string_view extension)
{
    if (programPath.empty())
        return {};
    std::string_view name = shell::nameOf(programPath);
    const std::string_view folder = programPath.substr(0, programPath.size() - name.size());

    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    std::string fileName = std::string(name) + std::string(extension);

    // Bytes that are not UTF-8 cannot be case-mapped; such a name is kept as it is.
    if (!hasLowerCaseLetter(programPath) && platform::isWellFormedUtf8(programPath))
        fileName = lowerCased(fileName);
    return std::string(folder) + fileName;
}

std::string GetSettingsFilePath(std::string_view baseName, const SettingsPathInputs& inputs)
{
    const std::string config = configFolder(inputs);
    if (!config.empty() && shell::makeFolders(config) == 0) {
        const std::string vendor = shell::joinPath(config, kVendorFolder);
        if (shell::makeFolders(vendor) == 0)
            return shell::joinPath(vendor, std::string(baseName) + std::string(kExtension));
    }
    return settingsPathBesideProgram(inputs.programPath);
}

std::string GetSettingsFilePath(std::string_view baseName)
{
    return GetSettingsFilePath(baseName, SettingsPathInputs::fromProcess());
}

} // namespace platform::profile
