// The public conversions: the Windows-shaped calls (argument checks, which flags each kind
// of page accepts, -1 and measuring) and the plain forms, over DecodeBytes/EncodeUnits.

#include <climits>
#include <cstring>
#include <string>

#include "platform/nls/CodePages.h"
#include "platform/nls/CodePageTable.h"
#include "platform/nls/ConversionCore.h"
#include "platform/nls/ConverterCache.h"

namespace platform::nls {

using detail::decodeBytes;
using detail::encodeUnits;
using detail::PageEntry;
using detail::PageKind;

namespace {

thread_local ConversionError t_lastError = ConversionError::None;

int fail(ConversionError error)
{
    t_lastError = error;
    return 0;
}

// CP_ACP and CP_OEMCP stand for the system's pages; on the Japanese system both are 932.
const PageEntry* resolvePage(CodePage cp)
{
    if (cp == CP_ACP || cp == CP_OEMCP)
        cp = 932;
    const PageEntry* page = detail::findPage(cp);
    return page && detail::isInstalled(*page) ? page : nullptr;
}

bool decodeFlagsAllowed(PageKind kind, std::uint32_t flags)
{
    switch (kind) {
    case PageKind::Utf7:
    case PageKind::Stateful:
        return flags == 0;
    case PageKind::Utf8:
    case PageKind::Gb18030:
        return (flags & ~MB_ERR_INVALID_CHARS) == 0;
    case PageKind::SingleByte:
    case PageKind::DoubleByte:
        break;
    }
    return (flags & ~(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) == 0;
}

bool encodeFlagsAllowed(PageKind kind, std::uint32_t flags)
{
    switch (kind) {
    case PageKind::Utf7:
    case PageKind::Stateful:
        return flags == 0;
    case PageKind::Utf8:
    case PageKind::Gb18030:
        return (flags & ~WC_ERR_INVALID_CHARS) == 0;
    case PageKind::SingleByte:
    case PageKind::DoubleByte:
        break;
    }
    return (flags & ~WC_NO_BEST_FIT_CHARS) == 0;
}

// Runs a conversion with the system calls' conventions: with dstCap 0 it only measures;
// otherwise it writes into dst, keeping room for the zero the -1 form adds after the text.
// convert(target or null, capacity, produced) does the work.
template <typename Unit, typename Convert>
int convertWindowsStyle(Convert convert, bool terminated, Unit* dst, int dstCap)
{
    const bool measuring = dstCap == 0;
    const std::size_t terminator = terminated ? 1 : 0;
    const std::size_t room = measuring ? 0 : static_cast<std::size_t>(dstCap) - terminator;
    std::size_t produced = 0;
    if (const ConversionError error = convert(measuring ? nullptr : dst, room, produced);
        error != ConversionError::None)
        return fail(error);
    if (produced + terminator > static_cast<std::size_t>(INT_MAX))
        return fail(ConversionError::InvalidParameter);
    if (!measuring && terminated)
        dst[produced] = Unit(0);
    t_lastError = ConversionError::None;
    return static_cast<int>(produced + terminator);
}

// Converts into a string sized by a first guess; only when the guess is too small does it
// measure and convert again.
template <typename Result, typename Convert>
ConversionError convertToString(Convert convert, std::size_t guess, Result& result)
{
    result.assign(guess, typename Result::value_type(0));
    std::size_t produced = 0;
    ConversionError error = convert(result.data(), result.size(), produced);
    if (error == ConversionError::InsufficientBuffer) {
        error = convert(nullptr, 0, produced);
        if (error != ConversionError::None)
            return error;
        result.assign(produced, typename Result::value_type(0));
        error = convert(result.data(), result.size(), produced);
    }
    result.resize(error == ConversionError::None ? produced : 0);
    return error;
}

} // namespace

ConversionError lastConversionError()
{
    return t_lastError;
}

int multiByteToWideChar(CodePage cp, std::uint32_t flags, const char* src, int srcLen,
                        char16_t* dst, int dstCap)
{
    if (!src || srcLen == 0 || srcLen < -1 || dstCap < 0 || (dstCap > 0 && !dst))
        return fail(ConversionError::InvalidParameter);
    const PageEntry* page = resolvePage(cp);
    if (!page)
        return fail(ConversionError::UnknownCodePage);
    if (!decodeFlagsAllowed(page->kind, flags))
        return fail(ConversionError::InvalidFlags);

    // With -1 the terminator is part of the input; decoding stops there and the zero it
    // decodes to is counted, so a caller can allocate exactly what it was told.
    const bool terminated = srcLen == -1;
    const std::size_t len = terminated ? std::strlen(src) : static_cast<std::size_t>(srcLen);
    return convertWindowsStyle(
        [&](char16_t* target, std::size_t capacity, std::size_t& produced) {
            return decodeBytes(*page, flags, src, len, target, capacity, produced);
        },
        terminated, dst, dstCap);
}

int wideCharToMultiByte(CodePage cp, std::uint32_t flags, const char16_t* src, int srcLen,
                        char* dst, int dstCap, const char* defaultChar, bool* usedDefault)
{
    if (!src || srcLen == 0 || srcLen < -1 || dstCap < 0 || (dstCap > 0 && !dst))
        return fail(ConversionError::InvalidParameter);
    const PageEntry* page = resolvePage(cp);
    if (!page)
        return fail(ConversionError::UnknownCodePage);
    if (!encodeFlagsAllowed(page->kind, flags))
        return fail(ConversionError::InvalidFlags);
    if ((page->kind == PageKind::Utf7 || page->kind == PageKind::Utf8) &&
        (defaultChar || usedDefault))
        return fail(ConversionError::InvalidParameter);

    const bool terminated = srcLen == -1;
    const std::size_t len =
        terminated ? std::char_traits<char16_t>::length(src) : static_cast<std::size_t>(srcLen);
    return convertWindowsStyle(
        [&](char* target, std::size_t capacity, std::size_t& produced) {
            return encodeUnits(*page, flags, src, len, defaultChar, target, capacity, produced,
                               usedDefault);
        },
        terminated, dst, dstCap);
}

std::optional<std::u16string> decode(CodePage cp, std::string_view bytes, bool* usedDefault)
{
    const PageEntry* page = resolvePage(cp);
    if (!page) {
        t_lastError = ConversionError::UnknownCodePage;
        return std::nullopt;
    }
    // Every page here decodes a byte to at most one unit, except where a replacement
    // character stands for it; the first guess nearly always fits.
    std::u16string text;
    const auto convert = [&](char16_t* target, std::size_t capacity, std::size_t& produced) {
        return decodeBytes(*page, 0, bytes.data(), bytes.size(), target, capacity, produced,
                           usedDefault);
    };
    if (convertToString(convert, bytes.size() + 8, text) != ConversionError::None) {
        t_lastError = ConversionError::InvalidParameter;
        return std::nullopt;
    }
    t_lastError = ConversionError::None;
    return text;
}

std::optional<std::string> encode(CodePage cp, std::u16string_view text, bool* usedDefault)
{
    const PageEntry* page = resolvePage(cp);
    if (!page) {
        t_lastError = ConversionError::UnknownCodePage;
        return std::nullopt;
    }
    // Two bytes a unit is enough for the double-byte pages; UTF-8 may need a second pass.
    std::string bytes;
    const auto convert = [&](char* target, std::size_t capacity, std::size_t& produced) {
        return encodeUnits(*page, 0, text.data(), text.size(), nullptr, target, capacity,
                           produced, usedDefault);
    };
    if (convertToString(convert, text.size() * 2 + 16, bytes) != ConversionError::None) {
        t_lastError = ConversionError::InvalidParameter;
        return std::nullopt;
    }
    t_lastError = ConversionError::None;
    return bytes;
}

} // namespace platform::nls
