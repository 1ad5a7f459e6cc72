// What replaces bytes that decode to nothing and characters a page cannot hold, best fit,
// the Unicode pages, and the places where ICU's tables had to be corrected to Windows'.

#include <gtest/gtest.h>

#include <string>

#include "platform/nls/CodePages.h"

using namespace platform::nls;

namespace {

std::u16string dec(CodePage cp, std::string_view bytes)
{
    const auto decoded = decode(cp, bytes);
    EXPECT_TRUE(decoded.has_value()) << cp;
    return decoded ? decoded->text : u"<failed>";
}

std::string enc(CodePage cp, std::u16string_view text)
{
    const auto encoded = encode(cp, text);
    EXPECT_TRUE(encoded.has_value()) << cp;
    return encoded ? encoded->bytes : "<failed>";
}

// Through the system call's form, which tells whether a default character was written.
std::string encCall(CodePage cp, std::uint32_t flags, std::u16string_view text,
                    bool* usedDefault)
{
    char out[64];
    const int n = wideCharToMultiByte(cp, flags, text.data(), static_cast<int>(text.size()),
                                      out, sizeof out, nullptr, usedDefault);
    return std::string(out, static_cast<std::size_t>(n));
}

std::string enc(CodePage cp, std::u16string_view text, bool* usedDefault)
{
    return encCall(cp, 0, text, usedDefault);
}

std::string encNoBestFit(CodePage cp, std::u16string_view text, bool* usedDefault = nullptr)
{
    return encCall(cp, WC_NO_BEST_FIT_CHARS, text, usedDefault);
}

} // namespace

TEST(UndecodableBytes, BecomeThePageDefaultAndNeverVanish)
{
    // Shift_JIS: an unassigned double-byte code, a lone lead byte at the end.
    EXPECT_EQ(dec(932, "a\x85\x40" "b"), u"a\u30FB" "b");
    EXPECT_EQ(dec(932, "a\x82"), u"a\u30FB");
    // A lead byte followed by a byte that cannot trail it: only the lead byte is lost, the
    // ASCII after it survives.
    EXPECT_EQ(dec(932, "\x82\x20x"), u"\u30FB x");
    EXPECT_EQ(dec(936, "\x81\x20"), u"\u30FB ");
    EXPECT_EQ(dec(949, "\xB0"), u"\u30FB");
    EXPECT_EQ(dec(950, "\xA4"), u"\u30FB");
    // UTF-8: one U+FFFD per maximal bad subsequence.
    EXPECT_EQ(dec(65001, "a\xE3\x81"), u"a\uFFFD");
    EXPECT_EQ(dec(65001, "\xC0\xAF"), u"\uFFFD\uFFFD");
    // Single-byte pages with holes: '?'.
    EXPECT_EQ(dec(28596, "\xA1"), u"?");
    EXPECT_EQ(dec(20127, "A\xC1"), u"A?");
}

TEST(UndecodableBytes, AreReportedWithTheText)
{
    struct Case {
        CodePage cp;
        std::string_view bytes;
        std::u16string_view text;
        bool replaced;
    };
    const Case cases[] = {
        {932, "ok\x85\x40", u"ok\u30FB", true},
        {932, "\x93\xFA\x80", u"日\u0080", false},
        {65001, "\xFF", u"\uFFFD", true},
        {65001, "", u"", false},
    };
    for (const Case& c : cases) {
        const auto decoded = decode(c.cp, c.bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->text, c.text);
        EXPECT_EQ(decoded->undecodable.any(), c.replaced) << c.cp;
    }
}

TEST(UndecodableBytes, EveryPageTurnsEveryByteIntoSomething)
{
    // No byte, alone or after any other, may disappear: every page gives at least one unit
    // for every non-empty input made of single bytes and pairs.
    for (CodePage cp : installedCodePages()) {
        if (cp == 65000 || cp == 50220 || cp == 50225 || cp == 52936)
            continue; // escape and shift bytes are meant to produce nothing
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            EXPECT_EQ(dec(cp, one).size(), 1u) << cp << " byte " << b;
            EXPECT_FALSE(dec(cp, one + "A").empty()) << cp << " byte " << b;
        }
    }
}

TEST(UnrepresentableCharacters, HangulIn1252IsAQuestionMark)
{
    bool used = false;
    EXPECT_EQ(enc(1252, u"a한국b", &used), "a??b");
    EXPECT_TRUE(used);
    EXPECT_EQ(enc(1252, u"abc", &used), "abc");
    EXPECT_FALSE(used);
}

TEST(UnrepresentableCharacters, EachUnitOfAPairGetsItsOwnDefault)
{
    // Windows' table conversions see a supplementary character as two units.
    EXPECT_EQ(enc(932, u"a😀b"), "a??b");
    EXPECT_EQ(enc(1252, u"😀"), "??");
    // Pages that hold supplementary characters convert them whole.
    EXPECT_EQ(enc(65001, u"😀"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(enc(54936, u"😀"), "\x94\x39\xFC\x36");
    EXPECT_EQ(dec(54936, "\x94\x39\xFC\x36"), u"😀");
}

TEST(UnrepresentableCharacters, NonEmptyInputNeverEncodesToNothing)
{
    const std::u16string samples[] = {u"한", u"😀", u"\u0378", u"\uE000", u"\uFFFF",
                                      std::u16string(1, 0xDC00), u"ｶ", u"ā"};
    for (CodePage cp : installedCodePages())
        for (const auto& s : samples)
            EXPECT_FALSE(enc(cp, s).empty()) << cp;
}

TEST(UnrepresentableCharacters, TheCallerCanChooseTheDefault)
{
    char out[16];
    bool used = false;
    int n = wideCharToMultiByte(1252, 0, u"a한", 2, out, 16, "*", &used);
    EXPECT_EQ(std::string(out, n), "a*");
    EXPECT_TRUE(used);
    // A double-byte default on a double-byte page: both bytes.
    n = wideCharToMultiByte(932, 0, u"a한", 2, out, 16, "\x81\x45", &used);
    EXPECT_EQ(std::string(out, n), "a\x81\x45");
    // Only the first character of a longer string counts.
    n = wideCharToMultiByte(1252, 0, u"한", 1, out, 16, "xyz", &used);
    EXPECT_EQ(std::string(out, n), "x");
}

TEST(BestFit, WritesTheNearestCharacterUnlessRefused)
{
    bool used = true;
    // Yen sign and overline into Shift_JIS: the bytes Japanese systems show as them.
    EXPECT_EQ(enc(932, u"¥‾", &used), "\x5C\x7E");
    EXPECT_FALSE(used);
    // The JIS forms of the wave dash, minus, cent, pound, not sign and double bar.
    EXPECT_EQ(enc(932, u"\u301C\u2212\u00A2\u00A3\u00AC\u2016"),
              "\x81\x60\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x61");
    // Full-width ASCII into 1252.
    EXPECT_EQ(enc(1252, u"ＡＢＣ"), "ABC");
    // Accents dropped for a page without them.
    EXPECT_EQ(enc(949, u"é"), "e");

    EXPECT_EQ(encNoBestFit(932, u"¥", &used), "?");
    EXPECT_TRUE(used);
    EXPECT_EQ(encNoBestFit(932, u"\u301C"), "?");
    EXPECT_EQ(encNoBestFit(1252, u"Ａ"), "?");
    // Real mappings are not best fits: they stay.
    EXPECT_EQ(encNoBestFit(932, u"\uFF5E"), "\x81\x60");
}

TEST(ShiftJis, DuplicateCodesEncodeTheWayWindowsDoes)
{
    // NEC-selected IBM extensions (ED40..EEFC) and IBM extensions (FA40..FC4B) decode to the
    // same characters; encoding picks the IBM code. NEC row 13 symbols shared with JIS
    // X 0208 pick the JIS code.
    EXPECT_EQ(dec(932, "\xED\x40"), dec(932, "\xFA\x5C"));
    EXPECT_EQ(enc(932, dec(932, "\xED\x40")), "\xFA\x5C");
    EXPECT_EQ(enc(932, u"ⅰ"), "\xFA\x40");
    EXPECT_EQ(dec(932, "\x87\x90"), u"≒");
    EXPECT_EQ(enc(932, u"≒"), "\x81\xE0");
    EXPECT_EQ(enc(932, u"№"), "\x87\x82");
}

TEST(ShiftJis, SingleBytesWithoutCharactersSurviveARoundTrip)
{
    EXPECT_EQ(dec(932, "\x80\xA0\xFD\xFE\xFF"), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_EQ(enc(932, u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
    // User-defined characters map to the private use area and back.
    EXPECT_EQ(dec(932, "\xF0\x40"), u"\uE000");
    EXPECT_EQ(enc(932, u"\uE000"), "\xF0\x40");
}

TEST(CodePageControls, StayInPlaceOnEveryPage)
{
    // ICU's IBM-derived tables rotate 1A, 1C and 7F; Windows does not, and neither do we.
    std::string controls;
    std::u16string units;
    for (int c = 0; c < 0x20; ++c) {
        controls += static_cast<char>(c);
        units += static_cast<char16_t>(c);
    }
    controls += '\x7F';
    units += u'\x7F';
    for (CodePage cp : installedCodePages()) {
        if (cp == 65000 || cp == 50220 || cp == 50225 || cp == 52936)
            continue; // escape-driven pages give ESC, SO, SI and '+' their own meaning
        EXPECT_EQ(dec(cp, controls), units) << cp;
        EXPECT_EQ(enc(cp, units), controls) << cp;
    }
    // In a long text too, wherever they fall: long texts are corrected block by block.
    std::string longBytes(300, 'a');
    std::u16string longUnits(300, u'a');
    const char rotated[] = {'\x1A', '\x1C', '\x7F'};
    std::size_t n = 0;
    for (std::size_t at : {0u, 63u, 64u, 130u, 255u, 299u}) {
        longBytes[at] = rotated[n++ % 3];
        longUnits[at] = static_cast<char16_t>(longBytes[at]);
    }
    for (CodePage cp : {437u, 850u, 932u}) {
        EXPECT_EQ(dec(cp, longBytes), longUnits) << cp;
        EXPECT_EQ(enc(cp, longUnits), longBytes) << cp;
    }
}

TEST(OemPages, AgreeWithWindowsWhereIcuDiffers)
{
    EXPECT_EQ(dec(437, "\xE6"), u"µ");
    EXPECT_EQ(enc(437, u"µ"), "\xE6");
    EXPECT_EQ(dec(852, "\xAA"), u"¬");
    EXPECT_EQ(enc(852, u"¬"), "\xAA");
    EXPECT_EQ(dec(869, "\x88\xEF"), u"·΄");
    EXPECT_EQ(enc(869, u"·΄"), "\x88\xEF");
    EXPECT_EQ(dec(720, "\x80\x90"), u"\u0080\u0090");
    EXPECT_EQ(enc(720, u"\u0080\u0090"), "\x80\x90");
}

TEST(EucJapanese, TheJisPageUsesTheStandardMappings)
{
    // 20932 follows JIS X 0208 (wave dash, minus), 51932 the Windows forms (full-width
    // tilde, full-width hyphen-minus), like Shift_JIS.
    EXPECT_EQ(dec(20932, "\xA1\xC1\xA1\xDD\xA1\xF1"), u"\u301C\u2212\u00A2");
    EXPECT_EQ(enc(20932, u"\u301C\u2212\u00A2"), "\xA1\xC1\xA1\xDD\xA1\xF1");
    EXPECT_EQ(dec(51932, "\xA1\xC1\xA1\xDD\xA1\xF1"), u"\uFF5E\uFF0D\uFFE0");
    EXPECT_EQ(dec(51932, "\xC6\xFC\x8E\xB1"), u"日ｱ");
    EXPECT_EQ(enc(51932, u"日ｱ"), "\xC6\xFC\x8E\xB1");
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters)
{
    const char16_t lead[] = {u'a', 0xD83D, u'b'};
    EXPECT_EQ(enc(65001, std::u16string_view(lead, 3)), "a\xEF\xBF\xBD" "b");
    const char16_t trail[] = {0xDE00};
    EXPECT_EQ(enc(65001, std::u16string_view(trail, 1)), "\xEF\xBF\xBD");
    // Through the two-pass form too, which refuses a used-default flag for UTF-8.
    char out[8];
    EXPECT_EQ(wideCharToMultiByte(65001, 0, lead, 3, out, 8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(out, 5), "a\xEF\xBF\xBD" "b");
}

TEST(Utf8, OutputLongerThanTwoBytesAUnitIsComplete)
{
    // Three bytes for every unit: more than the first guess of the plain form.
    const std::u16string text(1000, u'日');
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += "\xE6\x97\xA5";
    EXPECT_EQ(enc(65001, text), expected);
    EXPECT_EQ(dec(65001, expected), text);
}

TEST(Utf8, KeepsAByteOrderMarkAsACharacter)
{
    EXPECT_EQ(dec(65001, "\xEF\xBB\xBFok"), u"\uFEFFok");
    EXPECT_EQ(enc(65001, u"\uFEFFok"), "\xEF\xBB\xBFok");
}

TEST(Utf7, ConvertsBothWays)
{
    EXPECT_EQ(enc(65000, u"Hi 日本"), "Hi +ZeVnLA-");
    EXPECT_EQ(dec(65000, "Hi +ZeVnLA-"), u"Hi 日本");
    EXPECT_EQ(enc(65000, u"1+1"), "1+-1");
    EXPECT_EQ(dec(65000, "1+-1"), u"1+1");
    EXPECT_EQ(dec(65000, "+2D3eAA-"), u"😀");
    // Base64 running to the end of the input is closed properly.
    EXPECT_EQ(dec(65000, "+ZeVnLA"), u"日本");
}

TEST(Iso2022Japanese, WritesHalfWidthKatakanaAsFullWidth)
{
    // The page has no half-width katakana: they become their full-width forms.
    EXPECT_EQ(enc(50220, u"ｶﾅ"), "\x1B$B%+%J\x1B(B");
    EXPECT_EQ(dec(50220, "\x1B$B%+%J\x1B(B"), u"カナ");
    EXPECT_EQ(enc(50220, u"a日b"), "a\x1B$BF|\x1B(Bb");
}

TEST(Iso2022Japanese, AnUnrepresentableCharacterLeavesTheShiftState)
{
    // The '?' must be written in ASCII state, not as half of a double-byte code.
    const std::string bytes = enc(50220, u"日한本");
    EXPECT_EQ(dec(50220, bytes), u"日?本");
}
