#pragma once
// Japanese text files come as Shift_JIS (code page 932), EUC-JP or ISO-2022-JP. This decides
// from the bytes which of the three a buffer holds and rewrites EUC-JP and ISO-2022-JP in
// place as Shift_JIS, so that the code-page 932 decoder reads the result. Qt-free.
//
// The bytes are a zero-terminated string: the data ends at the first zero byte, or at the
// end of the std::string when it holds none.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace doc {

// The values are the detection result codes the program has always used (3 is unused).
enum class JapaneseEncoding : int {
    Undecided = 0, // plain ASCII, or only byte pairs that fit both EUC-JP and Shift_JIS
    EucJp = 1,
    ShiftJis = 2,
    Iso2022Jp = 4,
};

// Scans from the first byte; the first decisive byte settles the whole buffer. ESC "$"
// means ISO-2022-JP even without a final byte; 81-9F means Shift_JIS; A1-DF (half-width
// katakana in Shift_JIS, too) means EUC-JP. Other eight-bit bytes decide by the byte after
// them (the end of the data counts as a byte of 0): one of A0 or below means Shift_JIS,
// FD and FE then mean EUC-JP, and any other pair is undecided and the scan goes on with
// the second byte. Reads only.
JapaneseEncoding DetectJapaneseEncoding(std::string_view bytes);

// Detects, then runs EucToShiftJis for EUC-JP or JisToShiftJis for ISO-2022-JP. Shift_JIS
// and undecided bytes are left exactly as they are. Returns the detection result.
// When origins is given and the bytes are converted, it receives for each converted byte the
// offset of the input byte it came from (the first byte of its pair or sequence), so that
// a place in the result can be told as a place in the file; otherwise it is left empty.
JapaneseEncoding ConvertJapaneseToShiftJis(std::string& bytes,
                                           std::vector<std::uint32_t>* origins = nullptr);

// Both rewrite bytes in place and never make the data longer. Afterwards bytes holds the
// converted data only (anything after the input's first zero byte is dropped).
//
// A pair cut short by the end of the data keeps its lone first byte as the last byte.
// Malformed input is converted by the same arithmetic as valid input, except that a
// computed byte of 0 is written as '?': a zero would end the text there and silently drop
// everything after it.
//
// EUC-JP: 8E xx (half-width katakana) becomes one byte; any other eight-bit byte starts a
// JIS X 0208 pair (8F gets no three-byte handling); ASCII is copied.
void EucToShiftJis(std::string& bytes, std::vector<std::uint32_t>* origins = nullptr);

// ISO-2022-JP: ESC $ B and ESC $ @ switch to kanji, ESC ( B, ESC ( J and SI to ASCII,
// ESC ( I and SO to half-width katakana; those sequences are dropped. Any other byte,
// an ESC that starts none of them included, is data of the current mode: copied in ASCII,
// raised by 0x80 in katakana, and in kanji paired with the next byte, control bytes such as
// CR and LF too.
void JisToShiftJis(std::string& bytes, std::vector<std::uint32_t>* origins = nullptr);

} // namespace doc
