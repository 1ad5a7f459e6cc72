// Any file through the open path as the view runs it: the text ends at the first zero byte,
// Japanese detection rewrites EUC-JP and ISO-2022-JP for page 932, the page decodes in two
// passes (measure, then convert), and the bytes it could not read are counted for the
// message. The first input byte picks the page, so every kind of page is reached.

#include "FuzzCheck.h"

#include "doc/JapaneseEncoding.h"
#include "platform/nls/CodePages.h"
#include "platform/nls/ConversionLoss.h"

#include <cstdint>
#include <string>

namespace nls = platform::nls;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const nls::CodePage kPages[] = {932, 936, 949, 950, 1252, 1253, 1255, 1256, 20932,
                                           50220, 50225, 51932, 52936, 54936, 65000, 65001};
    if (size == 0)
        return 0;
    const nls::CodePage cp = kPages[data[0] % std::size(kPages)];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    bytes.resize(std::char_traits<char>::length(bytes.c_str()));
    if (cp == 932)
        doc::ConvertJapaneseToShiftJis(bytes);
    if (bytes.empty())
        return 0;

    std::uint32_t flags = cp == nls::CP_UTF7 || cp == nls::CP_UTF8 ? 0 : nls::MB_PRECOMPOSED;
    int units = nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    if (units == 0 && nls::lastConversionError() == nls::ConversionError::InvalidFlags) {
        flags = 0;
        units = nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    }
    // Nothing comes only from a page the system lacks, or from bytes that are all shifts
    // and escapes: the text then opens empty.
    if (units <= 0) {
        FUZZ_CHECK(!nls::isValidCodePage(cp) ||
                   nls::lastConversionError() == nls::ConversionError::None);
        return 0;
    }
    std::u16string text(std::size_t(units), u'\0');
    FUZZ_CHECK(nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()),
                                        text.data(), units) == units);

    bool replaced = false;
    const auto plain = nls::decode(cp, bytes, &replaced);
    FUZZ_CHECK(plain && *plain == text);
    const auto lost = nls::findDecodingLoss(cp, bytes);
    FUZZ_CHECK(lost && lost->any() == replaced);
    if (lost->any())
        FUZZ_CHECK(lost->firstOffset < bytes.size() && lost->byteCount <= bytes.size());

    // The question before a save of what was opened.
    const auto loss = nls::findEncodingLoss(cp, text);
    FUZZ_CHECK(loss);
    if (loss->any()) {
        FUZZ_CHECK(loss->firstIndex + loss->firstLength <= text.size());
        const std::u16string_view first(text.data() + loss->firstIndex, loss->firstLength);
        FUZZ_CHECK(nls::savedFormOf(cp, first) != first);
    } else {
        FUZZ_CHECK(nls::decode(cp, *nls::encode(cp, text)) == text);
    }
    return 0;
}
