// Any file through the open path as the view runs it (doc::decodeOpenedFile: the text ends
// at the first zero byte, Japanese detection rewrites EUC-JP and ISO-2022-JP for page 932,
// one decode gives the text and the undecodable bytes), then the save of what was opened.
// The two-call form of the system call must give the same text. The first input byte picks
// the page, so every kind of page is reached.

#include "FuzzCheck.h"

#include "doc/CodePageText.h"
#include "doc/JapaneseEncoding.h"
#include "platform/nls/CodePages.h"

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
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    const doc::OpenedText opened = doc::decodeOpenedFile(file, cp, doc::DetectJapanese::Yes);
    FUZZ_CHECK(opened.shownBytes <= file.size());
    FUZZ_CHECK(file.find('\0') == std::string::npos ? opened.shownBytes == file.size()
                                                     : file[opened.shownBytes] == '\0');
    if (opened.undecodable.any())
        FUZZ_CHECK(opened.undecodable.firstOffset < opened.shownBytes &&
                   opened.undecodable.byteCount <= opened.shownBytes);

    // The bytes the decode saw, decoded by measuring first and converting second.
    std::string bytes = file.substr(0, opened.shownBytes);
    if (cp == 932)
        doc::ConvertJapaneseToShiftJis(bytes);
    if (!bytes.empty()) {
        std::uint32_t flags = cp == nls::CP_UTF7 || cp == nls::CP_UTF8 ? 0 : nls::MB_PRECOMPOSED;
        int units =
            nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
        if (units == 0 && nls::lastConversionError() == nls::ConversionError::InvalidFlags) {
            flags = 0;
            units =
                nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
        }
        // Nothing comes only from a page the system lacks, or from bytes that are all shifts
        // and escapes: the text then opens empty.
        FUZZ_CHECK(units > 0 || !nls::isValidCodePage(cp) ||
                   nls::lastConversionError() == nls::ConversionError::None);
        std::u16string text(std::size_t(units > 0 ? units : 0), u'\0');
        if (units > 0)
            FUZZ_CHECK(nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()),
                                                text.data(), units) == units);
        FUZZ_CHECK(text == opened.text);
        if (units > 0 && flags != 0)
            FUZZ_CHECK((nls::multiByteToWideChar(cp, flags | nls::MB_ERR_INVALID_CHARS,
                                                 bytes.data(), int(bytes.size()), nullptr,
                                                 0) == 0) == opened.undecodable.any());
    }

    // The question before a save of what was opened.
    const auto saved = doc::encodeForSave(opened.text, cp);
    if (!nls::isValidCodePage(cp)) {
        FUZZ_CHECK(!saved);
        return 0;
    }
    FUZZ_CHECK(saved && saved->bytes.empty() == opened.text.empty());
    const nls::EncodingLoss& loss = saved->lost;
    if (loss.any()) {
        FUZZ_CHECK(loss.firstIndex + loss.firstLength <= opened.text.size());
        const std::u16string_view first(opened.text.data() + loss.firstIndex, loss.firstLength);
        FUZZ_CHECK(saved->firstWrittenAs != first);
    } else {
        const auto back = nls::decode(cp, saved->bytes);
        FUZZ_CHECK(back && back->text == opened.text);
    }
    return 0;
}
