#include "view/TextConversions.h"

#include <gtest/gtest.h>

#include <random>

using namespace view;

namespace {

std::u16string normalized(std::u16string_view s)
{
    const std::size_t n = NormalizeLineEnds(s, nullptr);
    std::u16string out(n + 1, u'?');
    EXPECT_EQ(NormalizeLineEnds(s, out.data()), n);
    EXPECT_EQ(out[n], u'\0');
    out.resize(n);
    return out;
}

} // namespace

TEST(NormalizeLineEnds, EveryKindOfLineEndBecomesOneCrLf)
{
    const struct { std::u16string_view in, out; } cases[] = {
        {u"", u""},
        {u"abc", u"abc"},
        {u"a\r\nb", u"a\r\nb"},
        {u"a\nb", u"a\r\nb"},
        {u"a\rb", u"a\r\nb"},
        {u"x\r", u"x\r\n"},
        {u"\n\n", u"\r\n\r\n"},
        {u"\r\n\r", u"\r\n\r\n"},
        {u"a\r\r\nb", u"a\r\n\r\nb"},
        {u"a\n\rb", u"a\r\n\r\nb"},
        {u"\r\r\r", u"\r\n\r\n\r\n"},
        {u"\n\r\n", u"\r\n\r\n"},
        {std::u16string_view(u"a\0\nb", 4), std::u16string_view(u"a\0\r\nb", 5)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalized(c.in), c.out) << testing::PrintToString(std::u16string(c.in));
}

TEST(NormalizeLineEnds, RandomTextsKeepTheirLinesAndEverythingElse)
{
    // Model: split at CR LF, lone CR and lone LF, rejoin with CR LF.
    std::mt19937 rng(7);
    const char16_t alphabet[] = {u'a', u'\r', u'\n', u'\0', 0xD800};
    for (int round = 0; round < 2000; ++round) {
        std::u16string s;
        for (int i = int(rng() % 12); i > 0; --i)
            s += alphabet[rng() % 5];
        std::u16string model;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')
                ++i;
            model += (s[i] == u'\r' || s[i] == u'\n') ? std::u16string(u"\r\n")
                                                      : std::u16string(1, s[i]);
        }
        ASSERT_EQ(normalized(s), model);
        ASSERT_LE(model.size(), 2 * s.size());
    }
}

TEST(NumericCharRefs, EachCharacterButCrAndLfBecomesAReferenceThatReadsBackAsIt)
{
    // A pair is one code point (what an HTML or XML reader turns the reference back into);
    // lone halves, in either order, keep a reference to the unit.
    const struct { std::u16string_view in, dec, hex; } cases[] = {
        {u"A", u"&#65;", u"&#x0041;"},
        {u" \t", u"&#32;&#9;", u"&#x0020;&#x0009;"},
        {u"ab\r\ncd", u"&#97;&#98;\r\n&#99;&#100;", u"&#x0061;&#x0062;\r\n&#x0063;&#x0064;"},
        {u"\U0001F600", u"&#128512;", u"&#x1F600;"},
        {u"\U00010000\U0010FFFF", u"&#65536;&#1114111;", u"&#x10000;&#x10FFFF;"},
        {u"\xDE00\xD83Dx\xD83D", u"&#56832;&#55357;&#120;&#55357;", u"&#xDE00;&#xD83D;&#x0078;&#xD83D;"},
        {u"\xD83D\xD83D\xDE00", u"&#55357;&#128512;", u"&#xD83D;&#x1F600;"},
        {u"\xFFFF\x3042", u"&#65535;&#12354;", u"&#xFFFF;&#x3042;"},
        {u"\n\r", u"\n\r", u"\n\r"},
        {std::u16string_view(u"\0", 1), u"&#0;", u"&#x0000;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumericCharRefs(c.in, false), c.dec);
        EXPECT_EQ(NumericCharRefs(c.in, true), c.hex);
    }
}

TEST(CodeInput, TheNumberIsReadAsWcstoulWithBaseZero)
{
    const struct { std::u16string_view in; std::uint32_t value; bool inserts; } cases[] = {
        {u"12354", 12354, true},     {u"0x3042", 0x3042, true},  {u"030102", 0x3042, true},
        {u"0X3042", 0x3042, true},   {u"65", 65, true},          {u"0x41zz", 0x41, true},
        {u"  \t+65", 65, true},      {u"0xD800", 0xD800, true},  {u"65535", 65535, true},
        {u"0xffff", 0xFFFF, true},   {u"1", 1, true},            {u"077", 63, true},
        {u"0", 0, false},            {u"abc", 0, false},         {u"0x10000", 0x10000, false},
        {u"-1", 4294967295u, false}, {u"", 0, false},            {u" ", 0, false},
        {u"0x", 0, false},           {u"-0", 0, false},          {u"08", 0, false},
        {u"4294967295", 4294967295u, false},  {u"4294967296", 4294967295u, false},
        {u"99999999999", 4294967295u, false}, {u"-4294967296", 4294967295u, false},
        {u"-4294967295", 1, true},   {u"\xFF11\xFF12", 0, false}, {u"12 34", 12, true},
        {u"+-1", 0, false},          {u"- 1", 0, false},         {u"0x0x1", 0, false},
    };
    for (const auto& c : cases) {
        const std::string name = testing::PrintToString(std::u16string(c.in));
        EXPECT_EQ(ReadCodeNumber(c.in), c.value) << name;
        EXPECT_EQ(CodeInputUnit(c.in).has_value(), c.inserts) << name;
        if (c.inserts) {
            EXPECT_EQ(*CodeInputUnit(c.in), char16_t(c.value)) << name;
        }
    }
}

TEST(DateTimeText, TheWeekdayIsInTheLanguageOfTheCodePage)
{
    // Sunday 2026-03-01 09:05, and the other days by their number.
    const LocalTime sunday{2026, 3, 1, 9, 5, 0};
    const struct { std::uint32_t page; std::u16string_view text; } cases[] = {
        {932, u"09:05 2026/03/01 日曜日"},   {936, u"09:05 2026/03/01 星期日"},
        {949, u"09:05 2026/03/01 일요일"},   {950, u"09:05 2026/03/01 星期日"},
        {1252, u"09:05 2026/03/01 Sunday"}, {65001, u"09:05 2026/03/01 Sunday"},
        {0, u"09:05 2026/03/01 Sunday"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(sunday, c.page), c.text) << c.page;
    const char16_t* const ja[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日", u"木曜日", u"金曜日", u"土曜日"};
    const char16_t* const en[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    for (int d = 0; d < 7; ++d) {
        const LocalTime t{1999, 12, 31, 23, 59, d};
        EXPECT_EQ(FormatDateTime(t, 932), u"23:59 1999/12/31 " + std::u16string(ja[d]));
        EXPECT_EQ(FormatDateTime(t, 1252), u"23:59 1999/12/31 " + std::u16string(en[d]));
    }
    EXPECT_EQ(FormatDateTime({2026, 1, 5, 0, 0, 1}, 949), u"00:00 2026/01/05 월요일");
}
