// Any file through the Unicode import: no zero unit in the text, at most one unit per two
// bytes after a UTF-16 mark, and the detected form agrees with the first bytes.

#include "FuzzCheck.h"

#include "doc/UnicodeFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto text = doc::decodeUnicodeFile(file);
    FUZZ_CHECK(text.has_value());
    FUZZ_CHECK(text->find(u'\0') == std::u16string::npos);
    const doc::UnicodeImportForm form = doc::detectUnicodeImportForm(file);
    if (form == doc::UnicodeImportForm::Utf16LittleEndian ||
        form == doc::UnicodeImportForm::Utf16BigEndian) {
        FUZZ_CHECK(size >= 2 && text->size() <= (size - 2) / 2);
        // A UTF-16 body goes back out in the same form, up to its first zero unit.
        const auto again = doc::encodeUnicodeFile(
            *text, form == doc::UnicodeImportForm::Utf16BigEndian
                       ? doc::UnicodeExportForm::Utf16BigEndian
                       : doc::UnicodeExportForm::Utf16LittleEndian);
        FUZZ_CHECK(again && file.substr(0, again->size()) == *again);
    }
    return 0;
}
