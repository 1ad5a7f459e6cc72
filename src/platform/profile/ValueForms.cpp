#include "platform/profile/ValueForms.h"

#include <climits>

namespace platform::profile {

std::u16string intToValueText(int value)
{
    // Widen first: negating INT_MIN in int would overflow.
    long long magnitude = value;
    const bool negative = magnitude < 0;
    if (negative)
        magnitude = -magnitude;
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        digits.insert(digits.begin(), u'-');
    return digits;
}

int leadingIntOf(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    // Accumulate as a negative number so that INT_MIN itself is representable.
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 - (text[i] - u'0');
        if (value < INT_MIN)
            return negative ? INT_MIN : INT_MAX;
    }
    if (negative)
        return static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

std::u16string binaryToLetters(std::span<const std::uint8_t> bytes)
{
    std::u16string letters;
    letters.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        letters.push_back(static_cast<char16_t>(u'A' + (byte & 0x0F)));
        letters.push_back(static_cast<char16_t>(u'A' + (byte >> 4)));
    }
    return letters;
}

std::optional<std::vector<std::uint8_t>> lettersToBinary(std::u16string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const char16_t low = text[i];
        const char16_t high = text[i + 1];
        if (low < u'A' || low > u'P' || high < u'A' || high > u'P')
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>((low - u'A') | ((high - u'A') << 4)));
    }
    return bytes;
}

} // namespace platform::profile
