// Lost characters, judged by the conversions themselves: a character is lost when encoding
// and decoding it does not give it back. (Undecodable bytes need no judging: the decoder's
// callback counts them as it replaces them.)

#include <algorithm>
#include <memory>
#include <unordered_map>

#include <unicode/utf16.h>

#include "platform/nls/ConversionCore.h"

namespace platform::nls::detail {
namespace {

// True when bytes decode to exactly text.
bool decodesTo(const PageEntry& page, std::string_view bytes, std::u16string_view text)
{
    // One unit more than the text tells a longer result from the text itself.
    const std::size_t room = text.size() + 1;
    const auto back = std::make_unique_for_overwrite<char16_t[]>(room);
    std::size_t produced = 0;
    return decodeBytes(page, 0, bytes.data(), bytes.size(), back.get(), room, produced) ==
               ConversionError::None &&
           produced == text.size() && std::equal(text.begin(), text.end(), back.get());
}

} // namespace

EncodingLoss findLostCharacters(const PageEntry& page, std::u16string_view text,
                                std::string_view bytes, bool usedDefault)
{
    EncodingLoss loss;
    // Nearly every save loses nothing: the whole text comes back from its bytes, and one
    // decode settles it.
    if (!usedDefault && decodesTo(page, bytes, text))
        return loss;

    // Otherwise each character is judged by its own round trip, once per distinct
    // character: a best fit or a default character comes back as something else.
    std::unordered_map<char32_t, bool> survives;
    std::string one;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t c = text[i++];
        if (U16_IS_LEAD(c) && i < text.size() && U16_IS_TRAIL(text[i]))
            c = U16_GET_SUPPLEMENTARY(c, text[i++]);
        auto [it, isNew] = survives.try_emplace(c, true);
        if (isNew) {
            const std::u16string_view character = text.substr(start, i - start);
            const auto encodeOne = [&](char* target, std::size_t capacity,
                                       std::size_t& produced) {
                return encodeUnits(page, 0, character.data(), character.size(), nullptr,
                                   target, capacity, produced);
            };
            it->second = convertToString(encodeOne, character.size() * 2 + 16, one) ==
                             ConversionError::None &&
                         decodesTo(page, one, character);
        }
        if (it->second)
            continue;
        if (loss.count++ == 0) {
            loss.firstIndex = start;
            loss.firstLength = i - start;
            loss.firstCodePoint = c;
        }
    }
    return loss;
}

} // namespace platform::nls::detail
