// The bytes of an open and a save, converted with the view's code page.

#include "doc/CodePageText.h"

#include <cstdint>
#include <vector>

#include "doc/JapaneseEncoding.h"
#include "platform/nls/CodePages.h"

namespace doc {

namespace nls = platform::nls;

OpenedText decodeOpenedFile(std::string bytes, nls::CodePage cp, DetectJapanese detect)
{
    OpenedText opened;
    // The text ends at the first zero byte.
    if (const std::size_t zero = bytes.find('\0'); zero != std::string::npos)
        bytes.resize(zero);
    opened.shownBytes = bytes.size();

    // Where each converted byte was in the file, for telling where an undecodable one was.
    std::vector<std::uint32_t> origins;
    if (detect == DetectJapanese::Yes && cp == 932)
        ConvertJapaneseToShiftJis(bytes, &origins);
    if (bytes.empty())
        return opened;

    std::uint32_t flags = (cp == nls::CP_UTF7 || cp == nls::CP_UTF8) ? 0 : nls::MB_PRECOMPOSED;
    int units = nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    // The escape-sequence pages (ISO-2022, HZ) refuse every flag; without this their files
    // would open empty.
    if (units == 0 && nls::lastConversionError() == nls::ConversionError::InvalidFlags) {
        flags = 0;
        units =
            nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    }
    // A page the system cannot convert gives 0 units: the text opens empty.
    if (units > 0) {
        opened.text.resize(std::size_t(units));
        nls::multiByteToWideChar(cp, flags, bytes.data(), int(bytes.size()), opened.text.data(),
                                 units);
    }
    if (auto loss = nls::findDecodingLoss(cp, bytes); loss && loss->any()) {
        // The place in the file, not in the bytes converted from it.
        if (loss->firstOffset < origins.size())
            loss->firstOffset = origins[loss->firstOffset];
        opened.undecodable = *loss;
    }
    return opened;
}

std::optional<SavedText> encodeForSave(std::u16string_view text, nls::CodePage cp)
{
    if (!nls::isValidCodePage(cp))
        return std::nullopt;
    SavedText saved;
    if (text.empty())
        return saved;
    if (const auto loss = nls::findEncodingLoss(cp, text); loss && loss->any()) {
        saved.lost = *loss;
        saved.firstWrittenAs =
            nls::savedFormOf(cp, text.substr(loss->firstIndex, loss->firstLength));
    }
    const int needed = nls::wideCharToMultiByte(cp, 0, text.data(), int(text.size()), nullptr,
                                                0, nullptr, nullptr);
    if (needed <= 0)
        return std::nullopt;
    saved.bytes.assign(std::size_t(needed) + 1, '\0');
    const int written = nls::wideCharToMultiByte(cp, 0, text.data(), int(text.size()),
                                                 saved.bytes.data(), needed + 1, nullptr, nullptr);
    saved.bytes.resize(std::size_t(written > 0 ? written : 0));
    return saved;
}

} // namespace doc
