#include "view/ViewSettings.h"

#include "platform/nls/CodePages.h"

#include <cassert>
#include <cstdlib>

namespace view {

const ViewSettingRule& viewSettingRule(std::u16string_view key)
{
    for (const ViewSettingRule& rule : kViewSettingRules)
        if (rule.key == key)
            return rule;
    assert(!"a view setting missing from the table");
    std::abort();
}

std::int32_t repairViewSetting(const ViewSettingRule& rule, std::int32_t stored)
{
    switch (rule.repair) {
    case SettingRepair::Keep:
    case SettingRepair::DefaultUnlessDrawable:
        return stored;
    case SettingRepair::OneIfNonZero:
        return stored != 0 ? 1 : 0;
    case SettingRepair::DefaultOutsideRange:
        return stored >= rule.low && stored <= rule.high ? stored : rule.defaultValue;
    case SettingRepair::DefaultUnlessInstalled:
        return platform::nls::isValidCodePage(std::uint32_t(stored)) ? stored : rule.defaultValue;
    }
    return rule.defaultValue;
}

std::optional<doc::LogFont> repairFontRecord(std::span<const std::uint8_t> stored)
{
    const auto record = doc::LogFont::fromBytes(stored);
    if (!record || std::llabs(record->lfHeight) > kMaxFontPixels)
        return std::nullopt;
    return record;
}

} // namespace view
