#include "doc/LogFont.h"

#include "platform/LittleEndian.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace doc {

namespace {

// Byte offsets of the record's parts.
constexpr std::size_t kIntFields = 5;
constexpr std::size_t kByteFieldsAt = 4 * kIntFields;  // 20
constexpr std::size_t kByteFields = 8;
constexpr std::size_t kFaceAt = kByteFieldsAt + kByteFields;  // 28
static_assert(kFaceAt + 2 * LogFont::kFaceUnits == LogFont::kSize);

} // namespace

std::u16string LogFont::faceName() const
{
    const auto end = std::find(lfFaceName.begin(), lfFaceName.end(), u'\0');
    return std::u16string(lfFaceName.begin(), end);
}

void LogFont::setFaceName(std::u16string_view face)
{
    if (face.size() > kFaceUnits - 1) {
        face = face.substr(0, kFaceUnits - 1);
        // Half a surrogate pair would name no face at all; drop the whole character instead.
        if (U16_IS_LEAD(face.back()))
            face.remove_suffix(1);
    }
    lfFaceName.fill(u'\0');
    std::copy(face.begin(), face.end(), lfFaceName.begin());
}

std::array<std::uint8_t, LogFont::kSize> LogFont::toBytes() const
{
    std::array<std::uint8_t, kSize> out{};
    const std::int32_t ints[kIntFields] = {lfHeight, lfWidth, lfEscapement, lfOrientation,
                                           lfWeight};
    for (std::size_t i = 0; i < kIntFields; ++i)
        platform::putInt32LE(out.data() + 4 * i, ints[i]);
    const std::uint8_t bytes[kByteFields] = {lfItalic,       lfUnderline,     lfStrikeOut,
                                             lfCharSet,      lfOutPrecision,  lfClipPrecision,
                                             lfQuality,      lfPitchAndFamily};
    std::copy_n(bytes, kByteFields, out.data() + kByteFieldsAt);
    for (std::size_t i = 0; i < kFaceUnits; ++i) {
        out[kFaceAt + 2 * i] = std::uint8_t(lfFaceName[i]);
        out[kFaceAt + 2 * i + 1] = std::uint8_t(lfFaceName[i] >> 8);
    }
    return out;
}

std::optional<LogFont> LogFont::fromBytes(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    LogFont f;
    std::int32_t* ints[kIntFields] = {&f.lfHeight, &f.lfWidth, &f.lfEscapement,
                                      &f.lfOrientation, &f.lfWeight};
    for (std::size_t i = 0; i < kIntFields; ++i)
        *ints[i] = platform::getInt32LE(bytes.data() + 4 * i);
    std::uint8_t* fields[kByteFields] = {&f.lfItalic,       &f.lfUnderline,
                                         &f.lfStrikeOut,    &f.lfCharSet,
                                         &f.lfOutPrecision, &f.lfClipPrecision,
                                         &f.lfQuality,      &f.lfPitchAndFamily};
    for (std::size_t i = 0; i < kByteFields; ++i)
        *fields[i] = bytes[kByteFieldsAt + i];
    for (std::size_t i = 0; i < kFaceUnits; ++i)
        f.lfFaceName[i] = char16_t(bytes[kFaceAt + 2 * i] | bytes[kFaceAt + 2 * i + 1] << 8);
    return f;
}

std::int32_t heightForTenthsOfPoint(int tenthsOfPoint, int logPixelsY)
{
    // In 64 bits so that an absurd resolution cannot overflow the product.
    return -std::int32_t(std::int64_t(logPixelsY) * tenthsOfPoint / 720);
}

LogFont defaultLanguageFont(int logPixelsY)
{
    LogFont f;
    f.lfHeight = heightForTenthsOfPoint(140, logPixelsY);
    f.lfCharSet = DEFAULT_CHARSET;
    f.setFaceName(u"FixedSys");
    return f;
}

std::u16string languageFontKey(std::uint32_t codePage)
{
    std::u16string key = u"Font";
    for (char c : std::to_string(codePage))
        key.push_back(char16_t(c));
    return key;
}

} // namespace doc
