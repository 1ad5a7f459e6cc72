#include "platform/profile/IniText.h"

#include <gtest/gtest.h>

#include <random>

using platform::profile::IniEntry;
using platform::profile::IniText;

namespace {

std::u16string valueOr(const IniText& text, std::u16string_view section, std::u16string_view key)
{
    return text.value(section, key).value_or(u"<missing>");
}

} // namespace

TEST(ProfileIniText, NamesMatchWithoutRegardToCase)
{
    const IniText text("[Settings]\nCodePage=932\n[Café]\nÉlan=1\n[Ａｂ]\nｘ=2\n");
    EXPECT_EQ(valueOr(text, u"SETTINGS", u"codepage"), u"932");
    EXPECT_EQ(valueOr(text, u"  settings\t", u" CODEPAGE "), u"932");
    EXPECT_EQ(valueOr(text, u"CAFÉ", u"élan"), u"1");
    EXPECT_EQ(valueOr(text, u"ａＢ", u"Ｘ"), u"2");  // full-width letters fold too
    EXPECT_FALSE(text.value(u"Settings", u"Code Page"));
    EXPECT_FALSE(text.value(u"Other", u"CodePage"));
    EXPECT_FALSE(text.value(u"Settings", u""));
}

TEST(ProfileIniText, SimpleFoldingDoesNotExpandSharpS)
{
    const IniText text("[S]\nstraße=1\n");
    EXPECT_EQ(valueOr(text, u"s", u"STRASSE"), u"<missing>");
    EXPECT_EQ(valueOr(text, u"s", u"STRAẞE"), u"1");  // capital sharp s folds to ß
}

TEST(ProfileIniText, LayoutIsReadAsWindowsReadsIt)
{
    const IniText text(
        "Orphan=before any section\n"
        "  [ Settings ]  trailing words\n"
        "; Ncr=9\n"
        "no equals sign here\n"
        "  Ncr  =  1  \n"
        "Pattern=a=b;c\n"
        "Quoted=\"  x  \"\n"
        "Half=\"x\n"
        "Ncr=2\n"
        "[Settings]\n"
        "Ja=1\n");
    EXPECT_FALSE(text.value(u"", u"Orphan"));
    EXPECT_EQ(valueOr(text, u"Settings", u"Ncr"), u"1");  // first occurrence wins
    EXPECT_EQ(valueOr(text, u"Settings", u"Pattern"), u"a=b;c");
    EXPECT_EQ(valueOr(text, u"Settings", u"Quoted"), u"  x  ");
    EXPECT_EQ(valueOr(text, u"Settings", u"Half"), u"\"x");
    EXPECT_EQ(valueOr(text, u"Settings", u"Ja"), u"1");  // second block of the same section
    EXPECT_FALSE(text.value(u"Settings", u"; Ncr"));
}

TEST(ProfileIniText, ValuesThatTrimmingOrQuotesWouldAlterRoundTripUnchanged)
{
    IniText text("");
    const std::u16string values[] = {
        u"", u" ", u"  lead", u"trail\t", u"\"quoted\"", u"\"", u"\"\"", u"\" x \"", u"a\"b\"",
        u"C:\\path\\x.txt", u"; not a comment", u"[not a section]", u"x=y",
        std::u16string(u"nul\0inside", 10),
    };
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::u16string key = u"k" + std::u16string(1, static_cast<char16_t>(u'a' + i));
        ASSERT_TRUE(text.setValue(u"S", key, values[i]));
        EXPECT_EQ(valueOr(IniText(text.bytes()), u"S", key), values[i]) << i;
    }
    // Plain values are stored as they are; only the ones that need it get quotes.
    IniText check("");
    check.setValue(u"S", u"Plain", u"a b");
    check.setValue(u"S", u"Spaced", u" a ");
    EXPECT_EQ(check.bytes(), "[S]\nPlain=a b\nSpaced=\" a \"\n");
}

TEST(ProfileIniText, JapaneseAndAstralTextRoundTrips)
{
    IniText text("");
    const std::u16string value = u"日本語の検索パターン　全角空白と絵文字😀";
    ASSERT_TRUE(text.setValue(u"最近の置換", u"置換1", value));
    const IniText reread(text.bytes());
    EXPECT_EQ(valueOr(reread, u"最近の置換", u"置換1"), value);
    EXPECT_EQ(text.bytes(), "[最近の置換]\n置換1=日本語の検索パターン　全角空白と絵文字😀\n");
}

TEST(ProfileIniText, UnpairedSurrogateInAValueBecomesReplacementCharacter)
{
    IniText text("");
    ASSERT_TRUE(text.setValue(u"S", u"K", std::u16string(u"a") + char16_t(0xD800) + u"b"));
    EXPECT_EQ(valueOr(IniText(text.bytes()), u"S", u"K"), u"a\uFFFDb");
    EXPECT_FALSE(text.setValue(u"S", std::u16string(1, char16_t(0xDC00)), u"v"));
}

TEST(ProfileIniText, NamesAndValuesThatCannotBeStoredAreRefusedWithoutChange)
{
    const std::string original = "[S]\nk=1\n";
    IniText text(original);
    EXPECT_FALSE(text.setValue(u"S", u"k", u"two\nlines"));     // would forge a new line
    EXPECT_FALSE(text.setValue(u"S", u"k", u"x\r\n[Evil]\ny=1"));
    EXPECT_FALSE(text.setValue(u"S", u"a=b", u"1"));
    EXPECT_FALSE(text.setValue(u"S", u"[k", u"1"));
    EXPECT_FALSE(text.setValue(u"S", u";k", u"1"));
    EXPECT_FALSE(text.setValue(u"S", u"  ", u"1"));
    EXPECT_FALSE(text.setValue(u"S]", u"k", u"1"));
    EXPECT_FALSE(text.setValue(u"", u"k", u"1"));
    const IniEntry bad[] = {{u"ok", u"1"}, {u"k", u"line\nbreak"}};
    EXPECT_FALSE(text.replaceSection(u"S", bad));
    EXPECT_EQ(text.bytes(), original);
}

TEST(ProfileIniText, ChangingAValueKeepsEveryOtherByte)
{
    const std::string before =
        "\xEF\xBB\xBF; settings\r\n"
        "\r\n"
        "[Settings]\r\n"
        "  codepage = 932   \r\n"
        "Ncr=0\n"              // a lone LF line end in a CR LF file stays as it is
        "junk line \x01\x02\r\n"
        "\r\n"
        "[Recent File List]\r\n"
        "File1=/tmp/a.txt";    // no final line end
    IniText text(before);
    ASSERT_TRUE(text.setValue(u"SETTINGS", u"CodePage", u"65001"));
    std::string expected = before;
    expected.replace(expected.find("932   "), 6, "65001");
    EXPECT_EQ(text.bytes(), expected);  // key spelling and spacing kept, BOM kept
}

TEST(ProfileIniText, NewKeysGoToTheEndOfTheirSectionBeforeItsBlankLines)
{
    IniText text("[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2");
    ASSERT_TRUE(text.setValue(u"a", u"New", u"3"));
    ASSERT_TRUE(text.setValue(u"b", u"Last", u"4"));
    EXPECT_EQ(text.bytes(), "[A]\r\nx=1\r\nNew=3\r\n\r\n\r\n[B]\r\ny=2\r\nLast=4\r\n");
}

TEST(ProfileIniText, NewSectionsGoToTheEndAfterABlankLine)
{
    IniText text("[A]\nx=1");
    ASSERT_TRUE(text.setValue(u"Settings", u"TabStops", u"4"));
    EXPECT_EQ(text.bytes(), "[A]\nx=1\n\n[Settings]\nTabStops=4\n");

    IniText empty("");
    ASSERT_TRUE(empty.setValue(u"Settings", u"TabStops", u"4"));
    EXPECT_EQ(empty.bytes(), "[Settings]\nTabStops=4\n");
}

TEST(ProfileIniText, RemovingTakesEveryOccurrence)
{
    IniText text("[S]\nk=1\nK=2\nother=3\n[T]\nk=9\n[s]\nk=4\n");
    ASSERT_TRUE(text.removeKey(u"S", u"k"));
    EXPECT_EQ(text.bytes(), "[S]\nother=3\n[T]\nk=9\n[s]\n");
    EXPECT_FALSE(text.value(u"S", u"k"));

    ASSERT_TRUE(text.removeSection(u"s"));
    EXPECT_EQ(text.bytes(), "[T]\nk=9\n");
    ASSERT_TRUE(text.removeSection(u"Absent"));
    EXPECT_EQ(text.bytes(), "[T]\nk=9\n");
}

TEST(ProfileIniText, ReplacingASectionLeavesExactlyTheNewEntries)
{
    IniText text(
        "[Recent File List]\n; old comment\nFile1=a\nFile2=b\nFile3=c\nFile4=d\n\n"
        "[Settings]\nTabStops=8\n"
        "[recent file list]\nFile9=stale\n");
    const IniEntry entries[] = {{u"File1", u"/home/u/新規.txt"}, {u"File2", u"a"}};
    ASSERT_TRUE(text.replaceSection(u"Recent File List", entries));
    EXPECT_EQ(text.bytes(),
              "[Recent File List]\nFile1=/home/u/新規.txt\nFile2=a\n\n"
              "[Settings]\nTabStops=8\n");

    ASSERT_TRUE(text.replaceSection(u"Recent File List", {}));
    EXPECT_EQ(text.bytes(), "[Recent File List]\n\n[Settings]\nTabStops=8\n");
    ASSERT_TRUE(text.replaceSection(u"New", entries));
    EXPECT_EQ(valueOr(text, u"new", u"file1"), u"/home/u/新規.txt");
}

TEST(ProfileIniText, AnUnclosedHeaderHidesItsLinesInsteadOfLeakingThem)
{
    const std::string before = "[Settings]\nTabStops=4\n[Settings\nTabStops=99\nJa=1\n";
    IniText text(before);
    EXPECT_EQ(valueOr(text, u"Settings", u"TabStops"), u"4");
    EXPECT_FALSE(text.value(u"Settings", u"Ja"));
    ASSERT_TRUE(text.setValue(u"Settings", u"Ja", u"0"));
    EXPECT_EQ(text.bytes(), "[Settings]\nTabStops=4\nJa=0\n[Settings\nTabStops=99\nJa=1\n");
}

TEST(ProfileIniText, DamagedTextReadsWhatItCanAndKeepsTheRest)
{
    std::string before = "[S]\n";
    before += std::string("bad\xFF\xFE=1\n");                 // ill-formed UTF-8 key
    before += std::string("nul=a\0b\n", 8);                 // NUL inside a value
    before += "long=" + std::string(1 << 20, 'x') + "\n";   // a 1 MB line
    before += std::string("v=\xC3\n");                       // truncated sequence
    IniText text(before);
    EXPECT_EQ(valueOr(text, u"S", u"bad\uFFFD\uFFFD"), u"1");
    EXPECT_EQ(valueOr(text, u"S", u"nul"), std::u16string(u"a\0b", 3));
    EXPECT_EQ(text.value(u"S", u"long")->size(), std::size_t(1) << 20);
    EXPECT_EQ(valueOr(text, u"S", u"v"), u"\uFFFD");
    ASSERT_TRUE(text.setValue(u"S", u"new", u"1"));
    EXPECT_EQ(text.bytes(), before + "new=1\n");
}

TEST(ProfileIniText, RandomBytesNeverBreakReadsOrEdits)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    const char structural[] = "[]=;\r\n \"";
    for (int round = 0; round < 300; ++round) {
        std::string junk(static_cast<std::size_t>(random() % 400), '\0');
        for (char& c : junk)
            c = (random() % 3 == 0) ? structural[random() % 8] : static_cast<char>(byte(random));
        IniText text(junk);
        ASSERT_EQ(text.bytes(), junk);  // parsing alone changes nothing
        text.value(u"S", u"k");
        ASSERT_TRUE(text.setValue(u"S", u"k", u"v"));
        ASSERT_EQ(valueOr(IniText(text.bytes()), u"S", u"k"), u"v") << round;
        ASSERT_TRUE(text.removeKey(u"S", u"k"));
        ASSERT_FALSE(IniText(text.bytes()).value(u"S", u"k")) << round;
    }
}
