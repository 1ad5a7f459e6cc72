#include "doc/JapaneseEncoding.h"

#include <cstddef>
#include <cstring>

namespace doc {

namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kShiftOut = 0x0E; // SO: half-width katakana
constexpr unsigned char kShiftIn = 0x0F;  // SI: back to ASCII

// Length of the data: up to the first zero byte, or the whole string.
std::size_t dataLength(std::string_view bytes)
{
    const void* zero = std::memchr(bytes.data(), 0, bytes.size());
    return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes.data())
                : bytes.size();
}

// The conversions never create a terminator out of a non-zero byte: on malformed input
// the arithmetic can wrap to 0, and the decoder would then stop there and drop the rest.
char outputByte(unsigned value)
{
    const auto byte = static_cast<unsigned char>(value);
    return static_cast<char>(byte == 0 ? '?' : byte);
}

// EUC-JP pair (both bytes with the high bit, as in valid input) to Shift_JIS.
void eucPairToShiftJis(unsigned a, unsigned b, char* out)
{
    if (a & 1) {
        out[0] = outputByte((a >> 1) + (a <= 0xDD ? 0x31 : 0x71));
        out[1] = outputByte(b <= 0xDF ? b - 0x61 : b - 0x60);
    } else {
        out[0] = outputByte((a >> 1) + (a <= 0xDE ? 0x30 : 0x70));
        out[1] = outputByte(b - 2);
    }
}

// JIS X 0208 row and cell bytes (seven-bit, as ISO-2022-JP carries them) to Shift_JIS.
void jisPairToShiftJis(unsigned j1, unsigned j2, char* out)
{
    if (j1 & 1) {
        out[0] = outputByte((j1 >> 1) + (j1 <= 0x5D ? 0x71 : 0xB1));
        out[1] = outputByte(j2 <= 0x5F ? j2 + 0x1F : j2 + 0x20);
    } else {
        out[0] = outputByte((j1 >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
        out[1] = outputByte(j2 + 0x7E);
    }
}

enum class JisMode { Ascii, Kanji, HalfWidthKana };

} // namespace

JapaneseEncoding DetectJapaneseEncoding(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned a = p[i];
        if (a == 0)
            break;
        const unsigned b = i + 1 < n ? p[i + 1] : 0; // the end reads as the terminator
        if (a == kEsc && b == '$')
            return JapaneseEncoding::Iso2022Jp;
        if (a < 0x80)
            continue;
        if (a >= 0x81 && a <= 0x9F)
            return JapaneseEncoding::ShiftJis;
        if (a >= 0xA1 && a <= 0xDF)
            return JapaneseEncoding::EucJp;
        // Left: 80, A0 and E0-FF. A low second byte can only trail a Shift_JIS lead.
        if (b <= 0xA0)
            return JapaneseEncoding::ShiftJis;
        if (a == 0xFD || a == 0xFE)
            return JapaneseEncoding::EucJp;
        // Undecided pair: go on with b as the next first byte, never skipping it.
    }
    return JapaneseEncoding::Undecided;
}

JapaneseEncoding ConvertJapaneseToShiftJis(std::string& bytes,
                                           std::vector<std::uint32_t>* origins)
{
    if (origins)
        origins->clear();
    const JapaneseEncoding found = DetectJapaneseEncoding(bytes);
    if (found == JapaneseEncoding::EucJp)
        EucToShiftJis(bytes, origins);
    else if (found == JapaneseEncoding::Iso2022Jp)
        JisToShiftJis(bytes, origins);
    return found;
}

namespace {

// Records, when asked, the input offset each written byte came from: every byte written
// since the last call came from the step that began at the offset given then.
class OriginLog {
public:
    OriginLog(std::vector<std::uint32_t>* origins, const std::size_t& written)
        : m_origins(origins), m_written(written)
    {
    }
    void from(std::size_t offset)
    {
        if (!m_origins)
            return;
        m_origins->resize(m_written, std::uint32_t(m_step));
        m_step = offset;
    }

private:
    std::vector<std::uint32_t>* m_origins;
    const std::size_t& m_written;
    std::size_t m_step = 0;
};

} // namespace

// Every step reads at least as many bytes as it writes, so writing behind the read position
// in the same buffer needs no copy of the input.
void EucToShiftJis(std::string& bytes, std::vector<std::uint32_t>* origins)
{
    const std::size_t end = dataLength(bytes);
    char* p = bytes.data();
    std::size_t r = 0;
    std::size_t w = 0;
    OriginLog log(origins, w);
    while (r < end) {
        log.from(r);
        const auto a = static_cast<unsigned char>(p[r++]);
        if (a < 0x80) {
            p[w++] = static_cast<char>(a);
            continue;
        }
        if (r == end) { // a pair cut short: keep its first byte
            p[w++] = static_cast<char>(a);
            break;
        }
        const auto b = static_cast<unsigned char>(p[r++]);
        if (a == 0x8E) { // single shift 2: half-width katakana, one byte
            p[w++] = static_cast<char>(b >= 0x21 && b <= 0x5F ? b + 0x80 : b);
            continue;
        }
        eucPairToShiftJis(a, b, p + w);
        w += 2;
    }
    log.from(r);
    bytes.resize(w);
}

void JisToShiftJis(std::string& bytes, std::vector<std::uint32_t>* origins)
{
    const std::size_t end = dataLength(bytes);
    char* p = bytes.data();
    auto at = [&](std::size_t i) -> unsigned {
        return i < end ? static_cast<unsigned char>(p[i]) : 0u;
    };
    JisMode mode = JisMode::Ascii;
    std::size_t r = 0;
    std::size_t w = 0;
    OriginLog log(origins, w);
    while (r < end) {
        log.from(r);
        const unsigned c = at(r);
        if (c == kEsc) {
            // at() reads a cut-short sequence's missing bytes as 0, which matches nothing.
            const unsigned b1 = at(r + 1);
            const unsigned b2 = at(r + 2);
            JisMode next = mode;
            bool known = true;
            if (b1 == '$' && (b2 == 'B' || b2 == '@'))
                next = JisMode::Kanji;
            else if (b1 == '(' && (b2 == 'B' || b2 == 'J'))
                next = JisMode::Ascii;
            else if (b1 == '(' && b2 == 'I')
                next = JisMode::HalfWidthKana;
            else
                known = false;
            if (known) {
                mode = next;
                r += 3;
                continue;
            }
        } else if (c == kShiftIn) {
            mode = JisMode::Ascii;
            ++r;
            continue;
        } else if (c == kShiftOut) {
            mode = JisMode::HalfWidthKana;
            ++r;
            continue;
        }
        switch (mode) {
        case JisMode::Ascii:
            p[w++] = static_cast<char>(c);
            ++r;
            break;
        case JisMode::HalfWidthKana:
            p[w++] = outputByte(c + 0x80);
            ++r;
            break;
        case JisMode::Kanji:
            if (r + 1 == end) { // a pair cut short: keep its first byte
                p[w++] = static_cast<char>(c);
                r = end;
                break;
            }
            jisPairToShiftJis(c, at(r + 1), p + w);
            w += 2;
            r += 2;
            break;
        }
    }
    log.from(r);
    bytes.resize(w);
}

} // namespace doc
