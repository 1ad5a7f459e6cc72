// Marked Unicode files: which form a file is read as, what text comes out, and the three
// export forms byte for byte against Python's utf_16_le, utf_16_be and utf_8_sig.

#include "doc/UnicodeFile.h"

#include "ByteText.h"
#include "platform/nls/CodePages.h"

#include <gtest/gtest.h>

using codectest::hexBytes;
using codectest::readFixture;
using codectest::toHex;
using doc::UnicodeExportForm;
using doc::UnicodeImportForm;

namespace {

std::u16string importHex(std::string_view hex)
{
    const auto text = doc::decodeUnicodeFile(hexBytes(hex));
    EXPECT_TRUE(text.has_value()) << hex;
    return text.value_or(u"<failed>");
}

std::string exportHex(std::u16string_view text, UnicodeExportForm form)
{
    const auto bytes = doc::encodeUnicodeFile(text, form);
    EXPECT_TRUE(bytes.has_value());
    return toHex(bytes.value_or(""));
}

// The sample text of the fixtures, from its UTF-32 code points.
std::u16string sampleText()
{
    const std::string raw = readFixture("sample.utf32le");
    std::u16string text;
    for (std::size_t i = 0; i + 3 < raw.size(); i += 4) {
        char32_t cp = 0;
        for (int k = 3; k >= 0; --k)
            cp = cp << 8 | static_cast<unsigned char>(raw[i + k]);
        if (cp >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(cp);
        }
    }
    return text;
}

} // namespace

TEST(UnicodeFile, FormFromTheFirstBytes)
{
    const struct {
        const char* hex;
        UnicodeImportForm form;
    } cases[] = {
        {"", UnicodeImportForm::Utf8},
        {"FF", UnicodeImportForm::Utf8},
        {"EF", UnicodeImportForm::Utf8},
        {"FF FE", UnicodeImportForm::Utf16LittleEndian},
        {"FF FE 00 00", UnicodeImportForm::Utf16LittleEndian}, // a UTF-32 mark reads as UTF-16
        {"FE FF 00 41", UnicodeImportForm::Utf16BigEndian},
        {"EF BB BF", UnicodeImportForm::Utf8WithMark},
        {"EF BB", UnicodeImportForm::Utf8},
        {"EF BB 41", UnicodeImportForm::Utf8},
        {"FF 41 42", UnicodeImportForm::Utf8},
        {"FE 41", UnicodeImportForm::Utf8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(doc::detectUnicodeImportForm(hexBytes(c.hex)), c.form) << c.hex;
}

TEST(UnicodeFile, Utf16Import)
{
    EXPECT_EQ(importHex("FF FE"), u"");
    EXPECT_EQ(importHex("FF FE 00 00 41 00"), u"");
    EXPECT_EQ(importHex("FF FE 61 00 E9 00 3D D8 00 DE"), u"a\u00E9\U0001F600");
    EXPECT_EQ(importHex("FE FF 00 61 00 E9 D8 3D DE 00"), u"a\u00E9\U0001F600");
    // An odd byte after the last whole unit is dropped.
    EXPECT_EQ(importHex("FF FE 61 00 62"), u"a");
    EXPECT_EQ(importHex("FE FF 00"), u"");
    // The text ends at the first zero unit; in big-endian the swapping stops there too.
    EXPECT_EQ(importHex("FF FE 61 00 00 00 62 00"), u"a");
    EXPECT_EQ(importHex("FE FF 00 61 00 00 00 62"), u"a");
    // A second mark is text.
    EXPECT_EQ(importHex("FF FE FF FE 61 00"), u"\uFEFFa");
}

TEST(UnicodeFile, Utf8Import)
{
    EXPECT_EQ(importHex(""), u"");
    EXPECT_EQ(importHex("61"), u"a");
    EXPECT_EQ(importHex("EF BB BF"), u"");
    EXPECT_EQ(importHex("EF BB BF 61 C3 A9 0D 0A"), u"a\u00E9\r\n");
    // Only the first mark is skipped.
    EXPECT_EQ(importHex("EF BB BF EF BB BF 61"), u"\uFEFFa");
    EXPECT_EQ(importHex("E6 97 A5 00 61"), u"\u65E5");
    // Without the complete mark the bytes are text, decoded from the first one.
    for (const char* hex : {"EF BB", "EF BB 41", "FF 41", "C3"}) {
        const std::string bytes = hexBytes(hex);
        EXPECT_EQ(importHex(hex), platform::nls::decode(platform::nls::CP_UTF8, bytes).value().text)
            << hex;
        EXPECT_FALSE(importHex(hex).empty()) << hex;
    }
}

TEST(UnicodeFile, ExportForms)
{
    EXPECT_EQ(exportHex(u"a\u00E9", UnicodeExportForm::Utf16LittleEndian), "FF FE 61 00 E9 00");
    EXPECT_EQ(exportHex(u"a\u00E9", UnicodeExportForm::Utf16BigEndian), "FE FF 00 61 00 E9");
    EXPECT_EQ(exportHex(u"a\u00E9", UnicodeExportForm::Utf8WithMark), "EF BB BF 61 C3 A9");
    EXPECT_EQ(exportHex(u"", UnicodeExportForm::Utf16LittleEndian), "FF FE");
    EXPECT_EQ(exportHex(u"", UnicodeExportForm::Utf16BigEndian), "FE FF");
    EXPECT_EQ(exportHex(u"", UnicodeExportForm::Utf8WithMark), "EF BB BF");
    // A mark already in the text goes out after the new one.
    EXPECT_EQ(exportHex(u"\uFEFFa", UnicodeExportForm::Utf8WithMark), "EF BB BF EF BB BF 61");
    EXPECT_EQ(exportHex(u"\uFEFF", UnicodeExportForm::Utf16BigEndian), "FE FF FE FF");
    // A lone surrogate: written as is in UTF-16, as U+FFFD in UTF-8.
    EXPECT_EQ(exportHex(u"\xD800", UnicodeExportForm::Utf16LittleEndian), "FF FE 00 D8");
    EXPECT_EQ(exportHex(u"\xD800", UnicodeExportForm::Utf8WithMark), "EF BB BF EF BF BD");
}

TEST(UnicodeFile, SampleMatchesPythonCodecsBothWays)
{
    const std::u16string text = sampleText();
    ASSERT_GT(text.size(), 50u);
    const struct {
        const char* file;
        UnicodeExportForm form;
    } forms[] = {
        {"sample.utf16le", UnicodeExportForm::Utf16LittleEndian},
        {"sample.utf16be", UnicodeExportForm::Utf16BigEndian},
        {"sample.utf8", UnicodeExportForm::Utf8WithMark},
    };
    for (const auto& f : forms) {
        const std::string expected = readFixture(f.file);
        EXPECT_EQ(doc::encodeUnicodeFile(text, f.form), expected) << f.file;
        EXPECT_EQ(doc::decodeUnicodeFile(expected), text) << f.file;
    }
}
