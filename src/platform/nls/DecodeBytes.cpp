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
    const char* base; // the first byte of the input, where offsets count from
    DecodingLoss undecodable;
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

// ICU calls this once per bad byte sequence, with source just past it. Leaving *err set
// stops the conversion.
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
    DecodingLoss& loss = state->undecodable;
    const auto end = static_cast<std::size_t>(args->source - state->base);
    if (loss.byteCount == 0)
        loss.firstOffset = end - static_cast<std::size_t>(length);
    loss.byteCount += static_cast<std::size_t>(length);
    if (state->failOnInvalid)
        return;
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &state->replacement, 1, 0, err);
}

} // namespace

ConversionError decodeBytes(const PageEntry& page, std::uint32_t flags, const char* src,
                            std::size_t len, char16_t* dst, std::size_t dstCap,
                            std::size_t& produced, DecodingLoss* undecodable)
{
    produced = 0;
    if (undecodable)
        *undecodable = DecodingLoss{};
    if (len == 0)
        return ConversionError::None;
    UConverter* converter = converterFor(page);
    ToUnicodeState state{page.unicodeDefaultChar, (flags & MB_ERR_INVALID_CHARS) != 0,
                         page.quirks, src, {}};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, toUnicodeCallback, &state, nullptr, nullptr, &status);

    const char* source = src;
    const char* const sourceEnd = src + len;
    const auto step = [&](char16_t*& target, char16_t* limit, UErrorCode& stepStatus) {
        ucnv_toUnicode(converter, &target, limit, &source, sourceEnd, nullptr, true,
                       &stepStatus);
    };
    status = runConversion<char16_t, 4096>(step, dst, dstCap, produced);
    // With the buffer exactly full, ICU cannot tell whether the end of the input (a sequence
    // cut short, as UTF-7's lone "+") still has units to give, and reports overflow. The
    // measuring pass knew: the end gives none when a scratch flush writes nothing.
    if (dst && status == U_BUFFER_OVERFLOW_ERROR && produced == dstCap) {
        char16_t scratch[8];
        char16_t* scratchTarget = scratch;
        status = U_ZERO_ERROR;
        step(scratchTarget, scratch + std::size(scratch), status);
        if (U_SUCCESS(status) && scratchTarget != scratch)
            status = U_BUFFER_OVERFLOW_ERROR;
    }
    if (undecodable)
        *undecodable = state.undecodable;
    const ConversionError result =
        conversionResult(status, state.failOnInvalid && state.undecodable.any());
    if (result != ConversionError::None)
        return result;
    if (dst && page.quirks && !page.quirks->remaps.empty())
        UnitRemapper(page.quirks->remaps, UnitRemapper::Direction::ToWindows)
            .apply(std::span<char16_t>(dst, produced));
    return ConversionError::None;
}

} // namespace platform::nls::detail
