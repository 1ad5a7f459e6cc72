// What the program can ask about code pages: which are installed, their names and their
// extended information. The conversions themselves live in Conversions.cpp.

#include "platform/nls/CodePages.h"

#include <algorithm>
#include <string>

#include <unicode/ucnv.h>

#include "platform/nls/CodePageTable.h"
#include "platform/nls/ConverterCache.h"

namespace platform::nls {

using detail::PageEntry;
using detail::PageKind;

namespace {

const PageEntry* installedPage(CodePage cp)
{
    const PageEntry* page = detail::findPage(cp);
    return page && detail::isInstalled(*page) ? page : nullptr;
}

// The number left-aligned in a field of six, so the names line up in a list: "932   (",
// "65001 (".
std::u16string formatName(const PageEntry& page)
{
    const std::string number = std::to_string(page.codePage);
    const std::u16string_view label(page.label);
    std::u16string name(number.begin(), number.end());
    name.resize(std::max<std::size_t>(number.size() + 1, 6), u' ');
    name.reserve(name.size() + label.size() + 2);
    name.push_back(u'(');
    name.append(label.begin(), label.end());
    name.push_back(u')');
    return name;
}

int maxCharSize(const PageEntry& page, UConverter* converter)
{
    // ICU counts bytes per UTF-16 unit (3 for UTF-8); Windows counts per character.
    if (page.kind == PageKind::Utf8 || page.kind == PageKind::Gb18030)
        return 4;
    if (page.kind == PageKind::Utf7)
        return 5;
    return ucnv_getMaxCharSize(converter);
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> leadByteRanges(const PageEntry& page,
                                                                  UConverter* converter)
{
    std::vector<std::pair<std::uint8_t, std::uint8_t>> ranges;
    if (page.kind != PageKind::DoubleByte)
        return ranges;
    UBool starters[256] = {};
    UErrorCode status = U_ZERO_ERROR;
    ucnv_getStarters(converter, starters, &status);
    if (U_FAILURE(status))
        return ranges;
    for (int b = 0; b < 256; ++b) {
        if (!starters[b])
            continue;
        if (!ranges.empty() && ranges.back().second + 1 == b)
            ranges.back().second = static_cast<std::uint8_t>(b);
        else
            ranges.emplace_back(static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(b));
    }
    return ranges;
}

} // namespace

const std::vector<CodePage>& installedCodePages()
{
    static const std::vector<CodePage> pages = [] {
        std::vector<CodePage> result;
        for (const PageEntry& page : detail::pageTable())
            if (detail::isInstalled(page))
                result.push_back(page.codePage);
        return result;
    }();
    return pages;
}

bool isValidCodePage(CodePage cp)
{
    return installedPage(cp) != nullptr;
}

std::optional<CodePageInfo> codePageInfo(CodePage cp)
{
    const PageEntry* page = installedPage(cp);
    if (!page)
        return std::nullopt;
    UConverter* converter = detail::converterFor(*page);
    CodePageInfo info;
    info.codePage = page->codePage;
    info.maxCharSize = maxCharSize(*page, converter);
    info.defaultChar.assign(1, '?');
    info.unicodeDefaultChar = page->unicodeDefaultChar;
    info.leadByteRanges = leadByteRanges(*page, converter);
    info.name = formatName(*page);
    return info;
}

std::u16string codePageName(CodePage cp)
{
    const PageEntry* page = installedPage(cp);
    return page ? formatName(*page) : std::u16string();
}

} // namespace platform::nls
