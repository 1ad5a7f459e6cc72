// EUC-JP and ISO-2022-JP rewritten in place as Shift_JIS: every JIS X 0208 character
// against Python's codecs, the escape and shift handling, and input cut short or malformed.

#include "doc/JapaneseEncoding.h"

#include "ByteText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using codectest::hexBytes;
using codectest::readFixture;
using codectest::toHex;
using doc::JapaneseEncoding;

namespace {

std::string eucToShiftJis(std::string_view hex)
{
    std::string bytes = hexBytes(hex);
    doc::EucToShiftJis(bytes);
    return toHex(bytes);
}

std::string jisToShiftJis(std::string_view hex)
{
    std::string bytes = hexBytes(hex);
    doc::JisToShiftJis(bytes);
    return toHex(bytes);
}

} // namespace

TEST(JapaneseConvert, EveryJisX0208CharacterMatchesPythonCodecs)
{
    const std::string expected = readFixture("jisx0208.sjis");

    std::string euc = readFixture("jisx0208.euc");
    EXPECT_EQ(doc::ConvertJapaneseToShiftJis(euc), JapaneseEncoding::EucJp);
    EXPECT_TRUE(euc == expected) << "EUC-JP differs from Python's euc_jp -> cp932";

    std::string jis = readFixture("jisx0208.jis");
    EXPECT_EQ(doc::ConvertJapaneseToShiftJis(jis), JapaneseEncoding::Iso2022Jp);
    EXPECT_TRUE(jis == expected) << "ISO-2022-JP differs from Python's iso2022_jp -> cp932";
}

TEST(JapaneseConvert, EucSingleBytesAndHalfWidthKatakana)
{
    EXPECT_EQ(eucToShiftJis("41 A4 A2 0D 0A"), "41 82 A0 0D 0A");
    EXPECT_EQ(eucToShiftJis("8E B1 8E DF"), "B1 DF");
    // Seven-bit katakana after single shift 2 is raised; other bytes are kept as they are.
    EXPECT_EQ(eucToShiftJis("8E 31 8E 0A 8E E0"), "B1 0A E0");
    // 8F (single shift 3) has no three-byte handling: 8F A1 is a pair, then A1 is cut short.
    EXPECT_EQ(eucToShiftJis("8F A1 A1"), "78 40 A1");
    EXPECT_EQ(eucToShiftJis(""), "");
}

TEST(JapaneseConvert, EucCutShortOrEndedByZero)
{
    EXPECT_EQ(eucToShiftJis("41 A4"), "41 A4");
    EXPECT_EQ(eucToShiftJis("8E"), "8E");
    // The data ends at the first zero byte; what follows is dropped from the result.
    EXPECT_EQ(eucToShiftJis("A4 A2 00 A4 A2"), "82 A0");
    EXPECT_EQ(eucToShiftJis("A4 00 A2"), "A4");
}

TEST(JapaneseConvert, JisModes)
{
    EXPECT_EQ(jisToShiftJis("1B 24 42 24 22 1B 28 42"), "82 A0");
    EXPECT_EQ(jisToShiftJis("1B 24 40 24 22 1B 28 4A 41"), "82 A0 41");
    EXPECT_EQ(jisToShiftJis("0E 31 0F 31"), "B1 31");
    EXPECT_EQ(jisToShiftJis("1B 28 49 31 5F 1B 28 42 31"), "B1 DF 31");
    // Shifts and escapes switch from any mode.
    EXPECT_EQ(jisToShiftJis("1B 24 42 24 22 0E 31 1B 24 42 30 21 0F 41"), "82 A0 B1 88 9F 41");
}

TEST(JapaneseConvert, JisUnknownOrCutShortEscapesAreData)
{
    // In ASCII mode an unrecognised escape is copied byte for byte.
    EXPECT_EQ(jisToShiftJis("1B 28 44 41"), "1B 28 44 41");
    EXPECT_EQ(jisToShiftJis("41 1B 24"), "41 1B 24");
    EXPECT_EQ(jisToShiftJis("1B"), "1B");
    // ESC $ B cut short by a zero byte: no mode change, and nothing read past the zero.
    EXPECT_EQ(jisToShiftJis("1B 24 00 42 24 22"), "1B 24");
}

TEST(JapaneseConvert, JisKanjiPairsEverything)
{
    // CR LF in kanji mode is paired like any other two bytes.
    EXPECT_EQ(jisToShiftJis("1B 24 42 0D 0A"), "77 29");
    // A pair cut short keeps its first byte.
    EXPECT_EQ(jisToShiftJis("1B 24 42 24 22 24"), "82 A0 24");
    EXPECT_EQ(jisToShiftJis("1B 24 42 24 00 22"), "24");
}

TEST(JapaneseConvert, MalformedInputNeverProducesATerminator)
{
    // The arithmetic wraps to 0 for these; a zero would end the text and lose the rest.
    EXPECT_EQ(eucToShiftJis("A1 61 41 42"), "81 3F 41 42");
    EXPECT_EQ(eucToShiftJis("A2 02 41"), "81 3F 41");
    EXPECT_EQ(jisToShiftJis("0E 80 31"), "3F B1");
    EXPECT_EQ(jisToShiftJis("1B 24 42 22 82 1B 28 42 41"), "81 3F 41");
    EXPECT_EQ(jisToShiftJis("1B 24 42 9F 21 1B 28 42 41"), "3F 40 41");
}

TEST(JapaneseConvert, OnlyEucAndJisAreRewritten)
{
    // Shift_JIS and undecided bytes stay exactly as they are, even after a zero byte.
    for (const char* hex : {"82 A0 00 A4 A2", "41 42 00 1B 24 42", "E0 E0 E0"}) {
        std::string bytes = hexBytes(hex);
        const JapaneseEncoding found = doc::ConvertJapaneseToShiftJis(bytes);
        EXPECT_TRUE(found == JapaneseEncoding::ShiftJis || found == JapaneseEncoding::Undecided);
        EXPECT_EQ(toHex(bytes), hex);
    }
    std::string euc = hexBytes("41 A4 A2 8E B1");
    EXPECT_EQ(doc::ConvertJapaneseToShiftJis(euc), JapaneseEncoding::EucJp);
    EXPECT_EQ(toHex(euc), "41 82 A0 B1");
}

TEST(JapaneseConvert, EachConvertedByteKnowsWhereInTheFileItCameFrom)
{
    const struct {
        const char* input;
        std::vector<std::uint32_t> origins;
    } cases[] = {
        {"41 A4 A2 8E B1 42", {0, 1, 1, 3, 5}},                   // EUC: pairs, kana, ASCII
        {"41 A4", {0, 1}},                                        // a pair cut short
        {"1B 24 42 24 22 1B 28 42 0D 0A 0E 31 0F 41", {3, 3, 8, 9, 11, 13}}, // JIS
        {"1B 24 42 24", {3}},                                     // kanji cut short
        {"82 A0", {}},                                            // Shift_JIS: not converted
    };
    for (const auto& c : cases) {
        std::string bytes = hexBytes(c.input);
        std::vector<std::uint32_t> origins{99};
        doc::ConvertJapaneseToShiftJis(bytes, &origins);
        EXPECT_EQ(origins, c.origins) << c.input;
    }
}

TEST(JapaneseConvert, RandomBytesNeverGrowOrGainZeros)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string input(rng() % 40, '\0');
        for (char& c : input) // mostly high bytes, with escapes, shifts and some zeros
            c = static_cast<char>(rng() % 4 == 0 ? "\x1b$(BJI@\x0e\x0f\x00"[rng() % 10]
                                                 : static_cast<int>(rng() % 256));
        const std::size_t dataLength = std::string_view(input.c_str()).size();
        for (auto convert : {doc::EucToShiftJis, doc::JisToShiftJis}) {
            std::string bytes = input;
            std::vector<std::uint32_t> origins;
            convert(bytes, &origins);
            EXPECT_LE(bytes.size(), dataLength) << toHex(input);
            EXPECT_EQ(bytes.find('\0'), std::string::npos) << toHex(input);
            // Each output byte comes from an input byte at or before its own place, in
            // order, and the input before that byte converts to the output before it.
            ASSERT_EQ(origins.size(), bytes.size()) << toHex(input);
            for (std::size_t k = 0; k < origins.size(); ++k) {
                EXPECT_GE(origins[k], k ? origins[k - 1] : 0u) << toHex(input);
                EXPECT_LT(origins[k], dataLength) << toHex(input);
                std::string before = input.substr(0, origins[k]);
                convert(before, nullptr);
                EXPECT_LE(before.size(), k) << toHex(input);
                EXPECT_EQ(before, bytes.substr(0, before.size())) << toHex(input);
            }
        }
    }
}
