#include "view/RegexReplace.h"

#include <gtest/gtest.h>

using view::UnescapeReplacement;

TEST(RegexReplace, UnescapeReplacementExpandsTheSevenLettersAndDropsOtherBackslashes)
{
    const struct { std::u16string_view in, out; } cases[] = {
        {u"\\a\\b\\f\\n\\r\\t\\v", u"\a\b\f\n\r\t\v"},
        {u"\\\\", u"\\"},
        {u"\\\\n", u"\\n"},
        {u"x\\", u"x\\"},
        {u"\\", u"\\"},
        {u"\\N\\T\\$1\\x", u"NT$1x"},
        {u"\\r\\n", u"\r\n"},
        {u"a\\\xD83D\xDE00", u"a\xD83D\xDE00"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnescapeReplacement(c.in), c.out);
}

TEST(RegexReplace, ErrorsBecomeSourceAndDescription)
{
    view::RegexReplaceRequest request;
    request.pattern = u"(\\w+)@(\\w+)";
    request.replacement = u"$2 at $1";
    auto outcome = view::RunRegexReplace(request, u"me@home, you@work");
    EXPECT_FALSE(outcome.message);
    EXPECT_EQ(outcome.text, u"home at me, work at you");

    request.pattern = u"(a";
    outcome = view::RunRegexReplace(request, u"abc");
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, u"正規表現 - 1 文字目: 「(」に対応する「)」がありません。");
}
