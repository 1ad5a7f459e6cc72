#pragma once
// QString and the engines' UTF-16 strings, in both directions, without a copy where a view
// will do. QString holds UTF-16 already, so nothing is converted.

#include <QString>

#include <string>
#include <string_view>

namespace platform {

inline QString toQString(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// A view of text's units; valid while text lives unchanged.
inline std::u16string_view utf16View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

inline std::u16string toU16String(const QString& text)
{
    return std::u16string(utf16View(text));
}

// A QString over s's units without a copy, for a call that only reads it (a measurement);
// valid while s lives unchanged.
inline QString rawQString(std::u16string_view s)
{
    return QString::fromRawData(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

} // namespace platform
