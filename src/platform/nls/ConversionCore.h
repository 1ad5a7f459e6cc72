#pragma once
// Private to platform/nls: the two conversions every public form is built on, and the
// finding of lost characters over them. Both conversions take the whole input in one pass.
// ConversionError::None on success.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <unicode/ucnv_err.h>

#include "platform/nls/CodePageTable.h"

namespace platform::nls::detail {

// Both write into dst, at most dstCap units or bytes, and set produced to the number
// written; when the result does not fit they return InsufficientBuffer. With dst null they
// only count: produced is the size the result needs. No terminator is involved.

// flags: MB_ERR_INVALID_CHARS turns substitution into NoUnicodeTranslation.
// undecodable, when given, receives the bytes replaced (or, with MB_ERR_INVALID_CHARS, the
// first bad sequence), offsets counted from src.
ConversionError decodeBytes(const PageEntry& page, std::uint32_t flags, const char* src,
                            std::size_t len, char16_t* dst, std::size_t dstCap,
                            std::size_t& produced, DecodingLoss* undecodable = nullptr);

// flags: WC_NO_BEST_FIT_CHARS, WC_ERR_INVALID_CHARS. defaultChar null: the page's own.
// usedDefault, when given, tells whether a default character was written.
ConversionError encodeUnits(const PageEntry& page, std::uint32_t flags, const char16_t* src,
                            std::size_t len, const char* defaultChar, char* dst,
                            std::size_t dstCap, std::size_t& produced,
                            bool* usedDefault = nullptr);

// Runs an ICU conversion as the two above do: step(target, targetLimit, status) goes on
// with it. With dst, one step writes into dst; without, the steps write into a buffer of
// kChunk units that stays in the cache, again until the input is used up, and only count.
// Sets produced; returns the last status.
template <typename Unit, std::size_t kChunk, typename Step>
UErrorCode runConversion(Step step, Unit* dst, std::size_t dstCap, std::size_t& produced)
{
    UErrorCode status = U_ZERO_ERROR;
    if (dst) {
        Unit* target = dst;
        step(target, dst + dstCap, status);
        produced = static_cast<std::size_t>(target - dst);
        return status;
    }
    Unit chunk[kChunk];
    produced = 0;
    do {
        Unit* target = chunk;
        status = U_ZERO_ERROR;
        step(target, chunk + kChunk, status);
        produced += static_cast<std::size_t>(target - chunk);
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    return status;
}

// Runs convert(target, capacity, produced), one of the two above, into result sized by a
// first guess; only when the guess is too small does it measure and convert again. On
// failure result is empty.
template <typename Result, typename Convert>
ConversionError convertToString(Convert convert, std::size_t guess, Result& result)
{
    result.assign(guess, typename Result::value_type(0));
    std::size_t produced = 0;
    ConversionError error = convert(result.data(), result.size(), produced);
    if (error == ConversionError::InsufficientBuffer) {
        error = convert(nullptr, 0, produced);
        if (error != ConversionError::None) {
            result.clear();
            return error;
        }
        result.assign(produced, typename Result::value_type(0));
        error = convert(result.data(), result.size(), produced);
    }
    result.resize(error == ConversionError::None ? produced : 0);
    return error;
}

// The characters of text that bytes, its encoding by the page with flags 0 and the page's
// default character, do not give back (see EncodedText::lost). usedDefault: what that
// encoding reported. Decodes bytes once; looks at single characters only when they differ.
EncodingLoss findLostCharacters(const PageEntry& page, std::u16string_view text,
                                std::string_view bytes, bool usedDefault);

// The reasons for which ICU asks a callback to substitute (the others announce resets and
// closes).
inline bool isErrorReason(UConverterCallbackReason reason)
{
    return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

// How a conversion ended: failedOnInvalid when the caller asked to fail on bad input and
// the callback met some.
inline ConversionError conversionResult(UErrorCode status, bool failedOnInvalid)
{
    if (failedOnInvalid)
        return ConversionError::NoUnicodeTranslation;
    if (status == U_BUFFER_OVERFLOW_ERROR)
        return ConversionError::InsufficientBuffer;
    if (U_FAILURE(status))
        return ConversionError::InvalidParameter;
    return ConversionError::None;
}

} // namespace platform::nls::detail
