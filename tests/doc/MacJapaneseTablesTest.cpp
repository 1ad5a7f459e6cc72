// The generated Macintosh Japanese tables: shape, order, the rows named by hand, and the
// JIS X 0208 part checked against code page 932 as ICU decodes it (the generator used
// Python's cp932, so the two must agree).

#include "doc/MacJapanese.h"

#include "platform/nls/CodePages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using doc::MacJapaneseByCode;
using doc::MacJapaneseByUnicode;
using doc::MacJapaneseRow;

namespace {

bool samePair(const MacJapaneseRow& a, const MacJapaneseRow& b)
{
    return a.unicode == b.unicode && a.code == b.code;
}

bool inJisX0208Area(std::uint16_t code)
{
    const unsigned lead = code >> 8;
    const bool jisLead = (lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) ||
                         (lead >= 0xE0 && lead <= 0xEA);
    // 8840-889E is an empty row of JIS X 0208; the Macintosh puts extensions there.
    return jisLead && !(code >= 0x8840 && code <= 0x889E);
}

} // namespace

TEST(MacJapaneseTables, OrderedOneToOneAndHoldingTheSamePairs)
{
    ASSERT_EQ(MacJapaneseByUnicode.size(), 7279u);
    for (std::size_t i = 1; i < MacJapaneseByUnicode.size(); ++i) {
        ASSERT_LT(MacJapaneseByUnicode[i - 1].unicode, MacJapaneseByUnicode[i].unicode) << i;
        ASSERT_LT(MacJapaneseByCode[i - 1].code, MacJapaneseByCode[i].code) << i;
    }
    std::vector<MacJapaneseRow> resorted(MacJapaneseByCode.begin(), MacJapaneseByCode.end());
    auto byUnicode = [](const MacJapaneseRow& a, const MacJapaneseRow& b) {
        return a.unicode < b.unicode;
    };
    std::sort(resorted.begin(), resorted.end(), byUnicode);
    EXPECT_TRUE(
        std::equal(resorted.begin(), resorted.end(), MacJapaneseByUnicode.begin(), samePair));

    EXPECT_TRUE(samePair(MacJapaneseByUnicode.front(), {0x0020, 0x0020}));
    EXPECT_TRUE(samePair(MacJapaneseByCode.front(), {0x0020, 0x0020}));
    EXPECT_TRUE(samePair(MacJapaneseByUnicode.back(), {0xFFE5, 0x818F}));
    EXPECT_TRUE(samePair(MacJapaneseByCode.back(), {0x7199, 0xEAA4}));
}

TEST(MacJapaneseTables, LookupsFindExactlyTheRows)
{
    // Every 16-bit value both ways, against std::lower_bound over the whole table.
    for (unsigned key = 0; key <= 0xFFFF; ++key) {
        const auto u = std::lower_bound(
            MacJapaneseByUnicode.begin(), MacJapaneseByUnicode.end(), key,
            [](const MacJapaneseRow& row, unsigned k) { return row.unicode < k; });
        const bool hasUnicode = u != MacJapaneseByUnicode.end() && u->unicode == key;
        ASSERT_EQ(doc::macJapaneseCodeOf(static_cast<char16_t>(key)), hasUnicode ? u->code : 0x3F)
            << std::hex << key;

        const auto c = std::lower_bound(
            MacJapaneseByCode.begin(), MacJapaneseByCode.end(), key,
            [](const MacJapaneseRow& row, unsigned k) { return row.code < k; });
        const bool hasCode = c != MacJapaneseByCode.end() && c->code == key;
        ASSERT_EQ(doc::unicodeOfMacJapaneseCode(static_cast<std::uint16_t>(key)),
                  hasCode ? c->unicode : 0x30FB)
            << std::hex << key;
    }
}

TEST(MacJapaneseTables, HandListedRows)
{
    struct Pair {
        std::uint16_t code;
        char16_t unicode;
    };
    const Pair listed[] = {
        {0x5C, u'\\'}, {0x7E, u'~'}, {0xA1, u'\uFF61'}, {0xDF, u'\uFF9F'},
        {0xA0, u'\u00A0'}, {0xFD, u'\u00A9'}, {0xFE, u'\u2122'},
        {0x8540, u'\u2460'}, {0x8553, u'\u2473'}, {0x855E, u'\u2474'}, {0x8571, u'\u2487'},
        {0x857E, u'\u2778'}, {0x8580, u'\u2779'}, {0x85AA, u'\u216B'}, {0x85F4, u'\u24B5'},
        {0x8644, u'\u33A4'}, {0x865C, u'\u3387'}, {0x869B, u'\u2116'}, {0x86D2, u'\u21E9'},
        {0x8740, u'\u3230'}, {0x8746, u'\u322F'}, {0x8798, u'\u32A9'}, {0x87FA, u'\u337F'},
        {0x8842, u'\u22BF'}, {0x8868, u'\u3094'}, {0x886D, u'\u30FA'},
        {0x815F, u'\uFF3C'}, {0x8160, u'\uFF5E'}, {0x8161, u'\u2225'}, {0x817C, u'\uFF0D'},
        {0x8191, u'\uFFE0'}, {0x8192, u'\uFFE1'}, {0x81CA, u'\uFFE2'}, {0x889F, u'\u4E9C'},
    };
    for (const Pair& p : listed) {
        EXPECT_EQ(doc::unicodeOfMacJapaneseCode(p.code), p.unicode) << std::hex << p.code;
        EXPECT_EQ(doc::macJapaneseCodeOf(p.unicode), p.code) << std::hex << p.code;
    }
    // Gaps between the extension runs, code page 932's own extensions, and the characters
    // the Macintosh does not have.
    for (std::uint16_t code : {0x7F, 0x80, 0x1F, 0x8554, 0x8645, 0x864B, 0x879D, 0x8790,
                               0x8843, 0x8869, 0xEAA5, 0xED40, 0xEEFC, 0xFA40, 0xFC4B})
        EXPECT_EQ(doc::unicodeOfMacJapaneseCode(code), u'\u30FB') << std::hex << code;
    for (char16_t unit : {u'\u0000', u'\u001F', u'\u007F', u'\u00A5', u'\u216F', u'\uFFFF'})
        EXPECT_EQ(doc::macJapaneseCodeOf(unit), 0x3F) << std::hex << int(unit);
    // A character code page 932 has twice takes its JIS X 0208 code, not the NEC one.
    EXPECT_EQ(doc::macJapaneseCodeOf(u'\u2252'), 0x81E0);
}

TEST(MacJapaneseTables, JisX0208PartEqualsCodePage932)
{
    ASSERT_TRUE(platform::nls::isValidCodePage(932));
    std::size_t count = 0;
    for (const MacJapaneseRow& row : MacJapaneseByCode) {
        if (!inJisX0208Area(row.code))
            continue;
        ++count;
        const char bytes[2] = {static_cast<char>(row.code >> 8), static_cast<char>(row.code)};
        const auto decoded = platform::nls::decode(932, std::string_view(bytes, 2));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->text, std::u16string(1, static_cast<char16_t>(row.unicode)))
            << std::hex << row.code;
    }
    EXPECT_EQ(count, 6879u);
}
