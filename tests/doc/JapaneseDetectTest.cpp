// Which of Shift_JIS, EUC-JP and ISO-2022-JP the detector picks from the first decisive
// byte, including the texts it is known to misjudge.

#include "doc/JapaneseEncoding.h"

#include "ByteText.h"

#include <gtest/gtest.h>

using codectest::hexBytes;
using doc::DetectJapaneseEncoding;
using doc::JapaneseEncoding;

namespace {

struct DetectCase {
    const char* what;
    const char* hex;
    JapaneseEncoding expected;
};

void expectDetections(std::initializer_list<DetectCase> cases)
{
    for (const DetectCase& c : cases)
        EXPECT_EQ(DetectJapaneseEncoding(hexBytes(c.hex)), c.expected) << c.what << ": " << c.hex;
}

} // namespace

TEST(JapaneseDetect, SevenBitTextIsUndecided)
{
    expectDetections({
        {"empty", "", JapaneseEncoding::Undecided},
        {"ASCII with CR LF and tab", "41 62 09 63 0D 0A 7E", JapaneseEncoding::Undecided},
        {"ESC not followed by $", "1B 28 42 41 1B 1B", JapaneseEncoding::Undecided},
        {"$ before ESC", "24 1B", JapaneseEncoding::Undecided},
    });
}

TEST(JapaneseDetect, FirstDecisiveByteSettlesEverything)
{
    expectDetections({
        {"U+3042 in Shift_JIS", "82 A0", JapaneseEncoding::ShiftJis},
        {"U+3042 in EUC-JP", "A4 A2", JapaneseEncoding::EucJp},
        {"Shift_JIS first, EUC-JP after", "41 82 A0 A4 A2", JapaneseEncoding::ShiftJis},
        {"EUC-JP first, ESC $ after", "A4 A2 1B 24 42", JapaneseEncoding::EucJp},
        {"ESC $ B before eight-bit bytes", "41 1B 24 42 24 22 1B 28 42 82 A0",
         JapaneseEncoding::Iso2022Jp},
        {"ESC $ without a final byte", "1B 24", JapaneseEncoding::Iso2022Jp},
        {"lead byte then a low trail byte", "E0 40", JapaneseEncoding::ShiftJis},
        {"0x80 then ASCII", "80 41", JapaneseEncoding::ShiftJis},
        {"FD with a high second byte", "FD A1", JapaneseEncoding::EucJp},
        {"FE with a high second byte", "FE FE", JapaneseEncoding::EucJp},
    });
}

TEST(JapaneseDetect, UndecidedPairMovesOneByteOnly)
{
    // E0 B0 is undecided; B0 is then the next first byte and means EUC-JP. A scan that
    // skipped the second byte would miss it.
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("E0 B0")), JapaneseEncoding::EucJp);
    // F0 F0 undecided, then F0 41: a low byte after F0 means Shift_JIS.
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("F0 F0 41")), JapaneseEncoding::ShiftJis);
    // E0 FD undecided, then FD A1 means EUC-JP.
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("E0 FD A1")), JapaneseEncoding::EucJp);
    // A run of undecided pairs ends with its last byte before the terminator.
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("E0 E0 E0")), JapaneseEncoding::ShiftJis);
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("FC FD FD")), JapaneseEncoding::EucJp);
}

TEST(JapaneseDetect, KnownMisjudgements)
{
    expectDetections({
        // Shift_JIS starting with half-width katakana reads as EUC-JP.
        {"Shift_JIS half-width katakana first", "B1 82 A0", JapaneseEncoding::EucJp},
        // EUC-JP starting with half-width katakana (single shift 2) reads as Shift_JIS.
        {"EUC-JP 8E first", "8E B1 A4 A2", JapaneseEncoding::ShiftJis},
        {"UTF-8 mark", "EF BB BF 41", JapaneseEncoding::EucJp},
        {"UTF-8 Japanese without a mark", "E3 81 82 E3 81 84", JapaneseEncoding::ShiftJis},
    });
}

TEST(JapaneseDetect, EndOfDataReadsAsTerminator)
{
    // A lone eight-bit byte at the end is followed by the terminator, which is 0xA0 or below.
    for (const char* lone : {"80", "A0", "E0", "FD", "FE", "FF"})
        EXPECT_EQ(DetectJapaneseEncoding(hexBytes(std::string("41 ") + lone)),
                  JapaneseEncoding::ShiftJis)
            << lone;
    // The data ends at the first zero byte, whatever the string holds after it.
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("41 00 A4 A2")), JapaneseEncoding::Undecided);
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("FE 00 A1")), JapaneseEncoding::ShiftJis);
    EXPECT_EQ(DetectJapaneseEncoding(hexBytes("1B 00 24")), JapaneseEncoding::Undecided);
    // A string_view ending inside the buffer: the bytes beyond are not read.
    const std::string buffer = hexBytes("41 E0 A1");
    EXPECT_EQ(DetectJapaneseEncoding(std::string_view(buffer).substr(0, 2)),
              JapaneseEncoding::ShiftJis);
}
