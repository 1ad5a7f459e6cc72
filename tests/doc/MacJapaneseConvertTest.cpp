// Text to Macintosh Japanese bytes and back: byte-exact cases named by code point, the
// pass-through of control characters, invalid and cut-short input, and measure == fill.

#include "doc/MacJapanese.h"

#include "ByteText.h"

#include <gtest/gtest.h>

using codectest::hexBytes;
using codectest::toHex;

namespace {

std::string exportHex(std::u16string_view text)
{
    return toHex(doc::encodeMacJapanese(text));
}

std::u16string import(std::string_view hex)
{
    return doc::decodeMacJapanese(hexBytes(hex));
}

} // namespace

TEST(MacJapaneseConvert, ExtensionAndSingleByteCharacters)
{
    EXPECT_EQ(exportHex(u"\u2460"), "85 40"); // circled digit one: not code page 932's 87 40
    EXPECT_EQ(import("87 40"), u"\u3230");
    EXPECT_EQ(exportHex(u"\u00A9\u2122\u00A0"), "FD FE A0");
    EXPECT_EQ(exportHex(u"\uFF71\u3042\\~"), "B1 82 A0 5C 7E");
    EXPECT_EQ(import("B1 82 A0 5C 7E"), u"\uFF71\u3042\\~");
}

TEST(MacJapaneseConvert, CharactersWithoutRows)
{
    // Yen sign, DEL, each half of a surrogate pair: a question mark each.
    EXPECT_EQ(exportHex(u"\u00A5\u007F\U0001F600"), "3F 3F 3F 3F");
    // The single bytes only the export writes, and those Shift_JIS never uses.
    EXPECT_EQ(import("FD FE A0 7F 80 FF"), u"\u30FB\u30FB\u30FB\u30FB\u30FB\u30FB");
    // Code page 932's IBM and NEC codes and gaps in the extension runs: one U+30FB a pair.
    EXPECT_EQ(import("ED 40 FA 40 85 54 41"), u"\u30FB\u30FB\u30FB" u"A");
}

TEST(MacJapaneseConvert, ControlCharactersPassThrough)
{
    const std::u16string text = u"a\tb\r\n\u0001\u001F\u3042\r\n";
    EXPECT_EQ(exportHex(text), "61 09 62 0D 0A 01 1F 82 A0 0D 0A");
    EXPECT_EQ(doc::decodeMacJapanese(doc::encodeMacJapanese(text)), text);
}

TEST(MacJapaneseConvert, LeadBytesCutShortOrWithoutTrail)
{
    // A byte that cannot trail is used up with the lead: the line feed is lost.
    EXPECT_EQ(import("82 0A 41"), u"\u30FB" u"A");
    EXPECT_EQ(import("82 7F 41"), u"\u30FB" u"A");
    EXPECT_EQ(import("82 FD 41"), u"\u30FB" u"A");
    // A lone lead at the end, or before a zero byte, gives nothing.
    EXPECT_EQ(import("41 82"), u"A");
    EXPECT_EQ(import("41 82 00 A0"), u"A");
    EXPECT_EQ(import(""), u"");
}

TEST(MacJapaneseConvert, TerminatorsEndTheData)
{
    EXPECT_EQ(import("41 00 42"), u"A");
    EXPECT_EQ(exportHex(std::u16string_view(u"A\0B", 3)), "41");
}

TEST(MacJapaneseConvert, MeasureAndFillAgree)
{
    const std::u16string text = u"\u65E5\u672C\u8A9E ABC \uFF71 \u2460\u00A9 \u00A5\r\n";
    const std::size_t measured = doc::UnicodeToMacJapanese(text, nullptr);
    std::string bytes(measured + 1, '\x55'); // one guard byte: nothing written past the count
    EXPECT_EQ(doc::UnicodeToMacJapanese(text, bytes.data()), measured);
    EXPECT_EQ(bytes.back(), '\x55');
    EXPECT_EQ(measured, 6u + 5 + 1 + 1 + 2 + 1 + 1 + 1 + 2);

    bytes.pop_back();
    const std::size_t units = doc::MacJapaneseToUnicode(bytes, nullptr);
    std::u16string back(units + 1, u'\u5555');
    EXPECT_EQ(doc::MacJapaneseToUnicode(bytes, back.data()), units);
    EXPECT_EQ(back.back(), u'\u5555');
    back.pop_back();
    EXPECT_EQ(back, u"\u65E5\u672C\u8A9E ABC \uFF71 \u2460\u30FB ?\r\n");
}

TEST(MacJapaneseConvert, EveryRowRoundTrips)
{
    // All characters of the table in one text. The three export-only single bytes come
    // back as U+30FB; every other character comes back as itself.
    std::u16string text;
    std::u16string expected;
    for (const doc::MacJapaneseRow& row : doc::MacJapaneseByUnicode) {
        text += static_cast<char16_t>(row.unicode);
        const bool exportOnly = row.code == 0xA0 || row.code == 0xFD || row.code == 0xFE;
        expected += exportOnly ? u'\u30FB' : static_cast<char16_t>(row.unicode);
    }
    const std::string bytes = doc::encodeMacJapanese(text);
    EXPECT_EQ(bytes.size(), 95u + 63u + 3u + 2u * (7279u - 95u - 63u - 3u));
    EXPECT_EQ(doc::decodeMacJapanese(bytes), expected);
}
