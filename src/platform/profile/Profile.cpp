#include "platform/profile/Profile.h"

#include "platform/shell/AtomicFile.h"
#include "platform/shell/Files.h"
#include "platform/profile/ValueForms.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::profile {

namespace {

// A settings file holds a few kilobytes; one far larger is damaged, not ours to parse on
// every call or to rewrite.
constexpr std::int64_t kMaxSettingsBytes = 4 << 20;

// The settings file as read: missing is no fault (nothing saved yet); a file that exists
// but cannot be read whole is, and is neither parsed nor rewritten.
struct SettingsBytes {
    enum class State { Read, Missing, Failed } state;
    std::string bytes;
};

SettingsBytes readSettings(const std::string& path)
{
    shell::FileBytes file = shell::readWholeFile(path, kMaxSettingsBytes);
    if (file.error == 0 && !file.shortRead)
        return {SettingsBytes::State::Read, std::move(file.bytes)};
    const bool missing = !file.shortRead && (file.error == ENOENT || file.error == ENOTDIR);
    return {missing ? SettingsBytes::State::Missing : SettingsBytes::State::Failed, {}};
}

} // namespace

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
{
}

std::optional<std::u16string> IniFile::readValue(std::u16string_view section, std::u16string_view key) const
{
    const SettingsBytes contents = readSettings(m_path);
    if (contents.state != SettingsBytes::State::Read)
        return std::nullopt;
    return IniText(contents.bytes).value(section, key);
}

template <typename Edit>
bool IniFile::edit(Edit&& change)
{
    const SettingsBytes contents = readSettings(m_path);
    // A file made read-only keeps its settings: the rename of the atomic write would
    // otherwise replace it regardless.
    if (contents.state == SettingsBytes::State::Failed ||
        (contents.state == SettingsBytes::State::Read && shell::isReadOnlyFile(m_path)))
        return false;
    IniText text(contents.bytes);
    if (!change(text))
        return false;
    const std::string updated = text.bytes();
    // Nothing changed (a removal of what is not there, a value written again): leave the file
    // alone, and do not create one that did not exist.
    if (updated == contents.bytes)
        return true;
    return shell::writeFileAtomically(m_path, updated) == 0;
}

bool IniFile::canWrite() const
{
    switch (readSettings(m_path).state) {
    case SettingsBytes::State::Read:
        return !shell::isReadOnlyFile(m_path);
    case SettingsBytes::State::Missing:
        return ::faccessat(AT_FDCWD, shell::folderOf(m_path).c_str(), W_OK | X_OK,
                           AT_EACCESS) == 0;
    case SettingsBytes::State::Failed:
        break;
    }
    return false;
}

int IniFile::readInt(std::u16string_view section, std::u16string_view key, int defaultValue) const
{
    const std::optional<std::u16string> value = readValue(section, key);
    return value ? leadingIntOf(*value) : defaultValue;
}

std::u16string IniFile::readString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) const
{
    std::optional<std::u16string> value = readValue(section, key);
    return value ? std::move(*value) : std::u16string(defaultValue);
}

std::optional<std::vector<std::uint8_t>> IniFile::readBinary(std::u16string_view section,
                                                             std::u16string_view key) const
{
    const std::optional<std::u16string> value = readValue(section, key);
    if (!value)
        return std::nullopt;
    return lettersToBinary(*value);
}

bool IniFile::writeInt(std::u16string_view section, std::u16string_view key, int value)
{
    return writeString(section, key, intToValueText(value));
}

bool IniFile::writeString(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    return edit([&](IniText& text) { return text.setValue(section, key, value); });
}

bool IniFile::writeBinary(std::u16string_view section, std::u16string_view key,
                          std::span<const std::uint8_t> bytes)
{
    return writeString(section, key, binaryToLetters(bytes));
}

bool IniFile::removeKey(std::u16string_view section, std::u16string_view key)
{
    return edit([&](IniText& text) { return text.removeKey(section, key); });
}

bool IniFile::removeSection(std::u16string_view section)
{
    return edit([&](IniText& text) { return text.removeSection(section); });
}

bool IniFile::writeSection(std::u16string_view section, std::span<const IniEntry> entries)
{
    return edit([&](IniText& text) { return text.replaceSection(section, entries); });
}

} // namespace platform::profile
