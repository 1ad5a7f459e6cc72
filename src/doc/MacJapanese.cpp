#include "doc/MacJapanese.h"

#include "doc/MacJapaneseIndex_p.h"

namespace doc {

namespace {

// Binary search, on the field that orders the table, for the first row whose key is not
// less than the wanted one, then an equality check. Only the rows sharing the wanted key's
// high byte are searched (at most 256, so 8 halvings). The halving is written without a
// branch on the comparison: successive characters are unrelated, so such a branch would
// be mispredicted about half the time, which dominated the cost.
template <std::uint16_t MacJapaneseRow::*Key>
const MacJapaneseRow* findRow(const std::array<MacJapaneseRow, kMacJapaneseRowCount>& table,
                              const detail::MacJapaneseStarts& starts, std::uint16_t wanted)
{
    const unsigned high = wanted >> 8;
    std::size_t low = starts[high];
    std::size_t n = starts[high + 1] - low; // the row sought lies in [low, low + n]
    if (n == 0)
        return nullptr;
    while (n > 1) {
        const std::size_t half = n / 2;
        low = table[low + half].*Key < wanted ? low + half : low;
        n -= half;
    }
    if (table[low].*Key < wanted)
        ++low;
    return low < table.size() && table[low].*Key == wanted ? &table[low] : nullptr;
}

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

bool isSingleByteCharacter(unsigned char b)
{
    return (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
}

} // namespace

std::uint16_t macJapaneseCodeOf(char16_t unit)
{
    const MacJapaneseRow* row = findRow<&MacJapaneseRow::unicode>(
        MacJapaneseByUnicode, detail::MacJapaneseByUnicodeStarts, unit);
    return row ? row->code : kMacJapaneseMissCode;
}

char16_t unicodeOfMacJapaneseCode(std::uint16_t code)
{
    const MacJapaneseRow* row = findRow<&MacJapaneseRow::code>(
        MacJapaneseByCode, detail::MacJapaneseByCodeStarts, code);
    return row ? static_cast<char16_t>(row->unicode) : kMacJapaneseMissUnit;
}

std::size_t UnicodeToMacJapanese(std::u16string_view text, char* out)
{
    std::size_t count = 0;
    for (char16_t unit : text) {
        if (unit == 0)
            break;
        // Control characters (tab, CR, LF among them) have no rows and pass through.
        const std::uint16_t code = unit < 0x20 ? unit : macJapaneseCodeOf(unit);
        if (code > 0xFF) {
            if (out) {
                out[count] = static_cast<char>(code >> 8);
                out[count + 1] = static_cast<char>(code & 0xFF);
            }
            count += 2;
        } else {
            if (out)
                out[count] = static_cast<char>(code);
            ++count;
        }
    }
    return count;
}

std::size_t MacJapaneseToUnicode(std::string_view bytes, char16_t* out)
{
    // The number of units depends on the byte classes alone, so measuring (out null) skips
    // the table lookups.
    std::size_t count = 0;
    auto emit = [&](auto unitOf) {
        if (out)
            out[count] = unitOf();
        ++count;
    };
    int pendingLead = -1;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            break;
        if (pendingLead >= 0) {
            // A byte that cannot trail is used up with the lead: one U+30FB for the pair.
            const auto code = static_cast<std::uint16_t>(pendingLead << 8 | b);
            emit([&] {
                return isTrailByte(b) ? unicodeOfMacJapaneseCode(code) : kMacJapaneseMissUnit;
            });
            pendingLead = -1;
        } else if (b < 0x20) {
            emit([&] { return static_cast<char16_t>(b); });
        } else if (isSingleByteCharacter(b)) {
            emit([&] { return unicodeOfMacJapaneseCode(b); });
        } else if (isLeadByte(b)) {
            pendingLead = b;
        } else {
            emit([] { return kMacJapaneseMissUnit; });
        }
    }
    // A lead byte still waiting at the end has no character to give.
    return count;
}

std::string encodeMacJapanese(std::u16string_view text)
{
    std::string bytes(UnicodeToMacJapanese(text, nullptr), '\0');
    UnicodeToMacJapanese(text, bytes.data());
    return bytes;
}

std::u16string decodeMacJapanese(std::string_view bytes)
{
    std::u16string text(MacJapaneseToUnicode(bytes, nullptr), u'\0');
    MacJapaneseToUnicode(bytes, text.data());
    return text;
}

} // namespace doc
