#include "platform/profile/SettingsPath.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::profile {

namespace {

constexpr std::string_view kVendorFolder = "Quillet";
constexpr std::string_view kExtension = ".ini";

bool isAbsolute(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

std::string joined(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates path and any missing parents, as the config folder of a fresh account may not
// exist yet. False when something in the way is not a folder or cannot be created.
bool ensureFolder(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!isFolder(prefix) && ::mkdir(prefix.c_str(), 0700) != 0 && !isFolder(prefix))
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

std::string configFolder(const SettingsPathInputs& inputs)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base-directory rules say.
    if (isAbsolute(inputs.xdgConfigHome))
        return inputs.xdgConfigHome;
    if (isAbsolute(inputs.home))
        return joined(inputs.home, ".config");
    return {};
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

bool isWellFormedUtf8(std::string_view text)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
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
    const std::size_t nameStart = programPath.rfind('/') + 1;  // npos + 1 == 0
    const std::string_view folder = programPath.substr(0, nameStart);
    std::string_view name = programPath.substr(nameStart);

    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    std::string fileName = std::string(name) + std::string(extension);

    // Bytes that are not UTF-8 cannot be case-mapped; such a name is kept as it is.
    if (!hasLowerCaseLetter(programPath) && isWellFormedUtf8(programPath))
        fileName = lowerCased(fileName);
    return std::string(folder) + fileName;
}

std::string GetSettingsFilePath(std::string_view baseName, const SettingsPathInputs& inputs)
{
    const std::string config = configFolder(inputs);
    if (!config.empty() && ensureFolder(config)) {
        const std::string vendor = joined(config, kVendorFolder);
        if (ensureFolder(vendor))
            return joined(vendor, std::string(baseName) + std::string(kExtension));
    }
    return settingsPathBesideProgram(inputs.programPath);
}

std::string GetSettingsFilePath(std::string_view baseName)
{
    return GetSettingsFilePath(baseName, SettingsPathInputs::fromProcess());
}

} // namespace platform::profile
