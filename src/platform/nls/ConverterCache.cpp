// Opening an ICU converter parses its table, which costs far more than a conversion of a
// short string, so every converter is opened once per thread and reset between uses.

#include "platform/nls/ConverterCache.h"

#include <memory>
#include <vector>

#include <unicode/ucnv.h>

namespace platform::nls::detail {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

std::size_t indexOf(const PageEntry& page)
{
    return static_cast<std::size_t>(&page - pageTable().data());
}

ConverterPtr openConverter(const PageEntry& page)
{
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(page.icuName, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setFallback(converter.get(), true);
    return converter;
}

const std::vector<bool>& installedFlags()
{
    static const std::vector<bool> flags = [] {
        std::vector<bool> result;
        for (const PageEntry& page : pageTable())
            result.push_back(openConverter(page) != nullptr);
        return result;
    }();
    return flags;
}

} // namespace

bool isInstalled(const PageEntry& page)
{
    return installedFlags()[indexOf(page)];
}

UConverter* converterFor(const PageEntry& page)
{
    if (!isInstalled(page))
        return nullptr;
    thread_local std::vector<ConverterPtr> converters(pageTable().size());
    ConverterPtr& slot = converters[indexOf(page)];
    if (!slot)
        slot = openConverter(page);
    else
        ucnv_reset(slot.get());
    return slot.get();
}

} // namespace platform::nls::detail
