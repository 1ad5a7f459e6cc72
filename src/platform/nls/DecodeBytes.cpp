// Bytes to UTF-16 through an ICU converter, with Windows' rules for bytes that decode to
// nothing: the page's Unicode default character, one per bad sequence, or failure when the
// caller asks for it; the single bytes only Windows maps; and Windows' characters where
// ICU's table has others.

#include <iterator>
#include <optional>
#include <span>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include "platform/nls/ConversionCore.h"
#include "platform/nls/ConverterCache.h"
#include "platform/nls/UnitRemapper.h"

namespace platform::nls::detail {
namespace {

struct ToUnicodeState {
    char16_t replacement;
    bool failOnInvalid;
    const PageQuirks* quirks;
    bool sawInvalid = false;
};

// The character Windows reads for a single byte that ICU's table leaves unmapped.
std::optional<char16_t> extraByteUnit(const PageQuirks* quirks, const char* bytes, int32_t length)
{
    if (!quirks || length != 1)
        return std::nullopt;
    for (const ExtraByte& extra : quirks->extraBytes)
        if (extra.byte == static_cast<unsigned char>(bytes[0]))
            return extra.unit;
    return std::nullopt;
}

// ICU calls this once per bad byte sequence. Leaving *err set stops the conversion.
void toUnicodeCallback(const void* context, UConverterToUnicodeArgs* args, const char* bytes,
                       int32_t length, UConverterCallbackReason reason, UErrorCode* err)
{
    if (!isErrorReason(reason))
        return;
    auto* state = static_cast<ToUnicodeState*>(const_cast<void*>(context));
    if (const auto unit = extraByteUnit(state->quirks, bytes, length)) {
        *err = U_ZERO_ERROR;
        ucnv_cbToUWriteUChars(args, &*unit, 1, 0, err);
        return;
    }
    state->sawInvalid = true;
    if (state->failOnInvalid)
        return;
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &state->replacement, 1, 0, err);
}

} // namespace

ConversionError decodeBytes(const PageEntry& page, std::uint32_t flags, const char* src,
                            std::size_t len, char16_t* dst, std::size_t dstCap,
                            std::size_t& produced, bool* usedDefault)
{
    produced = 0;
    if (usedDefault)
        *usedDefault = false;
    if (len == 0)
        return ConversionError::None;
    UConverter* converter = converterFor(page);
    ToUnicodeState state{page.unicodeDefaultChar, (flags & MB_ERR_INVALID_CHARS) != 0,
                         page.quirks};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, toUnicodeCallback, &state, nullptr, nullptr, &status);

    const char* source = src;
    const char* const sourceEnd = src + len;
    if (dst) {
        char16_t* target = dst;
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, dst + dstCap, &source, sourceEnd, nullptr, true,
                       &status);
        produced = static_cast<std::size_t>(target - dst);
        // With the buffer exactly full, ICU cannot tell whether the end of the input (a
        // sequence cut short, as UTF-7's lone "+") still has units to give, and reports
        // overflow. The measuring pass knew: the end gives none when a scratch flush writes
        // nothing.
        if (status == U_BUFFER_OVERFLOW_ERROR && target == dst + dstCap) {
            char16_t scratch[8];
            char16_t* scratchTarget = scratch;
            status = U_ZERO_ERROR;
            ucnv_toUnicode(converter, &scratchTarget, scratch + std::size(scratch), &source,
                           sourceEnd, nullptr, true, &status);
            if (U_SUCCESS(status) && scratchTarget != scratch)
                status = U_BUFFER_OVERFLOW_ERROR;
        }
    } else {
        // Counting: convert through a small buffer that stays in the cache.
        char16_t chunk[4096];
        do {
            char16_t* target = chunk;
            status = U_ZERO_ERROR;
            ucnv_toUnicode(converter, &target, chunk + std::size(chunk), &source, sourceEnd,
                           nullptr, true, &status);
            produced += static_cast<std::size_t>(target - chunk);
        } while (status == U_BUFFER_OVERFLOW_ERROR);
    }
    if (usedDefault)
        *usedDefault = state.sawInvalid;
    if (state.sawInvalid && state.failOnInvalid)
        return ConversionError::NoUnicodeTranslation;
    if (status == U_BUFFER_OVERFLOW_ERROR)
        return ConversionError::InsufficientBuffer;
    if (U_FAILURE(status))
        return ConversionError::InvalidParameter;
    if (dst && page.quirks && !page.quirks->remaps.empty())
        UnitRemapper(page.quirks->remaps, UnitRemapper::Direction::ToWindows)
            .apply(std::span<char16_t>(dst, produced));
    return ConversionError::None;
}

} // namespace platform::nls::detail
