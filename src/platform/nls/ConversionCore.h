#pragma once
// Private to platform/nls: the two conversions every public form is built on. Both convert
// the whole input in one pass. ConversionError::None on success.

#include <cstddef>
#include <cstdint>
#include <string>

#include <unicode/ucnv_err.h>

#include "platform/nls/CodePageTable.h"

namespace platform::nls::detail {

// Both write into dst, at most dstCap units or bytes, and set produced to the number
// written; when the result does not fit they return InsufficientBuffer. With dst null they
// only count: produced is the size the result needs. No terminator is involved.

// flags: MB_ERR_INVALID_CHARS turns substitution into NoUnicodeTranslation.
// usedDefault, when given, tells whether a bad sequence was met.
ConversionError decodeBytes(const PageEntry& page, std::uint32_t flags, const char* src,
                            std::size_t len, char16_t* dst, std::size_t dstCap,
                            std::size_t& produced, bool* usedDefault = nullptr);

// flags: WC_NO_BEST_FIT_CHARS, WC_ERR_INVALID_CHARS. defaultChar null: the page's own.
// usedDefault, when given, tells whether a default character was written.
ConversionError encodeUnits(const PageEntry& page, std::uint32_t flags, const char16_t* src,
                            std::size_t len, const char* defaultChar, char* dst,
                            std::size_t dstCap, std::size_t& produced,
                            bool* usedDefault = nullptr);

// The reasons for which ICU asks a callback to substitute (the others announce resets and
// closes).
inline bool isErrorReason(UConverterCallbackReason reason)
{
    return reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR;
}

} // namespace platform::nls::detail
