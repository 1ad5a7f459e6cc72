#pragma once
// The text of a settings file held as lines, with the lookups and edits of the profile
// operations. An edit changes only the lines it must; every other byte (damaged lines,
// comments, blank lines, line ends, a BOM) is written back exactly as it was read.
//
// What is understood, as the Windows profile functions read it:
//   [Section]    a header; the name runs to the first ']' and is trimmed
//   key=value    the key is trimmed; the value is what follows the first '='
//   ; comment    never a key
// Anything else is kept and ignored. Lines before the first header belong to no section.
// A '[' line without ']' is a damaged header: the lines under it belong to no section that
// can be named, so they are never read or changed (rather than leaking into the section above).
//
// Names are trimmed of spaces and tabs and compared by Unicode simple case folding (ICU's
// default folding, one code point at a time: "é" matches "É", "ß" does not match "ss").
// A section that occurs more than once is searched in file order; the first match wins.
//
// Values: spaces and tabs around a value are not part of it, and a value that both begins and
// ends with '"' loses that pair on read (the Windows rule). A value that would lose something
// that way is written inside quotes, so every value that can be stored reads back unchanged.
//
// The bytes are UTF-8. Ill-formed UTF-8 reads as U+FFFD. Text is UTF-16; an unpaired
// surrogate in a value is written as U+FFFD, since UTF-8 cannot hold it.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::profile {

// One key and its value, as a section is rewritten whole.
using IniEntry = std::pair<std::u16string, std::u16string>;

class IniText {
public:
    explicit IniText(std::string_view bytes);

    // The file as it now stands.
    std::string bytes() const;

    // The value of key in section; nothing when either is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // Edits return false, changing nothing, when a name or value cannot be stored in this
    // layout without being read back differently:
    //   - section names that are empty, or hold ']', CR or LF;
    //   - keys that are empty, begin with '[' or ';', or hold '=', CR or LF;
    //   - values that hold CR or LF (they would end the line and could forge other keys);
    //   - names holding an unpaired surrogate.

    // Changes the first occurrence of key; a missing key is added at the end of the first
    // block of its section (before the blank lines that close it), a missing section at the
    // end of the text.
    bool setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // Removes every line of key in every block of section. True also when there was none.
    bool removeKey(std::u16string_view section, std::u16string_view key);
    // Removes every block of section, header included. True also when there was none.
    bool removeSection(std::u16string_view section);
    // Makes entries, in order, the whole content of section: the first block keeps its header
    // and closing blank lines and loses everything else (comments included); other blocks of
    // the same name are removed. A missing section is appended. Empty entries leave a header.
    bool replaceSection(std::u16string_view section, std::span<const IniEntry> entries);

private:
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\n", "\r\n", or "" for a last line without one
    };
    // Lines [header, end): a header and everything up to the next header.
    struct Block {
        std::size_t header;
        std::size_t end;
    };

    std::vector<Block> blocksNamed(const std::u16string& foldedSection) const;
    std::optional<std::size_t> entryIn(const Block& block, const std::u16string& foldedKey) const;
    // Index after the last line of block that is not blank.
    std::size_t contentEnd(const Block& block) const;
    void insertLines(std::size_t at, std::vector<std::string> texts);
    void appendSection(const std::string& header, std::vector<std::string> texts);

    bool m_bom = false;
    std::string m_newline = "\n";  // for lines we add: the file's own convention
    std::vector<Line> m_lines;
};

} // namespace platform::profile
