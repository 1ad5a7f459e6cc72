// Which code pages are offered, in what order, under which names, with what information.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/nls/CodePages.h"

using namespace platform::nls;

namespace {

bool listed(CodePage cp)
{
    const auto& pages = installedCodePages();
    return std::find(pages.begin(), pages.end(), cp) != pages.end();
}

} // namespace

TEST(CodePageList, IsAscendingWithoutDuplicates)
{
    const auto& pages = installedCodePages();
    ASSERT_FALSE(pages.empty());
    EXPECT_TRUE(std::adjacent_find(pages.begin(), pages.end(),
                                   [](CodePage a, CodePage b) { return a >= b; }) == pages.end());
}

TEST(CodePageList, HoldsEveryPageTheProgramPromises)
{
    const CodePage required[] = {437,   850,   852,   866,   874,   932,   936,   949,
                                 950,   1250,  1251,  1252,  1253,  1254,  1255,  1256,
                                 1257,  1258,  10000, 20127, 20866, 20932, 21866, 28591,
                                 28592, 28593, 28594, 28595, 28596, 28597, 28598, 28599,
                                 28603, 28605, 50220, 51932, 51949, 54936, 65000, 65001};
    for (CodePage cp : required) {
        EXPECT_TRUE(listed(cp)) << cp;
        EXPECT_TRUE(isValidCodePage(cp)) << cp;
    }
}

TEST(CodePageList, LeavesOutWhatIsNotAByteCodePage)
{
    // UTF-16 is not a page this program can decode a file with; 0 and 1 are aliases the
    // conversions accept but that name no page of their own; 42 and 99999 do not exist.
    for (CodePage cp : {0u, 1u, 42u, 1200u, 1201u, 12000u, 99999u}) {
        EXPECT_FALSE(listed(cp)) << cp;
        EXPECT_FALSE(isValidCodePage(cp)) << cp;
        EXPECT_FALSE(codePageInfo(cp).has_value()) << cp;
        EXPECT_TRUE(codePageName(cp).empty()) << cp;
    }
}

TEST(CodePageNames, AreThoseOfAJapaneseSystem)
{
    EXPECT_EQ(codePageName(932), u"932   (ANSI/OEM - 日本語 Shift-JIS)");
    EXPECT_EQ(codePageName(65001), u"65001 (UTF-8)");
    EXPECT_EQ(codePageName(65000), u"65000 (UTF-7)");
    EXPECT_EQ(codePageName(1252), u"1252  (ANSI - ラテン I)");
    EXPECT_EQ(codePageName(936), u"936   (ANSI/OEM - 簡体字中国語 GBK)");
    EXPECT_EQ(codePageName(949), u"949   (ANSI/OEM - 韓国語 統合ハングル コード)");
    EXPECT_EQ(codePageName(950), u"950   (ANSI/OEM - 繁体字中国語 Big5)");
    EXPECT_EQ(codePageName(437), u"437   (OEM - アメリカ)");
    EXPECT_EQ(codePageName(20127), u"20127 (US-ASCII)");
    EXPECT_EQ(codePageName(51932), u"51932 (EUC - 日本語)");
}

TEST(CodePageNames, EveryListedPageHasANameWhoseParenthesisStartsAtColumnSeven)
{
    for (CodePage cp : installedCodePages()) {
        const std::u16string name = codePageName(cp);
        ASSERT_GT(name.size(), 8u) << cp;
        EXPECT_EQ(name[6], u'(') << cp;
        EXPECT_EQ(name.back(), u')') << cp;
        // The number itself comes first, then only padding.
        const std::string digits = std::to_string(cp);
        EXPECT_EQ(name.substr(0, digits.size()), std::u16string(digits.begin(), digits.end()));
        EXPECT_EQ(name.find_first_not_of(u' ', digits.size()), 6u) << cp;
        EXPECT_EQ(codePageInfo(cp)->name, name) << cp;
    }
}

TEST(CodePageInfo, ReportsTheDefaultCharacters)
{
    // Windows writes '?' for what a page cannot hold, and its double-byte tables decode an
    // unmapped code to the katakana middle dot.
    const auto sjis = codePageInfo(932);
    ASSERT_TRUE(sjis.has_value());
    EXPECT_EQ(sjis->codePage, 932u);
    EXPECT_EQ(sjis->defaultChar, "?");
    EXPECT_EQ(sjis->unicodeDefaultChar, u'\u30FB');
    EXPECT_EQ(codePageInfo(1252)->unicodeDefaultChar, u'?');
    EXPECT_EQ(codePageInfo(65001)->unicodeDefaultChar, u'\uFFFD');
    for (CodePage cp : installedCodePages())
        EXPECT_EQ(codePageInfo(cp)->defaultChar, "?") << cp;
}

TEST(CodePageInfo, DescribesTheByteStructure)
{
    const auto sjis = codePageInfo(932);
    EXPECT_EQ(sjis->maxCharSize, 2);
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> sjisLeads = {{0x81, 0x9F},
                                                                         {0xE0, 0xFC}};
    EXPECT_EQ(sjis->leadByteRanges, sjisLeads);

    const std::vector<std::pair<std::uint8_t, std::uint8_t>> wideLeads = {{0x81, 0xFE}};
    EXPECT_EQ(codePageInfo(936)->leadByteRanges, wideLeads);
    EXPECT_EQ(codePageInfo(949)->leadByteRanges, wideLeads);
    EXPECT_EQ(codePageInfo(950)->leadByteRanges, wideLeads);

    EXPECT_EQ(codePageInfo(1252)->maxCharSize, 1);
    EXPECT_TRUE(codePageInfo(1252)->leadByteRanges.empty());
    EXPECT_EQ(codePageInfo(65001)->maxCharSize, 4);
    EXPECT_TRUE(codePageInfo(65001)->leadByteRanges.empty());
    EXPECT_EQ(codePageInfo(65000)->maxCharSize, 5);
}
