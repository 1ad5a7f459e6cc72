// The public conversions: the Windows-shaped calls (argument checks, which flags each kind
// of page accepts, -1 and measuring) and the one-pass forms, over DecodeBytes/EncodeUnits.

#include <climits>
#include <string>
#include <utility>

#include "platform/nls/CodePages.h"
#include "platform/nls/CodePageTable.h"
#include "platform/nls/ConversionCore.h"
#include "platform/nls/ConverterCache.h"

namespace platform::nls {

using detail::convertToString;
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
// Null, with the error set, when the page is not installed.
const PageEntry* resolvePage(CodePage cp)
{
    if (cp == CP_ACP || cp == CP_OEMCP)
        cp = 932;
    const PageEntry* page = detail::findPage(cp);
    if (!page || !detail::isInstalled(*page)) {
        t_lastError = ConversionError::UnknownCodePage;
        return nullptr;
    }
    return page;
}

// Which flags a kind of page takes: none for the escape-sequence pages and UTF-7, only the
// one for invalid input for UTF-8 and GB18030, the table flags for the table pages.
bool flagsAllowed(PageKind kind, std::uint32_t flags, std::uint32_t invalidInputFlag,
                  std::uint32_t tableFlags)
{
    switch (kind) {
    case PageKind::Utf7:
    case PageKind::Stateful:
        return flags == 0;
    case PageKind::Utf8:
    case PageKind::Gb18030:
        return (flags & ~invalidInputFlag) == 0;
    case PageKind::SingleByte:
    case PageKind::DoubleByte:
        break;
    }
    return (flags & ~tableFlags) == 0;
}

// The page of a Windows-shaped call once its arguments, its page and its flags (in that
// order, as the system checks them) pass; null, with the error set, when one does not.
template <typename Source, typename Target>
const PageEntry* checkCall(CodePage cp, std::uint32_t flags, std::uint32_t invalidInputFlag,
                           std::uint32_t tableFlags, const Source* src, int srcLen,
                           const Target* dst, int dstCap)
{
    if (!src || srcLen == 0 || srcLen < -1 || dstCap < 0 || (dstCap > 0 && !dst)) {
        t_lastError = ConversionError::InvalidParameter;
        return nullptr;
    }
    const PageEntry* page = resolvePage(cp);
    if (page && !flagsAllowed(page->kind, flags, invalidInputFlag, tableFlags)) {
        t_lastError = ConversionError::InvalidFlags;
        return nullptr;
    }
    return page;
}

// Runs a conversion with the system calls' conventions. srcLen -1: src is zero terminated
// and the terminator is converted too (decoding stops there and the zero it gives is
// counted, so a caller can allocate exactly what it was told). dstCap 0: it only measures;
// otherwise it writes into dst, keeping room for that zero.
// convert(src, len, target or null, capacity, produced) does the work.
template <typename Source, typename Target, typename Convert>
int convertWindowsStyle(Convert convert, const Source* src, int srcLen, Target* dst, int dstCap)
{
    const bool terminated = srcLen == -1;
    const std::size_t len = terminated ? std::char_traits<Source>::length(src)
                                       : static_cast<std::size_t>(srcLen);
    const bool measuring = dstCap == 0;
    const std::size_t terminator = terminated ? 1 : 0;
    const std::size_t room = measuring ? 0 : static_cast<std::size_t>(dstCap) - terminator;
    std::size_t produced = 0;
    if (const ConversionError error = convert(src, len, measuring ? nullptr : dst, room, produced);
        error != ConversionError::None)
        return fail(error);
    if (produced + terminator > static_cast<std::size_t>(INT_MAX))
        return fail(ConversionError::InvalidParameter);
    if (!measuring && terminated)
        dst[produced] = Target(0);
    t_lastError = ConversionError::None;
    return static_cast<int>(produced + terminator);
}

} // namespace

ConversionError lastConversionError()
{
    return t_lastError;
}

int multiByteToWideChar(CodePage cp, std::uint32_t flags, const char* src, int srcLen,
                        char16_t* dst, int dstCap)
{
    const PageEntry* page = checkCall(cp, flags, MB_ERR_INVALID_CHARS,
                                      MB_PRECOMPOSED | MB_ERR_INVALID_CHARS, src, srcLen, dst,
                                      dstCap);
    if (!page)
        return 0;
    return convertWindowsStyle(
        [&](const char* from, std::size_t len, char16_t* target, std::size_t capacity,
            std::size_t& produced) {
            return decodeBytes(*page, flags, from, len, target, capacity, produced);
        },
        src, srcLen, dst, dstCap);
}

int wideCharToMultiByte(CodePage cp, std::uint32_t flags, const char16_t* src, int srcLen,
                        char* dst, int dstCap, const char* defaultChar, bool* usedDefault)
{
    const PageEntry* page = checkCall(cp, flags, WC_ERR_INVALID_CHARS, WC_NO_BEST_FIT_CHARS,
                                      src, srcLen, dst, dstCap);
    if (!page)
        return 0;
    if ((page->kind == PageKind::Utf7 || page->kind == PageKind::Utf8) &&
        (defaultChar || usedDefault))
        return fail(ConversionError::InvalidParameter);
    return convertWindowsStyle(
        [&](const char16_t* from, std::size_t len, char* target, std::size_t capacity,
            std::size_t& produced) {
            return encodeUnits(*page, flags, from, len, defaultChar, target, capacity,
                               produced, usedDefault);
        },
        src, srcLen, dst, dstCap);
}

std::optional<DecodedText> decode(CodePage cp, std::string_view bytes)
{
    const PageEntry* page = resolvePage(cp);
    if (!page)
        return std::nullopt;
    // Every page here decodes a byte to at most one unit, except where a replacement
    // character stands for it; the first guess nearly always fits.
    DecodedText decoded;
    const auto convert = [&](char16_t* target, std::size_t capacity, std::size_t& produced) {
        return decodeBytes(*page, 0, bytes.data(), bytes.size(), target, capacity, produced,
                           &decoded.undecodable);
    };
    if (convertToString(convert, bytes.size() + 8, decoded.text) != ConversionError::None) {
        t_lastError = ConversionError::InvalidParameter;
        return std::nullopt;
    }
    t_lastError = ConversionError::None;
    return decoded;
}

std::optional<EncodedText> encode(CodePage cp, std::u16string_view text, LostCharacters lost)
{
    const PageEntry* page = resolvePage(cp);
    if (!page)
        return std::nullopt;
    // Two bytes a unit is enough for the double-byte pages; UTF-8 may need a second pass.
    EncodedText encoded;
    bool usedDefault = false;
    const auto convert = [&](char* target, std::size_t capacity, std::size_t& produced) {
        return encodeUnits(*page, 0, text.data(), text.size(), nullptr, target, capacity,
                           produced, &usedDefault);
    };
    if (convertToString(convert, text.size() * 2 + 16, encoded.bytes) !=
        ConversionError::None) {
        t_lastError = ConversionError::InvalidParameter;
        return std::nullopt;
    }
    if (lost == LostCharacters::Find)
        encoded.lost = detail::findLostCharacters(*page, text, encoded.bytes, usedDefault);
    t_lastError = ConversionError::None;
    return encoded;
}

std::u16string savedFormOf(CodePage cp, std::u16string_view character)
{
    const std::optional<EncodedText> encoded = encode(cp, character);
    if (!encoded)
        return std::u16string();
    std::optional<DecodedText> back = decode(cp, encoded->bytes);
    return back ? std::move(back->text) : std::u16string();
}

} // namespace platform::nls
