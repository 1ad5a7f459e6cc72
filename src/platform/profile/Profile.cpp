#include "platform/profile/Profile.h"

#include "platform/shell/AtomicFile.h"
#include "platform/profile/ValueForms.h"

#include <fcntl.h>
#include <unistd.h>

namespace platform::profile {

namespace {

// A settings file holds a few kilobytes; one far larger is damaged, not ours to parse on
// every call or to rewrite.
constexpr std::size_t kMaxSettingsBytes = 4 << 20;

} // namespace

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
{
}

std::optional<std::u16string> IniFile::readValue(std::u16string_view section, std::u16string_view key) const
{
    const shell::FileContents contents = shell::readWholeFile(m_path, kMaxSettingsBytes);
    if (contents.status != shell::FileContents::Status::Read)
        return std::nullopt;
    return IniText(contents.bytes).value(section, key);
}

template <typename Edit>
bool IniFile::edit(Edit&& change)
{
    const shell::FileContents contents = shell::readWholeFile(m_path, kMaxSettingsBytes);
    // A file made read-only keeps its settings: the rename of the atomic write would
    // otherwise replace it regardless.
    if (contents.status == shell::FileContents::Status::Failed ||
        (contents.status == shell::FileContents::Status::Read && shell::isReadOnlyFile(m_path)))
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
    const shell::FileContents contents = shell::readWholeFile(m_path, kMaxSettingsBytes);
    switch (contents.status) {
    case shell::FileContents::Status::Read:
        return !shell::isReadOnlyFile(m_path);
    case shell::FileContents::Status::Missing: {
        const std::size_t slash = m_path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : m_path.substr(0, slash + 1);
        return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    }
    case shell::FileContents::Status::Failed:
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
