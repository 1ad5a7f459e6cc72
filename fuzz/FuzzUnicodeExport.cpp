// Any UTF-16 text through the three exports and back through the import: the UTF-16 forms
// are exact (up to the first zero unit); UTF-8 is exact for well-formed text.

#include "FuzzCheck.h"

#include "doc/UnicodeFile.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool wellFormed(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        else if (u >= 0xD800 && u <= 0xDFFF)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    const std::u16string_view upToZero(text.c_str());

    for (auto form : {doc::UnicodeExportForm::Utf16LittleEndian,
                      doc::UnicodeExportForm::Utf16BigEndian}) {
        const auto file = doc::encodeUnicodeFile(text, form);
        FUZZ_CHECK(file && file->size() == 2 + 2 * text.size());
        FUZZ_CHECK(doc::decodeUnicodeFile(*file) == upToZero);
    }
    const auto utf8 = doc::encodeUnicodeFile(text, doc::UnicodeExportForm::Utf8WithMark);
    FUZZ_CHECK(utf8 && utf8->compare(0, 3, "\xEF\xBB\xBF") == 0);
    if (wellFormed(text))
        FUZZ_CHECK(doc::decodeUnicodeFile(*utf8) == upToZero);
    return 0;
}
