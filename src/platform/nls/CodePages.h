#pragma once
// Windows code pages on Linux: the code-page numbers the program stores and shows, each
// mapped to an ICU converter. A page is "installed" only when ICU can open its converter.
// Qt-free. decode and encode convert a whole input in one pass and report what did not
// convert exactly; multiByteToWideChar and wideCharToMultiByte keep the calling conventions
// of the system calls (measure first, convert second) over the same conversion.
//
// Units: byte counts are chars, text counts are UTF-16 code units (char16_t). Neither
// counts code points.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/nls/ConversionLoss.h"

namespace platform::nls {

using CodePage = std::uint32_t;

// Code-page numbers with a meaning of their own.
inline constexpr CodePage CP_ACP = 0;    // the system's ANSI page: 932 on our Japanese system
inline constexpr CodePage CP_OEMCP = 1;  // the system's OEM page: also 932
inline constexpr CodePage CP_UTF7 = 65000;
inline constexpr CodePage CP_UTF8 = 65001;

// Decoding flags.
inline constexpr std::uint32_t MB_PRECOMPOSED = 0x01;       // accepted; changes nothing here
inline constexpr std::uint32_t MB_ERR_INVALID_CHARS = 0x08; // fail instead of substituting

// Encoding flags.
inline constexpr std::uint32_t WC_ERR_INVALID_CHARS = 0x80;  // fail on a lone surrogate (UTF-8)
inline constexpr std::uint32_t WC_NO_BEST_FIT_CHARS = 0x400; // default char, never a best fit

// Why the last conversion call of this thread returned 0.
enum class ConversionError {
    None,
    UnknownCodePage,      // not installed (or never a byte code page, such as 1200)
    InvalidFlags,         // a flag this page refuses, or one we do not implement
    InvalidParameter,     // null source, zero or negative length, bad buffer arguments
    InsufficientBuffer,   // dstCap was too small for the whole result
    NoUnicodeTranslation, // MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS met bad input
};
ConversionError lastConversionError();

// What the system reports about a page (the extended code-page information).
struct CodePageInfo {
    CodePage codePage = 0;
    int maxCharSize = 1;            // longest byte sequence of one character
    std::string defaultChar;        // bytes written for a character the page cannot hold: "?"
    // Written for bytes that map to nothing: U+30FB (katakana middle dot, what Windows'
    // double-byte tables record) for 932, 936, 949, 950, 20932, 50220, 51932 and 51949;
    // U+FFFD for UTF-8, UTF-7, GB18030 (54936), ISO-2022-KR (50225) and HZ (52936); '?'
    // for the single-byte pages.
    char16_t unicodeDefaultChar = u'?';
    // Lead-byte ranges of double-byte pages as (first, last) pairs; empty otherwise.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> leadByteRanges;
    std::u16string name;            // e.g. u"932   (ANSI/OEM - 日本語 Shift-JIS)"
};

// Every installed page, ascending by number. Computed once.
const std::vector<CodePage>& installedCodePages();

// True when cp is an installed page. CP_ACP and CP_OEMCP are not pages of their own: false.
bool isValidCodePage(CodePage cp);

// The information of an installed page; nullopt for any other number.
std::optional<CodePageInfo> codePageInfo(CodePage cp);

// The page's display name as the system gives it on a Japanese system; the number is
// padded so that the parenthesis starts at column 7. Empty for a page not installed.
std::u16string codePageName(CodePage cp);

// Bytes to UTF-16, with the system call's conventions:
// - srcLen -1: src is zero terminated; conversion stops after the first zero byte and the
//   result counts the zero unit written for it. Otherwise exactly srcLen bytes (zeros are
//   ordinary characters).
// - dstCap 0: nothing is written; returns the number of units the conversion needs.
// - returns the number of units written, or 0 on failure (see lastConversionError): unknown
//   page, bad flags, srcLen 0 or below -1, null src, dst too small, or invalid input
//   under MB_ERR_INVALID_CHARS.
// Flags: MB_PRECOMPOSED and MB_ERR_INVALID_CHARS. UTF-8 and GB18030 take only
// MB_ERR_INVALID_CHARS; UTF-7, ISO-2022 and HZ take no flags at all. Other flags of the
// system call (composite, glyph characters) are refused with InvalidFlags, not ignored.
// Bytes with no mapping become the page's unicodeDefaultChar, one per bad sequence; a
// sequence cut short at the end of the input counts as bad, never as nothing.
int multiByteToWideChar(CodePage cp, std::uint32_t flags, const char* src, int srcLen,
                        char16_t* dst, int dstCap);

// UTF-16 to bytes, with the system call's conventions (-1 and measuring as above).
// Characters the page cannot hold take the page's best fit when it has one (unless
// WC_NO_BEST_FIT_CHARS), otherwise defaultChar (its first character; the page's own
// default when null). *usedDefault, when given, tells whether a default was written.
// A UTF-16 unit of a surrogate pair the page cannot hold gets its own default char.
// UTF-8 writes U+FFFD for a lone surrogate. UTF-7 and UTF-8 take no defaultChar or
// usedDefault (passing one fails); UTF-8 and GB18030 take only WC_ERR_INVALID_CHARS, UTF-7,
// ISO-2022 and HZ no flags; the other pages only WC_NO_BEST_FIT_CHARS.
int wideCharToMultiByte(CodePage cp, std::uint32_t flags, const char16_t* src, int srcLen,
                        char* dst, int dstCap, const char* defaultChar, bool* usedDefault);

// The forms the rest of the program uses: the whole input in one conversion pass, no
// terminator convention. nullopt only when the page is not installed; an empty input gives
// an empty result.

struct DecodedText {
    std::u16string text;
    // The bytes that became the page's unicodeDefaultChar: every bad sequence counts with
    // all its bytes, at its offset in the input.
    DecodingLoss undecodable;
};
std::optional<DecodedText> decode(CodePage cp, std::string_view bytes);

// Whether encode also finds the characters its bytes do not give back. That costs a decode
// of the bytes (and, when some are lost, a look at each distinct character), so only a
// caller that tells the user asks.
enum class LostCharacters : bool { Ignore, Find };

struct EncodedText {
    std::string bytes;
    // With LostCharacters::Find, the characters that decoding the bytes would not give back:
    // those written as a default character or a best fit, and lone surrogates. A character
    // counts when encoding and decoding it alone does not give it back. With Ignore: none.
    EncodingLoss lost;
};
std::optional<EncodedText> encode(CodePage cp, std::u16string_view text,
                                  LostCharacters lost = LostCharacters::Ignore);

// The text a character reads back as after a save with the page: its best fit, or the
// default character ("?"); the character itself when the page holds it. Empty when the
// page is not installed.
std::u16string savedFormOf(CodePage cp, std::u16string_view character);

} // namespace platform::nls
