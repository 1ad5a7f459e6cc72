#include "doc/UnicodeFile.h"

#include "platform/nls/CodePages.h"

#include <utility>

namespace doc {

namespace {

bool startsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

constexpr std::string_view kMarkUtf16LittleEndian = "\xFF\xFE";
constexpr std::string_view kMarkUtf16BigEndian = "\xFE\xFF";
constexpr std::string_view kMarkUtf8 = "\xEF\xBB\xBF";

// Units of a UTF-16 file body up to the first zero unit; an odd last byte has no unit.
std::u16string decodeUtf16(std::string_view body, bool bigEndian)
{
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    const std::size_t units = body.size() / 2;
    std::u16string text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const unsigned first = p[2 * i];
        const unsigned second = p[2 * i + 1];
        const auto unit = static_cast<char16_t>(bigEndian ? first << 8 | second
                                                          : second << 8 | first);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

void appendUtf16(std::string& out, std::u16string_view text, bool bigEndian)
{
    const std::size_t start = out.size();
    out.resize(start + 2 * text.size());
    char* p = out.data() + start;
    for (char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        *p++ = bigEndian ? high : low;
        *p++ = bigEndian ? low : high;
    }
}

} // namespace

UnicodeImportForm detectUnicodeImportForm(std::string_view fileBytes)
{
    if (fileBytes.size() < 2)
        return UnicodeImportForm::Utf8;
    if (startsWith(fileBytes, kMarkUtf16LittleEndian))
        return UnicodeImportForm::Utf16LittleEndian;
    if (startsWith(fileBytes, kMarkUtf16BigEndian))
        return UnicodeImportForm::Utf16BigEndian;
    if (startsWith(fileBytes, kMarkUtf8))
        return UnicodeImportForm::Utf8WithMark;
    return UnicodeImportForm::Utf8;
}

std::size_t markLength(UnicodeImportForm form)
{
    switch (form) {
    case UnicodeImportForm::Utf8:
        return 0;
    case UnicodeImportForm::Utf8WithMark:
        return kMarkUtf8.size();
    case UnicodeImportForm::Utf16LittleEndian:
    case UnicodeImportForm::Utf16BigEndian:
        return 2;
    }
    return 0;
}

std::optional<std::u16string> decodeUnicodeFile(std::string_view fileBytes)
{
    const UnicodeImportForm form = detectUnicodeImportForm(fileBytes);
    const std::string_view body = fileBytes.substr(markLength(form));
    switch (form) {
    case UnicodeImportForm::Utf16LittleEndian:
        return decodeUtf16(body, false);
    case UnicodeImportForm::Utf16BigEndian:
        return decodeUtf16(body, true);
    case UnicodeImportForm::Utf8:
    case UnicodeImportForm::Utf8WithMark:
        break;
    }
    std::optional<platform::nls::DecodedText> decoded =
        platform::nls::decode(platform::nls::CP_UTF8, body);
    if (!decoded)
        return std::nullopt;
    // A zero byte decodes to a zero unit; the inserted text ends there.
    std::u16string& text = decoded->text;
    if (const std::size_t zero = text.find(u'\0'); zero != std::u16string::npos)
        text.resize(zero);
    return std::move(text);
}

std::optional<std::string> encodeUnicodeFile(std::u16string_view text, UnicodeExportForm form)
{
    std::string out;
    switch (form) {
    case UnicodeExportForm::Utf16LittleEndian:
        out = kMarkUtf16LittleEndian;
        appendUtf16(out, text, false);
        return out;
    case UnicodeExportForm::Utf16BigEndian:
        out = kMarkUtf16BigEndian;
        appendUtf16(out, text, true);
        return out;
    case UnicodeExportForm::Utf8WithMark:
        break;
    }
    const std::optional<platform::nls::EncodedText> body =
        platform::nls::encode(platform::nls::CP_UTF8, text);
    if (!body)
        return std::nullopt;
    out = kMarkUtf8;
    out += body->bytes;
    return out;
}

} // namespace doc
