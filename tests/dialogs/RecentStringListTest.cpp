#include "dialogs/RecentStringList.h"

#include "../platform/profile/ProfileTestSupport.h"
#include "platform/profile/Profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<std::u16string> list(std::initializer_list<std::u16string> entries)
{
    return entries;
}

} // namespace

TEST(RecentStringList, AddMovesAnEqualEntryUpAndOtherwisePushesTheLastOut)
{
    CRecentStringList l(u"Recent Pattern List", u"pattern%d", 4);
    l.Add(u"a+");
    l.Add(u"b");
    l.Add(u"A+");  // case matters: a separate entry
    EXPECT_EQ(l.entries(), list({u"A+", u"b", u"a+", u""}));
    l.Add(u"a+");
    EXPECT_EQ(l.entries(), list({u"a+", u"A+", u"b", u""}));
    // An empty text takes the first empty entry's place.
    l.Add(u"");
    EXPECT_EQ(l.entries(), list({u"", u"a+", u"A+", u"b"}));
    // The last entry is not looked at: "b" comes in again and the old one drops off.
    l.Add(u"b");
    EXPECT_EQ(l.entries(), list({u"b", u"", u"a+", u"A+"}));

    // Against a model: remove an equal entry above the last, else the last; put in front.
    std::mt19937 rng(3);
    CRecentStringList r(u"S", u"k%d", 10);
    std::vector<std::u16string> model(10);
    for (int i = 0; i < 3000; ++i) {
        const std::u16string text(1, char16_t(u'a' + rng() % 14));
        auto it = std::find(model.begin(), model.end() - 1, text);
        model.erase(it);
        model.insert(model.begin(), text);
        r.Add(text);
        ASSERT_EQ(r.entries(), model);
    }
}

TEST(RecentStringList, WriteListLeavesGapsAndReadListFillsThemEmpty)
{
    profile_test::TempFolder folder;
    platform::profile::IniFile ini(folder.file("quillet.ini"));
    ini.writeString(u"Recent Pattern List", u"pattern12", u"stale");
    ini.writeString(u"Settings", u"Pattern", u"kept");

    CRecentStringList l(u"Recent Pattern List", u"pattern%d", 10);
    for (int i = 1; i <= 11; ++i)
        l.Add(u"p" + std::u16string(1, char16_t(u'0' + i % 10)));
    l.Add(u"");
    l.WriteList(ini);
    // Eleven patterns and an empty one: the empty entry is a gap at "pattern1".
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern1", u"-"), u"-");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern2", u""), u"p1");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern10", u""), u"p3");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern11", u"-"), u"-");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern12", u"-"), u"-");
    EXPECT_EQ(ini.readString(u"Settings", u"Pattern", u""), u"kept");

    CRecentStringList back(u"Recent Pattern List", u"pattern%d", 10);
    back.ReadList(ini);
    EXPECT_EQ(back.entries(), l.entries());

    CRecentStringList empty(u"Recent Pattern List", u"pattern%d", 10);
    empty.WriteList(ini);
    back.ReadList(ini);
    EXPECT_EQ(back.entries(), std::vector<std::u16string>(10));
}
