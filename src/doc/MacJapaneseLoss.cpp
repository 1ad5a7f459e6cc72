// Which characters the Macintosh Japanese export cannot write: those without a row.

#include "doc/MacJapanese.h"

#include <unicode/utf16.h>

namespace doc {

platform::nls::EncodingLoss findMacJapaneseLoss(std::u16string_view text)
{
    const std::size_t zero = text.find(u'\0');
    if (zero != std::u16string_view::npos)
        text = text.substr(0, zero);
    platform::nls::EncodingLoss loss;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const char16_t unit = text[i++];
        // '?' has a row of its own; every miss is written as '?'.
        if (unit < 0x20 || macJapaneseCodeOf(unit) != kMacJapaneseMissCode)
            continue;
        char32_t c = unit;
        if (U16_IS_LEAD(unit) && i < text.size() && U16_IS_TRAIL(text[i]))
            c = char32_t(U16_GET_SUPPLEMENTARY(unit, text[i++]));
        if (loss.count++ == 0) {
            loss.firstIndex = start;
            loss.firstLength = i - start;
            loss.firstCodePoint = c;
        }
    }
    return loss;
}

} // namespace doc
