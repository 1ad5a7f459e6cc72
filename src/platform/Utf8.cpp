#include "platform/Utf8.h"

#include <unicode/ustring.h>

namespace platform {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// Measures, then fills: ICU writes no more than it is given room for.
template <typename Out, typename Convert>
Out converted(std::size_t capacityGuess, Convert convert, bool* ok)
{
    Out out(capacityGuess, typename Out::value_type());
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    convert(out.data(), int32_t(out.size()), &length, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.assign(std::size_t(length), typename Out::value_type());
        status = U_ZERO_ERROR;
        convert(out.data(), int32_t(out.size()), &length, &status);
    }
    *ok = U_SUCCESS(status);
    out.resize(*ok ? std::size_t(length) : 0);
    return out;
}

} // namespace

std::string toUtf8(std::u16string_view s)
{
    bool ok = false;
    return converted<std::string>(
        s.size() * 3,
        [s](char* dest, int32_t capacity, int32_t* length, UErrorCode* status) {
            u_strToUTF8WithSub(dest, capacity, length, s.data(), int32_t(s.size()), kReplacement,
                               nullptr, status);
        },
        &ok);
}

bool fromUtf8(std::string_view bytes, std::u16string* out)
{
    bool ok = false;
    std::u16string units = converted<std::u16string>(
        bytes.size(),
        [bytes](char16_t* dest, int32_t capacity, int32_t* length, UErrorCode* status) {
            u_strFromUTF8(dest, capacity, length, bytes.data(), int32_t(bytes.size()), status);
        },
        &ok);
    if (ok)
        *out = std::move(units);
    return ok;
}

std::u16string fromUtf8Lenient(std::string_view bytes)
{
    bool ok = false;
    return converted<std::u16string>(
        bytes.size(),
        [bytes](char16_t* dest, int32_t capacity, int32_t* length, UErrorCode* status) {
            u_strFromUTF8WithSub(dest, capacity, length, bytes.data(), int32_t(bytes.size()),
                                 kReplacement, nullptr, status);
        },
        &ok);
}

bool isWellFormedUtf8(std::string_view bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), int32_t(bytes.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

} // namespace platform
