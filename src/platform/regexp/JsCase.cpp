#include "platform/regexp/JsCase.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <array>
#include <vector>

namespace platform::regexp {

namespace {

struct CaseTables {
    std::array<char16_t, 0x10000> canon{};
    std::vector<char16_t> cased;
    // For each unit u, the units mapping to it: preimages[firstPreimage[u] ..
    // firstPreimage[u + 1]).
    std::vector<std::uint32_t> firstPreimage;
    std::vector<char16_t> preimages;

    CaseTables()
    {
        std::vector<bool> touched(0x10000, false);
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            const UChar in = UChar(u);
            UChar out[4];
            UErrorCode status = U_ZERO_ERROR;
            // Root locale: no Turkish or Lithuanian rules.
            const int32_t n = u_strToUpper(out, 4, &in, 1, "", &status);
            char16_t c = char16_t(u);
            if (U_SUCCESS(status) && n == 1 && !(u >= 128 && out[0] < 128))
                c = char16_t(out[0]);
            canon[u] = c;
            if (c != u) {
                touched[u] = true;
                touched[c] = true;
            }
        }
        for (std::uint32_t u = 0; u < 0x10000; ++u)
            if (touched[u])
                cased.push_back(char16_t(u));
        std::vector<std::uint32_t> count(0x10001, 0);
        for (std::uint32_t u = 0; u < 0x10000; ++u)
            if (canon[u] != u)
                ++count[canon[u]];
        firstPreimage.assign(0x10001, 0);
        for (std::uint32_t u = 0; u < 0x10000; ++u)
            firstPreimage[u + 1] = firstPreimage[u] + count[u];
        preimages.resize(firstPreimage[0x10000]);
        std::vector<std::uint32_t> fill(firstPreimage.begin(), firstPreimage.end() - 1);
        for (std::uint32_t u = 0; u < 0x10000; ++u)
            if (canon[u] != u)
                preimages[fill[canon[u]]++] = char16_t(u);
    }
};

const CaseTables& tables()
{
    static const CaseTables t;
    return t;
}

} // namespace

char16_t jsCanonicalize(char16_t unit)
{
    return tables().canon[unit];
}

std::span<const char16_t> jsCasedUnits()
{
    return tables().cased;
}

std::span<const char16_t> jsUnitsCanonicalizingTo(char16_t canonical)
{
    const CaseTables& t = tables();
    return std::span<const char16_t>(t.preimages)
        .subspan(t.firstPreimage[canonical], t.firstPreimage[canonical + 1u] - t.firstPreimage[canonical]);
}

} // namespace platform::regexp
