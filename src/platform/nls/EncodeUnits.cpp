// UTF-16 to bytes through an ICU converter, with Windows' rules for characters a page
// cannot hold: best fit (ICU's fallbacks plus the ones only Windows has) unless refused,
// otherwise the default character, one per UTF-16 unit on table pages.

#include <span>
#include <string>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include "platform/nls/ConversionCore.h"
#include "platform/nls/ConverterCache.h"
#include "platform/nls/UnitRemapper.h"

namespace platform::nls::detail {
namespace {

struct FromUnicodeState {
    bool failOnInvalid;
    bool defaultPerUnit; // a pair the page cannot hold gets two defaults, one per unit
    bool bestFit;
    const PageQuirks* quirks;
    bool sawInvalid = false;
    bool usedDefault = false;
};

// The bytes Windows writes for a character ICU's table lacks: a single byte that only
// Windows maps, or (when best fit is on) one of Windows' extra best fits. Empty otherwise.
std::string extraBytesFor(const FromUnicodeState& state, UChar32 codePoint)
{
    std::string bytes;
    if (!state.quirks)
        return bytes;
    for (const ExtraByte& extra : state.quirks->extraBytes)
        if (extra.unit == codePoint)
            return bytes.assign(1, static_cast<char>(extra.byte));
    if (!state.bestFit)
        return bytes;
    for (const ExtraBestFit& fit : state.quirks->bestFits) {
        if (fit.unit != codePoint)
            continue;
        if (fit.bytes > 0xFF)
            bytes += static_cast<char>(fit.bytes >> 8);
        bytes += static_cast<char>(fit.bytes & 0xFF);
        return bytes;
    }
    return bytes;
}

// ICU calls this for each character the page cannot hold (after best fit, when on) and for
// each lone surrogate. The default bytes are the converter's substitution characters, which
// stateful pages write after shifting back to their single-byte state.
void fromUnicodeCallback(const void* context, UConverterFromUnicodeArgs* args,
                         const UChar*, int32_t length, UChar32 codePoint,
                         UConverterCallbackReason reason, UErrorCode* err)
{
    if (!isErrorReason(reason))
        return;
    auto* state = static_cast<FromUnicodeState*>(const_cast<void*>(context));
    if (reason == UCNV_UNASSIGNED) {
        if (const std::string bytes = extraBytesFor(*state, codePoint); !bytes.empty()) {
            *err = U_ZERO_ERROR;
            ucnv_cbFromUWriteBytes(args, bytes.data(), static_cast<int32_t>(bytes.size()), 0,
                                   err);
            return;
        }
    }
    state->sawInvalid = true;
    if (state->failOnInvalid)
        return;
    *err = U_ZERO_ERROR;
    state->usedDefault = true;
    const int times = state->defaultPerUnit && length == 2 ? 2 : 1;
    for (int i = 0; i < times && U_SUCCESS(*err); ++i)
        ucnv_cbFromUWriteSub(args, 0, err);
}

// The bytes of the default character: the caller's first character, or the page's own.
std::string defaultBytes(const PageEntry& page, UConverter* converter, const char* defaultChar)
{
    if (page.kind == PageKind::Utf8)
        return "\xEF\xBF\xBD";
    if (!defaultChar || defaultChar[0] == '\0')
        return defaultChar ? std::string(1, '\0') : std::string("?");
    std::string bytes(1, defaultChar[0]);
    if (page.kind == PageKind::DoubleByte && defaultChar[1] != '\0') {
        UBool starters[256] = {};
        UErrorCode status = U_ZERO_ERROR;
        ucnv_getStarters(converter, starters, &status);
        if (U_SUCCESS(status) && starters[static_cast<unsigned char>(defaultChar[0])])
            bytes += defaultChar[1];
    }
    return bytes;
}

} // namespace

ConversionError encodeUnits(const PageEntry& page, std::uint32_t flags, const char16_t* src,
                            std::size_t len, const char* defaultChar, char* dst,
                            std::size_t dstCap, std::size_t& produced, bool* usedDefault)
{
    produced = 0;
    if (usedDefault)
        *usedDefault = false;
    if (len == 0)
        return ConversionError::None;
    UConverter* converter = converterFor(page);
    UErrorCode status = U_ZERO_ERROR;
    if (page.kind != PageKind::Utf7) {
        const std::string sub = defaultBytes(page, converter, defaultChar);
        ucnv_setSubstChars(converter, sub.data(), static_cast<int8_t>(sub.size()), &status);
        status = U_ZERO_ERROR;
    }
    const bool bestFit = (flags & WC_NO_BEST_FIT_CHARS) == 0;
    ucnv_setFallback(converter, bestFit);
    const bool tablePage = page.kind == PageKind::SingleByte ||
                           page.kind == PageKind::DoubleByte || page.kind == PageKind::Stateful;
    FromUnicodeState state{(flags & WC_ERR_INVALID_CHARS) != 0, tablePage, bestFit, page.quirks};
    ucnv_setFromUCallBack(converter, fromUnicodeCallback, &state, nullptr, nullptr, &status);

    // Feed ICU its own units for the characters whose tables disagree with Windows'.
    std::u16string remapped;
    if (page.quirks && !page.quirks->remaps.empty()) {
        const UnitRemapper toIcu(page.quirks->remaps, UnitRemapper::Direction::ToIcu);
        if (toIcu.affects(std::u16string_view(src, len))) {
            remapped.assign(src, len);
            toIcu.apply(remapped);
            src = remapped.data();
        }
    }

    const char16_t* source = src;
    const char16_t* const sourceEnd = src + len;
    status = runConversion<char, 8192>(
        [&](char*& target, char* limit, UErrorCode& stepStatus) {
            ucnv_fromUnicode(converter, &target, limit, &source, sourceEnd, nullptr, true,
                             &stepStatus);
        },
        dst, dstCap, produced);
    ucnv_setFallback(converter, true);
    if (usedDefault)
        *usedDefault = state.usedDefault;
    return conversionResult(status, state.sawInvalid && state.failOnInvalid);
}

} // namespace platform::nls::detail
