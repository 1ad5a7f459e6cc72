#include "view/ViewSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using view::repairFontRecord;
using view::repairViewSetting;
using view::viewSettingRule;

TEST(ViewSettings, EachStoredValueIsTakenOrPutRightByItsRule)
{
    struct Case {
        std::u16string_view key;
        std::int32_t stored;
        std::int32_t taken;
    };
    const Case cases[] = {
        {u"CodePage", 932, 932},       {u"CodePage", 65001, 65001}, {u"CodePage", 1252, 1252},
        {u"CodePage", 12345, 932},     {u"CodePage", 1200, 932},    {u"CodePage", 0, 932},
        {u"CodePage", -936, 932},      {u"CodePage", INT_MIN, 932},
        {u"LangSelect", 1, 1},         {u"LangSelect", 0, 0},       {u"LangSelect", 5, 5},
        {u"LangSelect", -1, -1},
        {u"TabStops", 8, 8},           {u"TabStops", 1, 1},         {u"TabStops", 65535, 65535},
        {u"TabStops", 0, 4},           {u"TabStops", 65536, 4},     {u"TabStops", -8, 4},
        {u"TabStops", INT_MAX, 4},
        {u"Ncr", 0, 0},                {u"Ncr", 1, 1},              {u"Ncr", 7, 1},
        {u"Ncr", -1, 1},
        {u"Ja", 0, 0},                 {u"Ja", 5, 1},               {u"Ja", INT_MIN, 1},
        {u"WordWrap", 0, 0},           {u"WordWrap", 1, 1},         {u"WordWrap", -2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(repairViewSetting(viewSettingRule(c.key), c.stored), c.taken)
            << std::string(c.key.begin(), c.key.end()) << "=" << c.stored;

    // A missing key reads as the default, which every rule takes as it is.
    for (const view::ViewSettingRule& rule : view::kViewSettingRules)
        EXPECT_EQ(repairViewSetting(rule, rule.defaultValue), rule.defaultValue)
            << std::string(rule.key.begin(), rule.key.end());
}

TEST(ViewSettings, AFontRecordCountsOnlyWithItsLengthAndADrawableHeight)
{
    struct Case {
        std::size_t bytes;
        std::int32_t height;
        bool taken;
    };
    const Case cases[] = {
        {92, -18, true},     {92, 0, true},         {92, 24, true},       {92, -2048, true},
        {92, 2048, true},    {92, -2049, false},    {92, 2049, false},    {92, INT_MIN, false},
        {92, INT_MAX, false}, {91, -18, false},     {93, -18, false},     {184, -18, false},
        {0, 0, false},
    };
    for (const Case& c : cases) {
        doc::LogFont record = doc::defaultLanguageFont(96);
        record.lfHeight = c.height;
        const auto full = record.toBytes();
        std::vector<std::uint8_t> bytes(full.begin(), full.end());
        bytes.resize(c.bytes, 0x41);
        const auto taken = repairFontRecord(bytes);
        EXPECT_EQ(taken.has_value(), c.taken) << c.bytes << " bytes, height " << c.height;
        if (taken) {
            EXPECT_EQ(*taken, record);
        }
    }
}
