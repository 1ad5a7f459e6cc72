// What the regular-expression object does with input at its limits: very long patterns,
// lone surrogates, results that would grow too large, and errors that say where.

#include "platform/regexp/RegExp.h"

#include <gtest/gtest.h>

using platform::regexp::RegExp;

namespace {

RegExp::Result run(std::u16string_view pattern, std::u16string_view text,
                   std::u16string_view replacement, bool global = true)
{
    RegExp re;
    re.setPattern(pattern);
    re.setGlobal(global);
    return re.replace(text, replacement);
}

} // namespace

TEST(RegExpLimits, LongPatternsLoneSurrogatesAndHugeResults)
{
    // A long pattern compiles and runs; one of 65,535 units is beyond what PCRE2 (built
    // with two-byte links) compiles, and says so.
    const std::u16string longPattern(16000, u'a');
    auto r = run(longPattern, u"b" + longPattern + u"b", u"x");
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.text, u"bxb");
    r = run(std::u16string(65535, u'a'), u"a", u"x");
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->description, u"パターンが大きすぎるか複雑すぎて処理できません。");

    // Nesting that deep is refused with a message instead of exhausting the stack.
    r = run(std::u16string(65535, u'('), u"a", u"x");
    ASSERT_TRUE(r.error);
    EXPECT_NE(r.error->description.find(u"入れ子"), std::u16string::npos);

    // A lone surrogate in the pattern matches that unit, also inside a pair.
    r = run(u"\xD83D", u"a\xD83D\xDE00\xD83D", u"-");
    ASSERT_FALSE(r.error);
    EXPECT_EQ(r.text, u"a-\xDE00-");

    // A replacement ending in a backslash keeps it.
    r = run(u"b", u"abc", u"\\");
    EXPECT_EQ(r.text, u"a\\c");

    // A result beyond the limit is refused early: 20,000 matches each copying the text
    // before them would make 200 million units.
    r = run(u"a", std::u16string(20000, u'a'), u"$`");
    ASSERT_TRUE(r.error);
    EXPECT_TRUE(r.text.empty());
    EXPECT_NE(r.error->description.find(u"大きすぎ"), std::u16string::npos);
    r = run(u"a", std::u16string(RegExp::maxResultUnits(), u'a'), u"aa", false);
    EXPECT_TRUE(r.error);
    r = run(u"a", std::u16string(RegExp::maxResultUnits(), u'a'), u"", false);
    EXPECT_FALSE(r.error);

    // Errors name the source and the position of what is wrong.
    r = run(u"ab(cd", u"", u"");
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->source, u"正規表現");
    EXPECT_EQ(r.error->description, u"3 文字目: 「(」に対応する「)」がありません。");
    r = run(u"x[z-a]", u"", u"");
    EXPECT_EQ(r.error->description, u"3 文字目: 文字クラスの範囲「z-a」の順序が逆です。");
    r = run(u"a**", u"", u"");
    EXPECT_EQ(r.error->description, u"3 文字目: 繰り返し「*」の前に繰り返す対象がありません。");
    r = run(u"(?i)a", u"", u"");
    EXPECT_EQ(r.error->description, u"1 文字目: 「(?i」で始まるグループは使えません。");
}

TEST(RegExpLimits, OptionsChangedAfterUseTakeEffect)
{
    RegExp re;
    re.setPattern(u"^a");
    EXPECT_EQ(re.replace(u"b\na", u"x").text, u"b\na");
    re.setMultiline(true);
    EXPECT_EQ(re.replace(u"b\na", u"x").text, u"b\nx");
    re.setIgnoreCase(true);
    EXPECT_EQ(re.replace(u"b\nA", u"x").text, u"b\nx");
    re.setPattern(u"b");
    re.setGlobal(true);
    EXPECT_EQ(re.replace(u"bB", u"x").text, u"xx");
}
