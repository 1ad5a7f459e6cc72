#pragma once
// Unicode files with a byte-order mark: the import recognises UTF-16 in either byte order
// and UTF-8 by their marks and decodes the file to the editor's UTF-16 text; the export
// writes the text in one of three marked forms. The code-page load and save paths never
// look for or write a mark; only these do. Qt-free; UTF-8 goes through platform::nls.
//
// Units: file contents are bytes (char); text is UTF-16 code units (char16_t).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace doc {

// How an imported file is read.
enum class UnicodeImportForm {
    Utf8,               // no mark: the whole file, from its first byte
    Utf8WithMark,       // EF BB BF, then UTF-8
    Utf16LittleEndian,  // FF FE, then units low byte first
    Utf16BigEndian,     // FE FF, then units high byte first
};

// The form from the file's first bytes (only the first three are looked at). Checked in
// this order: fewer than two bytes is UTF-8 without a mark; FF FE (so also a UTF-32
// little-endian mark) is UTF-16 little-endian; FE FF is big-endian; EF BB BF is UTF-8 with
// a mark; anything else, EF BB alone included, is UTF-8 without a mark.
UnicodeImportForm detectUnicodeImportForm(std::string_view fileBytes);

// Number of bytes the form's mark occupies at the start of the file.
std::size_t markLength(UnicodeImportForm form);

// The text of a whole file: the mark skipped, decoded, and cut at its first zero unit (the
// text inserted ends there). A trailing odd byte of a UTF-16 file is dropped. Invalid UTF-8
// is decoded as the system decoder replaces it. nullopt only if the UTF-8 decoder is not
// available, so that a failed conversion is never inserted as an empty text.
std::optional<std::u16string> decodeUnicodeFile(std::string_view fileBytes);

// The forms an export writes, each starting with its mark.
enum class UnicodeExportForm {
    Utf16LittleEndian, // FF FE, then 2n bytes
    Utf16BigEndian,    // FE FF, then 2n bytes
    Utf8WithMark,      // EF BB BF, then UTF-8 (a lone surrogate as the system encodes it)
};

// The whole file for text: the mark, then every unit of text as it is (line ends, a
// U+FEFF already at the start, zero units; nothing is converted but the encoding). An
// empty text gives the mark alone. nullopt only if the UTF-8 encoder is not available.
std::optional<std::string> encodeUnicodeFile(std::u16string_view text, UnicodeExportForm form);

} // namespace doc
