#pragma once
// The code-page load and save as bytes and text: what an open makes of a file's bytes with
// the view's page (the text, and what the notices tell), and what a save writes (the bytes,
// and what the question before it tells). The view reads and writes the file and asks; this
// converts. Qt-free.
//
// Units: file contents are bytes (char); text is UTF-16 code units (char16_t).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/nls/CodePages.h"

namespace doc {

// Whether an open with page 932 looks for EUC-JP and ISO-2022-JP first (the "Ja" option).
enum class DetectJapanese : bool { No, Yes };

struct OpenedText {
    std::u16string text;
    // The bytes before the first zero byte, where the text ends; the file's length when it
    // holds none.
    std::size_t shownBytes = 0;
    // The bytes the page could not decode, each shown as its replacement character. The
    // offset is in the file as it is on disk, also when detection converted it first.
    platform::nls::DecodingLoss undecodable;
};

// The text of a file whose bytes are fileBytes, decoded with cp. The text ends at the first
// zero byte; with detect Yes and cp 932, EUC-JP and ISO-2022-JP are read as such. A page
// that cannot convert gives an empty text. Throws std::bad_alloc when memory runs out.
OpenedText decodeOpenedFile(std::string fileBytes, platform::nls::CodePage cp,
                            DetectJapanese detect);

struct SavedText {
    std::string bytes;
    // The characters the bytes do not hold exactly (default characters and best fits).
    platform::nls::EncodingLoss lost;
    // What the first of them reads back as after the save; empty when none is lost.
    std::u16string firstWrittenAs;
};

// The bytes a save of text with cp writes: no byte-order mark, line ends as they are.
// nullopt when cp cannot convert, so that a save never writes nothing over a file; an empty
// text gives no bytes.
std::optional<SavedText> encodeForSave(std::u16string_view text, platform::nls::CodePage cp);

} // namespace doc
