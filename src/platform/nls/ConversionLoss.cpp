// Conversion loss, judged by the conversions themselves: a character is lost when encoding
// and decoding it does not give it back; bytes are lost when the decoder's callback has to
// substitute for them (it discards its output into a small buffer, so a megabyte costs one
// pass and no memory).

#include "platform/nls/ConversionLoss.h"

#include <iterator>
#include <unordered_map>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include "platform/nls/ConversionCore.h"
#include "platform/nls/ConverterCache.h"

namespace platform::nls {

using detail::PageEntry;

namespace {

// CP_ACP and CP_OEMCP stand for 932, as in the conversions.
const PageEntry* installedPage(CodePage cp)
{
    if (cp == CP_ACP || cp == CP_OEMCP)
        cp = 932;
    const PageEntry* page = detail::findPage(cp);
    return page && detail::isInstalled(*page) ? page : nullptr;
}

struct DecodeScan {
    const char* base;
    const detail::PageQuirks* quirks;
    DecodingLoss loss;
};

void decodeScanCallback(const void* context, UConverterToUnicodeArgs* args, const char* bytes,
                        int32_t length, UConverterCallbackReason reason, UErrorCode* err)
{
    if (!detail::isErrorReason(reason))
        return;
    auto* scan = static_cast<DecodeScan*>(const_cast<void*>(context));
    *err = U_ZERO_ERROR;
    if (scan->quirks && length == 1)
        for (const detail::ExtraByte& extra : scan->quirks->extraBytes)
            if (extra.byte == static_cast<unsigned char>(bytes[0]))
                return;
    const auto end = static_cast<std::size_t>(args->source - scan->base);
    if (scan->loss.byteCount == 0)
        scan->loss.firstOffset = end - static_cast<std::size_t>(length);
    scan->loss.byteCount += static_cast<std::size_t>(length);
}

} // namespace

std::optional<EncodingLoss> findEncodingLoss(CodePage cp, std::u16string_view text)
{
    if (!installedPage(cp))
        return std::nullopt;
    EncodingLoss loss;
    // Nearly every save loses nothing: the whole text encoded and decoded again is the
    // text itself, and two passes settle it.
    bool usedDefault = false;
    const std::optional<std::string> bytes = encode(cp, text, &usedDefault);
    if (!bytes)
        return std::nullopt;
    if (!usedDefault && decode(cp, *bytes) == text)
        return loss;

    // Otherwise each character is judged by its own round trip, once per distinct
    // character: a best fit or a default character comes back as something else.
    std::unordered_map<char32_t, bool> survives;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t c = text[i++];
        if (U16_IS_LEAD(c) && i < text.size() && U16_IS_TRAIL(text[i]))
            c = U16_GET_SUPPLEMENTARY(c, text[i++]);
        auto [it, isNew] = survives.try_emplace(c, true);
        if (isNew) {
            const std::u16string_view one = text.substr(start, i - start);
            const std::optional<std::string> encoded = encode(cp, one);
            it->second = encoded && decode(cp, *encoded) == one;
        }
        if (it->second)
            continue;
        if (loss.count++ == 0) {
            loss.firstIndex = start;
            loss.firstLength = i - start;
            loss.firstCodePoint = c;
        }
    }
    return loss;
}

std::optional<DecodingLoss> findDecodingLoss(CodePage cp, std::string_view bytes)
{
    const PageEntry* page = installedPage(cp);
    if (!page)
        return std::nullopt;
    if (bytes.empty())
        return DecodingLoss{};

    UConverter* converter = detail::converterFor(*page);
    DecodeScan scan{bytes.data(), page->quirks, {}};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, decodeScanCallback, &scan, nullptr, nullptr, &status);
    const char* source = bytes.data();
    const char* const sourceEnd = source + bytes.size();
    char16_t chunk[4096];
    do {
        char16_t* target = chunk;
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, chunk + std::size(chunk), &source, sourceEnd,
                       nullptr, true, &status);
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    UErrorCode ignored = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                        &ignored);
    return scan.loss;
}

std::u16string savedFormOf(CodePage cp, std::u16string_view character)
{
    const std::optional<std::string> bytes = encode(cp, character);
    if (!bytes)
        return std::u16string();
    const std::optional<std::u16string> back = decode(cp, *bytes);
    return back ? *back : std::u16string();
}

} // namespace platform::nls
