// The conventions the load and save paths rely on: -1 for zero-terminated input, measuring
// with a zero capacity, 0 for every failure, and which flags each kind of page accepts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/nls/CodePages.h"

using namespace platform::nls;

namespace {

// Measures, allocates what was asked for, converts: the two-pass shape of the callers.
std::u16string decodeTwoPass(CodePage cp, std::uint32_t flags, const char* src, int len)
{
    const int n = multiByteToWideChar(cp, flags, src, len, nullptr, 0);
    if (n == 0)
        return u"<failed>";
    std::u16string out(static_cast<std::size_t>(n), u'#');
    const int written = multiByteToWideChar(cp, flags, src, len, out.data(), n);
    EXPECT_EQ(written, n);
    return out;
}

std::string encodeTwoPass(CodePage cp, const char16_t* src, int len)
{
    const int n = wideCharToMultiByte(cp, 0, src, len, nullptr, 0, nullptr, nullptr);
    if (n == 0)
        return "<failed>";
    std::string out(static_cast<std::size_t>(n), '#');
    const int written = wideCharToMultiByte(cp, 0, src, len, out.data(), n, nullptr, nullptr);
    EXPECT_EQ(written, n);
    return out;
}

} // namespace

TEST(ZeroTerminatedInput, StopsAtTheFirstZeroAndCountsIt)
{
    const char bytes[] = "ab\0cd"; // a zero inside, then the literal's own terminator
    EXPECT_EQ(multiByteToWideChar(932, MB_PRECOMPOSED, bytes, -1, nullptr, 0), 3);
    EXPECT_EQ(decodeTwoPass(932, MB_PRECOMPOSED, bytes, -1), std::u16string(u"ab\0", 3));

    const char16_t units[] = u"日本\0語";
    EXPECT_EQ(wideCharToMultiByte(932, 0, units, -1, nullptr, 0, nullptr, nullptr), 5);
    EXPECT_EQ(encodeTwoPass(932, units, -1), std::string("\x93\xFA\x96\x7B\0", 5));
}

TEST(ZeroTerminatedInput, AnEmptyStringIsJustItsTerminator)
{
    char16_t out[4] = {u'x', u'x'};
    EXPECT_EQ(multiByteToWideChar(65001, 0, "", -1, out, 4), 1);
    EXPECT_EQ(out[0], u'\0');
    char bytes[4] = {'x', 'x'};
    EXPECT_EQ(wideCharToMultiByte(932, 0, u"", -1, bytes, 4, nullptr, nullptr), 1);
    EXPECT_EQ(bytes[0], '\0');
}

TEST(ZeroTerminatedInput, ATruncatedLeadByteBeforeTheTerminatorStillEndsWithZero)
{
    // The lead byte 0x82 has no trail byte: it becomes the default character, and the
    // terminator is not swallowed as its trail.
    EXPECT_EQ(decodeTwoPass(932, MB_PRECOMPOSED, "A\x82", -1), std::u16string(u"A\u30FB\0", 3));
}

TEST(ExplicitLengthInput, ZeroBytesAreOrdinaryCharacters)
{
    const char bytes[] = {'a', '\0', 'b'};
    EXPECT_EQ(decodeTwoPass(1252, 0, bytes, 3), std::u16string(u"a\0b", 3));
    const char16_t units[] = {u'a', u'\0', u'b'};
    EXPECT_EQ(encodeTwoPass(1252, units, 3), std::string("a\0b", 3));
}

TEST(MeasureThenConvert, GivesWhatOnePassGives)
{
    const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA\r\nabc\xB1\xB2\x81\x60\x80\xA0\xFD";
    for (CodePage cp : {932u, 936u, 949u, 950u, 1252u, 65001u, 54936u}) {
        const auto once = decode(cp, sjis);
        ASSERT_TRUE(once.has_value()) << cp;
        const std::uint32_t flags = cp == 65001 || cp == 54936 ? 0 : MB_PRECOMPOSED;
        EXPECT_EQ(decodeTwoPass(cp, flags, sjis.data(), static_cast<int>(sjis.size())),
                  once->text)
            << cp;
    }
    // Input whose end is cut short in the middle of a shift: the exact buffer the
    // measuring pass asked for must be enough (found by fuzzing the open path).
    for (const auto& [cp, bytes] : {std::pair{65000u, std::string("\xF6}+")},
                                    {65000u, std::string("a+AG")}, {50225u, std::string("x\x0e")}}) {
        const auto once = decode(cp, bytes);
        ASSERT_TRUE(once.has_value()) << cp;
        EXPECT_EQ(decodeTwoPass(cp, 0, bytes.data(), static_cast<int>(bytes.size())), once->text)
            << cp << " " << bytes;
    }
    const std::u16string text = u"日本語 text, 한국어, Ελληνικά, 😀, ｶﾀｶﾅ\r\n";
    for (CodePage cp : {932u, 936u, 949u, 950u, 1252u, 65001u, 65000u, 50220u}) {
        const auto once = encode(cp, text);
        ASSERT_TRUE(once.has_value()) << cp;
        EXPECT_EQ(encodeTwoPass(cp, text.data(), static_cast<int>(text.size())), once->bytes)
            << cp;
    }
}

TEST(ConversionFailure, UnknownCodePageFailsBothWays)
{
    char16_t units[8];
    char bytes[8];
    for (CodePage cp : {2u, 42u, 1200u, 1201u, 99999u}) {
        EXPECT_EQ(multiByteToWideChar(cp, 0, "abc", 3, units, 8), 0) << cp;
        EXPECT_EQ(lastConversionError(), ConversionError::UnknownCodePage);
        EXPECT_EQ(multiByteToWideChar(cp, 0, "abc", -1, nullptr, 0), 0) << cp;
        EXPECT_EQ(wideCharToMultiByte(cp, 0, u"abc", 3, bytes, 8, nullptr, nullptr), 0) << cp;
        EXPECT_EQ(lastConversionError(), ConversionError::UnknownCodePage);
        EXPECT_EQ(wideCharToMultiByte(cp, 0, u"abc", -1, nullptr, 0, nullptr, nullptr), 0);
        EXPECT_FALSE(decode(cp, "abc").has_value()) << cp;
        EXPECT_FALSE(encode(cp, u"abc").has_value()) << cp;
        // Even empty input reports the unknown page rather than an empty success.
        EXPECT_FALSE(decode(cp, "").has_value()) << cp;
        EXPECT_FALSE(encode(cp, u"").has_value()) << cp;
    }
}

TEST(ConversionFailure, TooSmallABufferFailsAndSaysSo)
{
    char16_t units[2];
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", 3, units, 2), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InsufficientBuffer);
    // The terminator needs its room too.
    char16_t three[3];
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", -1, three, 3), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InsufficientBuffer);
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", 3, three, 3), 3);
    EXPECT_EQ(lastConversionError(), ConversionError::None);

    char bytes[3];
    EXPECT_EQ(wideCharToMultiByte(932, 0, u"日本", 2, bytes, 3, nullptr, nullptr), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InsufficientBuffer);
}

TEST(ConversionFailure, BadArgumentsFail)
{
    char16_t units[4];
    char bytes[4];
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", 0, units, 4), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidParameter);
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", -2, units, 4), 0);
    EXPECT_EQ(multiByteToWideChar(932, 0, nullptr, 3, units, 4), 0);
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", 3, nullptr, 4), 0);
    EXPECT_EQ(multiByteToWideChar(932, 0, "abc", 3, units, -1), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidParameter);
    EXPECT_EQ(wideCharToMultiByte(932, 0, u"abc", 0, bytes, 4, nullptr, nullptr), 0);
    EXPECT_EQ(wideCharToMultiByte(932, 0, nullptr, 3, bytes, 4, nullptr, nullptr), 0);
    EXPECT_EQ(wideCharToMultiByte(932, 0, u"abc", 3, nullptr, 4, nullptr, nullptr), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidParameter);
}

TEST(ConversionFlags, UnicodePagesRefuseThePrecomposedFlag)
{
    // The callers pass MB_PRECOMPOSED for every page but 65000 and 65001, because these
    // two refuse it.
    EXPECT_EQ(multiByteToWideChar(65001, MB_PRECOMPOSED, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidFlags);
    EXPECT_EQ(multiByteToWideChar(65000, MB_PRECOMPOSED, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidFlags);
    EXPECT_EQ(multiByteToWideChar(65001, 0, "a", 1, nullptr, 0), 1);
    EXPECT_EQ(multiByteToWideChar(65000, 0, "a", 1, nullptr, 0), 1);
    // UTF-8 and GB18030 accept the invalid-character flag; UTF-7 and ISO-2022 take none.
    EXPECT_EQ(multiByteToWideChar(65001, MB_ERR_INVALID_CHARS, "a", 1, nullptr, 0), 1);
    EXPECT_EQ(multiByteToWideChar(54936, MB_ERR_INVALID_CHARS, "a", 1, nullptr, 0), 1);
    EXPECT_EQ(multiByteToWideChar(65000, MB_ERR_INVALID_CHARS, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(multiByteToWideChar(50220, MB_PRECOMPOSED, "a", 1, nullptr, 0), 0);
    // Table pages take the precomposed flag and change nothing for it.
    for (CodePage cp : {932u, 936u, 949u, 950u, 1252u, 437u})
        EXPECT_EQ(decodeTwoPass(cp, MB_PRECOMPOSED, "abc", 3), u"abc") << cp;
    // Flags we do not implement are refused rather than ignored.
    EXPECT_EQ(multiByteToWideChar(932, 0x02 /* composite */, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidFlags);
}

TEST(ConversionFlags, UnicodePagesRefuseADefaultCharacter)
{
    bool used = false;
    EXPECT_EQ(wideCharToMultiByte(65001, 0, u"a", 1, nullptr, 0, "?", nullptr), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidParameter);
    EXPECT_EQ(wideCharToMultiByte(65001, 0, u"a", 1, nullptr, 0, nullptr, &used), 0);
    EXPECT_EQ(wideCharToMultiByte(65000, 0, u"a", 1, nullptr, 0, nullptr, &used), 0);
    EXPECT_EQ(wideCharToMultiByte(65001, WC_NO_BEST_FIT_CHARS, u"a", 1, nullptr, 0, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidFlags);
    // The invalid-character flag belongs to UTF-8 (and GB18030) only.
    EXPECT_EQ(wideCharToMultiByte(932, WC_ERR_INVALID_CHARS, u"a", 1, nullptr, 0, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(lastConversionError(), ConversionError::InvalidFlags);
}

TEST(ConversionFlags, InvalidCharacterFlagsTurnSubstitutionIntoFailure)
{
    EXPECT_EQ(multiByteToWideChar(65001, MB_ERR_INVALID_CHARS, "a\xC3(", 3, nullptr, 0), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::NoUnicodeTranslation);
    EXPECT_EQ(multiByteToWideChar(932, MB_ERR_INVALID_CHARS, "a\x82", 2, nullptr, 0), 0);
    EXPECT_EQ(lastConversionError(), ConversionError::NoUnicodeTranslation);
    EXPECT_EQ(multiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x82\xA0", 2, nullptr, 0), 1);

    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(wideCharToMultiByte(65001, WC_ERR_INVALID_CHARS, lone, 3, nullptr, 0, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(lastConversionError(), ConversionError::NoUnicodeTranslation);
    EXPECT_EQ(wideCharToMultiByte(65001, WC_ERR_INVALID_CHARS, u"ok", 2, nullptr, 0, nullptr,
                                  nullptr),
              2);
}

TEST(SystemCodePages, AnsiAndOemMeanShiftJis)
{
    const std::string sjis = "\x93\xFA\x96\x7B";
    char16_t units[4];
    EXPECT_EQ(multiByteToWideChar(CP_ACP, 0, sjis.data(), 4, units, 4), 2);
    EXPECT_EQ(std::u16string(units, 2), u"日本");
    EXPECT_EQ(multiByteToWideChar(CP_OEMCP, 0, sjis.data(), 4, units, 4), 2);
    EXPECT_EQ(std::u16string(units, 2), u"日本");
    EXPECT_EQ(encode(CP_ACP, u"日本").value().bytes, sjis);
}
