#pragma once
// The settings file: a Windows-style initialization file read and written through the six
// profile operations. Every call goes to the file; nothing is cached, so what one call writes
// the next reads, even from another instance of the program.
//
// Layout, name matching and value rules: see IniText.h. In short: [Section] headers and
// key=value lines, names compared without regard to case, UTF-8 text, and every value that
// can be written reads back unchanged.
//
// Writes rewrite the file atomically (see platform/shell/AtomicFile.h) and keep every line they do not
// change byte for byte. A write reports false, changing nothing, when the file cannot be
// written (missing folder, unwritable file) or cannot be read (so that its other settings are
// never replaced by the one being written), or when the name or value cannot be stored.
// A read of a file that is missing or unreadable yields the caller's default. A file over
// 4 MiB (a settings file holds a few kilobytes) counts as unreadable: it is neither parsed
// on every call nor ever rewritten.

#include "platform/profile/IniText.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::profile {

class IniFile {
public:
    // path is a UTF-8 file-system path. The file need not exist; the first write creates it.
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }

    // Whether writes can reach the file now: it is readable (or missing, with a folder that
    // may be written) and may itself be written. False for a damaged or oversized file,
    // which the writes leave alone.
    bool canWrite() const;

    // The leading decimal number of the value (see leadingIntOf in ValueForms.h: optional
    // '-', 0 when the value does not begin with a number); defaultValue when the key is missing.
    int readInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;
    // The value unchanged; defaultValue when the key is missing.
    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // The bytes of a binary value; nothing when the key is missing or its letters are damaged
    // (see lettersToBinary in ValueForms.h).
    std::optional<std::vector<std::uint8_t>> readBinary(std::u16string_view section,
                                                        std::u16string_view key) const;

    bool writeInt(std::u16string_view section, std::u16string_view key, int value);
    bool writeString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    bool writeBinary(std::u16string_view section, std::u16string_view key,
                     std::span<const std::uint8_t> bytes);

    // Removing what is not there succeeds without touching the file.
    bool removeKey(std::u16string_view section, std::u16string_view key);
    bool removeSection(std::u16string_view section);
    // Rewrites section whole: afterwards it holds exactly entries, in order (a list such as
    // the recent files, where entries that are no longer wanted must not survive).
    bool writeSection(std::u16string_view section, std::span<const IniEntry> entries);

private:
    std::optional<std::u16string> readValue(std::u16string_view section, std::u16string_view key) const;
    template <typename Edit>
    bool edit(Edit&& change);

    std::string m_path;
};

} // namespace platform::profile
