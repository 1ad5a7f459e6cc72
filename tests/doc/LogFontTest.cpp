// The 92-byte font record: field offsets and byte order, exact-length reading, the face
// field's limits, the default font's height arithmetic and the settings key.

#include "doc/LogFont.h"

#include "platform/profile/ValueForms.h"

#include <gtest/gtest.h>

#include <vector>

using doc::LogFont;

namespace {

// A record in which every field differs from its neighbours and from zero.
LogFont busyRecord()
{
    LogFont f;
    f.lfHeight = -24;
    f.lfWidth = 0x01020304;
    f.lfEscapement = 900;
    f.lfOrientation = -900;
    f.lfWeight = doc::FW_BOLD;
    f.lfItalic = 1;
    f.lfUnderline = 2;
    f.lfStrikeOut = 3;
    f.lfCharSet = 128;
    f.lfOutPrecision = 4;
    f.lfClipPrecision = 5;
    f.lfQuality = 6;
    f.lfPitchAndFamily = doc::FIXED_PITCH | doc::FF_MODERN;
    f.setFaceName(u"ＭＳ ゴシック");
    return f;
}

std::vector<std::uint8_t> bytesOf(const LogFont& f)
{
    const auto a = f.toBytes();
    return {a.begin(), a.end()};
}

} // namespace

TEST(LogFontBytes, FieldsSitAtTheirOffsetsLittleEndian)
{
    const std::vector<std::uint8_t> b = bytesOf(busyRecord());
    ASSERT_EQ(b.size(), 92u);
    // lfHeight -24 = 0xFFFFFFE8.
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin(), b.begin() + 4)),
              (std::vector<std::uint8_t>{0xE8, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 4, b.begin() + 8)),
              (std::vector<std::uint8_t>{0x04, 0x03, 0x02, 0x01}));
    // lfEscapement 900 = 0x384, lfOrientation -900 = 0xFFFFFC7C, lfWeight 700 = 0x2BC.
    EXPECT_EQ(b[8], 0x84);
    EXPECT_EQ(b[9], 0x03);
    EXPECT_EQ(b[12], 0x7C);
    EXPECT_EQ(b[15], 0xFF);
    EXPECT_EQ(b[16], 0xBC);
    EXPECT_EQ(b[17], 0x02);
    // The eight single bytes, in declaration order.
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 20, b.begin() + 28)),
              (std::vector<std::uint8_t>{1, 2, 3, 128, 4, 5, 6, 0x31}));
    // The face: U+FF2D FULLWIDTH LATIN CAPITAL LETTER M, low byte first, then U+FF33.
    EXPECT_EQ(b[28], 0x2D);
    EXPECT_EQ(b[29], 0xFF);
    EXPECT_EQ(b[30], 0x33);
    EXPECT_EQ(b[31], 0xFF);
    // Seven units of face, then zeros to the end of the field.
    for (std::size_t i = 28 + 2 * 7; i < 92; ++i)
        EXPECT_EQ(b[i], 0) << "byte " << i;
}

TEST(LogFontBytes, ReadsBackEveryField)
{
    const LogFont original = busyRecord();
    const auto bytes = original.toBytes();
    const auto read = LogFont::fromBytes(bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, original);
    EXPECT_EQ(read->faceName(), u"ＭＳ ゴシック");
}

TEST(LogFontBytes, OnlyExactlyNinetyTwoBytesAreARecord)
{
    const std::vector<std::uint8_t> full = bytesOf(busyRecord());
    for (std::size_t size : {0u, 1u, 44u, 91u, 93u, 184u}) {
        std::vector<std::uint8_t> bytes(full);
        bytes.resize(size, 0x41);
        EXPECT_FALSE(LogFont::fromBytes(bytes).has_value()) << size << " bytes";
    }
    EXPECT_TRUE(LogFont::fromBytes(full).has_value());
}

TEST(LogFontFace, CutToThirtyOneUnitsSoAZeroAlwaysEndsIt)
{
    LogFont f;
    const std::u16string forty(40, u'x');
    f.setFaceName(forty);
    EXPECT_EQ(f.faceName(), std::u16string(31, u'x'));
    EXPECT_EQ(f.lfFaceName[31], u'\0');

    // A shorter face after a longer one leaves no trace of the longer.
    f.setFaceName(u"Ab");
    EXPECT_EQ(f.faceName(), u"Ab");
    for (std::size_t i = 2; i < LogFont::kFaceUnits; ++i)
        EXPECT_EQ(f.lfFaceName[i], u'\0') << i;
}

TEST(LogFontFace, CutNeverSplitsASurrogatePair)
{
    // 30 letters, then U+20BB7 (a pair) that would straddle the 31-unit limit.
    std::u16string face(30, u'a');
    face += u"\U00020BB7";
    LogFont f;
    f.setFaceName(face);
    EXPECT_EQ(f.faceName(), std::u16string(30, u'a'));

    // A pair that fits whole stays.
    std::u16string fits(29, u'a');
    fits += u"\U00020BB7";
    f.setFaceName(fits);
    EXPECT_EQ(f.faceName(), fits);
}

TEST(LogFontFace, FieldWithoutTerminatorReadsAllThirtyTwoUnits)
{
    std::vector<std::uint8_t> bytes(92, 0);
    for (std::size_t i = 0; i < 32; ++i)
        bytes[28 + 2 * i] = 'A' + std::uint8_t(i % 26);
    const auto f = LogFont::fromBytes(bytes);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->faceName().size(), 32u);
    EXPECT_EQ(f->faceName().substr(0, 3), u"ABC");
}

TEST(LogFontDefault, FourteenPointFixedSysTruncatesTheHeight)
{
    // 96 * 140 / 720 = 18.67, 120 * 140 / 720 = 23.33, 144 * 140 / 720 = 28.
    EXPECT_EQ(doc::defaultLanguageFont(96).lfHeight, -18);
    EXPECT_EQ(doc::defaultLanguageFont(120).lfHeight, -23);
    EXPECT_EQ(doc::defaultLanguageFont(144).lfHeight, -28);
    EXPECT_EQ(doc::heightForTenthsOfPoint(140, 72), -14);
    // A resolution large enough to overflow a 32-bit product still gives the right height.
    EXPECT_EQ(doc::heightForTenthsOfPoint(140, 20'000'000), -3'888'888);
}

TEST(LogFontDefault, EveryOtherFieldIsZeroExceptTheCharacterSet)
{
    const LogFont f = doc::defaultLanguageFont(96);
    LogFont expected;
    expected.lfHeight = -18;
    expected.lfCharSet = doc::DEFAULT_CHARSET;
    expected.setFaceName(u"FixedSys");
    EXPECT_EQ(f, expected);
    EXPECT_EQ(f.lfWeight, 0);
    EXPECT_EQ(f.lfPitchAndFamily, 0);
}

TEST(LogFontDefault, StoresAsOneHundredEightyFourLetters)
{
    const auto bytes = doc::defaultLanguageFont(96).toBytes();
    const std::u16string letters = platform::profile::binaryToLetters(bytes);
    ASSERT_EQ(letters.size(), 184u);
    // -18 = EE FF FF FF: each byte low nibble first.
    EXPECT_EQ(letters.substr(0, 8), u"OOPPPPPP");
    // lfCharSet (byte 23) is 1: "BA".
    EXPECT_EQ(letters.substr(46, 2), u"BA");
    // 'F' = 0x46 then its zero high byte: "GE" "AA".
    EXPECT_EQ(letters.substr(56, 4), u"GEAA");
    for (char16_t c : letters)
        EXPECT_TRUE(c >= u'A' && c <= u'P');
    const auto back = platform::profile::lettersToBinary(letters);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(LogFont::fromBytes(*back), doc::defaultLanguageFont(96));
}

TEST(LogFontKey, CodePageInDecimal)
{
    EXPECT_EQ(doc::languageFontKey(932), u"Font932");
    EXPECT_EQ(doc::languageFontKey(65001), u"Font65001");
    EXPECT_EQ(doc::languageFontKey(0), u"Font0");
    EXPECT_EQ(doc::languageFontKey(4294967295u), u"Font4294967295");
}
