#include "view/TextConversions.h"

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/utf16.h>

#include <cstdio>
#include <limits>

namespace view {

std::size_t NormalizeLineEnds(std::u16string_view source, char16_t* dest)
{
    std::size_t n = 0;
    auto put = [&](char16_t u) {
        if (dest)
            dest[n] = u;
        ++n;
    };
    bool crPending = false;
    for (const char16_t u : source) {
        if (crPending) {
            put(u'\r');
            put(u'\n');
            if (u == u'\n') {
                crPending = false;
            } else if (u != u'\r') {
                put(u);
                crPending = false;
            }
            // Another CR is pending now.
        } else if (u == u'\r') {
            crPending = true;
        } else if (u == u'\n') {
            put(u'\r');
            put(u'\n');
        } else {
            put(u);
        }
    }
    if (crPending) {
        put(u'\r');
        put(u'\n');
    }
    if (dest)
        dest[n] = 0;
    return n;
}

std::u16string NumericCharRefs(std::u16string_view text, bool hex)
{
    // A reference names a code point, so a surrogate pair becomes one reference: references
    // to its two halves would each read back as U+FFFD (and are not allowed at all in XML).
    // A lone half has no code point of its own and keeps a reference to the unit.
    auto codePointAt = [text](std::size_t i, std::size_t* units) -> std::uint32_t {
        std::size_t next = i;
        UChar32 c;
        U16_NEXT(text.data(), next, text.size(), c);
        *units = next - i;
        return std::uint32_t(c);
    };
    auto reference = [hex](std::uint32_t c, char* buffer) {
        return std::snprintf(buffer, 16, hex ? "&#x%04X;" : "&#%u;", unsigned(c));
    };
    char buffer[16];
    std::size_t size = 0;
    for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
        const std::uint32_t c = codePointAt(i, &units);
        size += (c == u'\r' || c == u'\n') ? 1 : std::size_t(reference(c, buffer));
    }
    std::u16string out;
    out.reserve(size);
    for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
        const std::uint32_t c = codePointAt(i, &units);
        if (c == u'\r' || c == u'\n') {
            out += char16_t(c);
            continue;
        }
        const int len = reference(c, buffer);
        out.append(buffer, buffer + len);
    }
    return out;
}

std::uint32_t ReadCodeNumber(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= 0x09 && text[i] <= 0x0D)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == u'0') {
        if (i + 1 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
            // Without a hexadecimal digit after it the number is 0 either way.
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    auto digit = [base](char16_t u) -> int {
        int d = -1;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'z')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'Z')
            d = u - u'A' + 10;
        return d >= 0 && unsigned(d) < base ? d : -1;
    };
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && digit(text[i]) >= 0; ++i) {
        value = value * base + std::uint64_t(digit(text[i]));
        if (value > std::numeric_limits<std::uint32_t>::max())
            overflow = true;
        if (overflow)
            value = std::numeric_limits<std::uint32_t>::max();
    }
    if (overflow)
        return std::numeric_limits<std::uint32_t>::max();
    const auto v = std::uint32_t(value);
    return negative ? std::uint32_t(0u - v) : v;
}

std::optional<char16_t> CodeInputUnit(std::u16string_view text)
{
    const std::uint32_t n = ReadCodeNumber(text);
    if (n < 1 || n > 0xFFFF)
        return std::nullopt;
    return char16_t(n);
}

namespace {

// ICU's locale for the weekday names of a code page; nothing for the "C" locale's English.
const char* weekdayLocale(std::uint32_t codePage)
{
    switch (codePage) {
    case 932: return "ja";
    case 936: return "zh_CN";
    case 949: return "ko";
    case 950: return "zh_TW";
    default: return nullptr;
    }
}

std::u16string weekdayName(int weekday, std::uint32_t codePage)
{
    static const char16_t* const english[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday",
                                              u"Thursday", u"Friday", u"Saturday"};
    const int day = ((weekday % 7) + 7) % 7;
    const char* locale = weekdayLocale(codePage);
    if (!locale)
        return english[day];
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(icu::Locale(locale), status);
    int32_t count = 0;
    const icu::UnicodeString* names =
        U_SUCCESS(status) ? symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT,
                                                icu::DateFormatSymbols::WIDE)
                          : nullptr;
    // ICU counts from 1 = Sunday; without the locale's data the "C" names stand in.
    if (!names || count <= day + 1 || names[day + 1].isEmpty())
        return english[day];
    const icu::UnicodeString& name = names[day + 1];
    return std::u16string(name.getBuffer(), std::size_t(name.length()));
}

} // namespace

std::u16string FormatDateTime(const LocalTime& t, std::uint32_t codePage)
{
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%02d:%02d %04d/%02d/%02d ", t.hour,
                                t.minute, t.year, t.month, t.day);
    std::u16string out(buffer, buffer + n);
    return out + weekdayName(t.weekday, codePage);
}

} // namespace view
