#include "doc/TemplateFiles.h"

#include "platform/nls/UserLocale.h"
#include "platform/profile/SettingsPath.h"
#include "platform/shell/Files.h"
#include "platform/Utf8.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <stdio.h>
#include <unistd.h>

namespace doc {

namespace {

constexpr std::string_view kExtension = ".tpl";


// Whether folder holds an entry of exactly this name, letter case included: what tells
// another file from the same one found again by a folder that ignores case.
bool listsEntry(const std::string& folder, std::string_view file)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (file == entry->d_name)
            return true;
    }
    return false;
}

// Renames without replacing a file that appeared in the meantime, where the file system can
// promise that; elsewhere the caller's check has to do. Returns 0 or errno.
int renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Changes only the letter case of a file's name on a folder that ignores case. The system
// takes a rename onto the same file for nothing done, so the file goes through a name of
// its own on the way.
int renameCaseOnly(const std::string& folder, const std::string& from, const std::string& to)
{
    for (int n = 1; n < 100; ++n) {
        const std::string step = folder + "/" + std::to_string(::getpid()) + "~" +
                                 std::to_string(n) + std::string(kExtension);
        if (platform::shell::entryExists(step))
            continue;
        if (const int error = renameNoReplace(from, step))
            return error;
        const int error = renameNoReplace(step, to);
        if (error != 0)
            ::rename(step.c_str(), from.c_str());
        return error;
    }
    return EEXIST;
}

} // namespace

FolderInputs FolderInputs::fromProcess()
{
    const auto process = platform::profile::SettingsPathInputs::fromProcess();
    FolderInputs in{process.home, {}, process.programPath};
    if (const char* data = std::getenv("XDG_DATA_HOME"))
        in.xdgDataHome = data;
    return in;
}

std::string userTemplateFolder(const FolderInputs& inputs)
{
    return platform::shell::xdgBaseFolder(inputs.xdgDataHome, inputs.home, ".local/share",
                                          "Quillet/template");
}

std::string templateFolder(const FolderInputs& inputs)
{
    if (!inputs.programPath.empty()) {
        const std::string beside =
            platform::shell::joinPath(platform::shell::folderOf(inputs.programPath), "template");
        if (platform::shell::isFolder(beside))
            return beside;
    }
    return userTemplateFolder(inputs);
}

bool isStorableName(std::u16string_view name)
{
    return name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos;
}

std::string templatePath(const std::string& folder, std::u16string_view name)
{
    return folder + "/" + platform::toUtf8(name) + std::string(kExtension);
}

std::vector<std::u16string> listNames(const std::string& folder)
{
    std::vector<std::u16string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view file(entry->d_name);
        if (file.size() < kExtension.size() || !file.ends_with(kExtension))
            continue;
        std::u16string name;
        if (platform::fromUtf8(file.substr(0, file.size() - kExtension.size()), &name))
            names.push_back(std::move(name));
    }
    sortNames(names);
    return names;
}

void sortNames(std::vector<std::u16string>& names)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(platform::nls::userCollationLocale().c_str());
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !collator) {
        std::sort(names.begin(), names.end());
        return;
    }
    collator->setStrength(icu::Collator::TERTIARY);
    std::sort(names.begin(), names.end(), [&](const std::u16string& a, const std::u16string& b) {
        UErrorCode s = U_ZERO_ERROR;
        return collator->compare(a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), s) ==
               UCOL_LESS;
    });
}

std::u16string decodeTemplate(std::string_view bytes)
{
    std::u16string text;
    if (bytes.size() < 2)
        return text;
    const std::size_t units = (bytes.size() - 2) / 2;
    text.resize(units);
    for (std::size_t i = 0; i < units; ++i) {
        const auto lo = std::uint8_t(bytes[2 + 2 * i]);
        const auto hi = std::uint8_t(bytes[3 + 2 * i]);
        text[i] = char16_t(lo | (hi << 8));
    }
    return text;
}

std::string encodeTemplate(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes.push_back(char(0xFF));
    bytes.push_back(char(0xFE));
    for (const char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return icu::UnicodeString(false, a.data(), int32_t(a.size()))
               .caseCompare(icu::UnicodeString(false, b.data(), int32_t(b.size())),
                            U_FOLD_CASE_DEFAULT) == 0;
}

RenameOutcome renameTemplate(const std::string& folder, std::u16string_view from,
                             std::u16string_view to)
{
    using Result = RenameOutcome::Result;
    if (to == from)
        return {Result::Unchanged};
    if (!isStorableName(to))
        return {Result::Failed, EINVAL};
    const std::string fromPath = templatePath(folder, from);
    const std::string toPath = templatePath(folder, to);
    int error = 0;
    if (!platform::shell::entryExists(toPath)) {
        error = renameNoReplace(fromPath, toPath);
    } else {
        // Found under the new name but not listed by it: a folder that ignores letter case
        // found the template itself, or one whose name it takes for the same.
        const std::string toFile = platform::toUtf8(to) + std::string(kExtension);
        if (listsEntry(folder, toFile) || !sameIgnoringCase(from, to))
            return {Result::Duplicate};
        error = renameCaseOnly(folder, fromPath, toPath);
    }
    if (error == EEXIST || error == ENOTEMPTY)
        return {Result::Duplicate};
    return error == 0 ? RenameOutcome{Result::Renamed} : RenameOutcome{Result::Failed, error};
}

} // namespace doc
