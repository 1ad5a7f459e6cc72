#include "res/Resource.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace res;

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isFullWidthKatakana(char16_t c) { return c >= 0x30A1 && c <= 0x30FA; }

std::size_t countOf(std::u16string_view text, std::u16string_view part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::u16string_view::npos;
         at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The program's table and the framework's, which loadString searches too.
std::vector<StringEntry> allStrings()
{
    std::vector<StringEntry> all(stringTable().begin(), stringTable().end());
    const auto framework = platform::fx::frameworkStringTable();
    all.insert(all.end(), framework.begin(), framework.end());
    return all;
}

} // namespace

TEST(StringTable, EveryEntryIsFoundByItsIdAndAbsentIdsGiveNothing)
{
    std::set<unsigned> seen;
    for (const StringEntry& e : allStrings()) {
        EXPECT_TRUE(seen.insert(e.id).second) << "id " << e.id << " occurs twice";
        EXPECT_EQ(loadString(e.id), e.text) << "id " << e.id;
        EXPECT_EQ(loadString(e.id).data(), e.text.data()) << "id " << e.id;
    }
    // Below the first, between entries, a command without a prompt, above the last.
    for (unsigned absent : {0u, 127u, 32781u, ID_IMPORT_UNICODE, ID_NOTHING, 57602u, 99999u})
        EXPECT_TRUE(loadString(absent).empty()) << "id " << absent;
}

TEST(StringTable, TextsAreWellFormedUtf16WithoutCarriageReturnsOrNuls)
{
    for (const StringEntry& e : allStrings()) {
        ASSERT_FALSE(e.text.empty()) << "id " << e.id;
        for (std::size_t i = 0; i < e.text.size(); ++i) {
            const char16_t c = e.text[i];
            EXPECT_NE(c, u'\r') << "id " << e.id << " at " << i;
            EXPECT_NE(c, u'\0') << "id " << e.id << " at " << i;
            EXPECT_NE(c, u'\t') << "id " << e.id << " at " << i;
            if (isHighSurrogate(c)) {
                ASSERT_LT(i + 1, e.text.size()) << "id " << e.id;
                EXPECT_TRUE(isLowSurrogate(e.text[++i])) << "id " << e.id;
            } else {
                EXPECT_FALSE(isLowSurrogate(c)) << "id " << e.id << " at " << i;
            }
        }
    }
}

// The framework's texts are written in half-width katakana; a full-width "ファイル" among them
// is a typo the user would see next to the correct ones.
TEST(StringTable, FrameworkMessagesUseHalfWidthKatakanaOnly)
{
    for (const StringEntry& e : allStrings()) {
        if (e.id < AFX_IDS_OPENFILE)
            continue;
        for (char16_t c : e.text)
            EXPECT_FALSE(isFullWidthKatakana(c)) << "id " << e.id;
    }
    EXPECT_EQ(loadString(AFX_IDS_UNNAMED_FILE), u"無題の\uFF8C\uFF67\uFF72\uFF99");
    EXPECT_EQ(loadString(AFX_IDS_ALLFILTER), u"すべての\uFF8C\uFF67\uFF72\uFF99 (*.*)");
    EXPECT_EQ(loadString(AFX_IDP_FILE_TOO_LARGE),
              u"\uFF8C\uFF67\uFF72\uFF99が大きすぎて開けません。");
    EXPECT_EQ(loadString(AFX_IDP_FAILED_TO_CREATE_DOC),
              u"空の\uFF84\uFF9E\uFF77\uFF6D\uFF92\uFF9D\uFF84の作成に失敗しました。");
    EXPECT_EQ(loadString(AFX_IDS_UNTITLED), u"無題");
}

TEST(StringTable, FileErrorMessagesNameThePathExactlyOnce)
{
    EXPECT_EQ(countOf(loadString(AFX_IDP_FILE_NONE), u"%"), 0u);
    for (unsigned id = AFX_IDP_FILE_GENERIC; id <= AFX_IDP_FILE_EOF; ++id) {
        const std::u16string_view text = loadString(id);
        ASSERT_FALSE(text.empty()) << "id " << id;
        EXPECT_EQ(countOf(text, u"%1"), 1u) << "id " << id;
        EXPECT_EQ(countOf(text, u"%"), 1u) << "id " << id;
    }
}

TEST(StringTable, PromptsHaveAStatusTextAndAtMostOneTooltip)
{
    for (const StringEntry& e : stringTable()) {
        const bool command = (e.id >= ID_OWN_COMMAND_FIRST && e.id <= ID_OWN_COMMAND_LAST) ||
                             (e.id >= ID_FRAMEWORK_COMMAND_FIRST && e.id < ID_INDICATOR_EXT) ||
                             e.id == ID_VIEW_TOOLBAR || e.id == ID_VIEW_STATUS_BAR;
        if (!command)
            continue;
        EXPECT_LE(countOf(e.text, u"\n"), 1u) << "id " << e.id;
        const Prompt p = commandPrompt(e.id);
        EXPECT_FALSE(p.statusText.empty()) << "id " << e.id;
    }
    const Prompt newFile = commandPrompt(ID_FILE_NEW);
    EXPECT_EQ(newFile.statusText, u"新規にファイルを作成");
    EXPECT_EQ(newFile.tooltip, u"新規ファイル");
    // A recent-file entry has a status text and no tooltip.
    EXPECT_FALSE(commandPrompt(ID_FILE_MRU_FILE2).statusText.empty());
    EXPECT_TRUE(commandPrompt(ID_FILE_MRU_FILE2).tooltip.empty());
    const Prompt none = commandPrompt(ID_INSERT_TAB);
    EXPECT_TRUE(none.statusText.empty());
    EXPECT_TRUE(none.tooltip.empty());
}

TEST(StringTable, DocumentTypeStringHasItsSevenFields)
{
    const std::u16string_view doc = loadString(IDR_MAINFRAME);
    std::vector<std::u16string_view> fields;
    std::size_t start = 0;
    for (std::size_t lf = doc.find(u'\n'); lf != std::u16string_view::npos;
         start = lf + 1, lf = doc.find(u'\n', start))
        fields.push_back(doc.substr(start, lf - start));
    fields.push_back(doc.substr(start));
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[0], loadString(AFX_IDS_APP_TITLE));
    EXPECT_EQ(fields[3], u"テキスト ファイル (*.txt)");
    EXPECT_EQ(fields[4], u".txt");
    // No file-type id: nothing is ever registered with the desktop for it.
    EXPECT_TRUE(fields[5].empty());
}

TEST(StringTable, ImportExportFilterPairsNamesWithPatterns)
{
    const std::u16string_view filter = loadString(IDS_IMPORT_EXPORT_FILTER);
    ASSERT_GE(filter.size(), 2u);
    ASSERT_EQ(filter.substr(filter.size() - 2), u"||");
    std::vector<std::u16string_view> parts;
    const std::u16string_view body = filter.substr(0, filter.size() - 2);
    std::size_t start = 0;
    for (std::size_t bar = body.find(u'|'); bar != std::u16string_view::npos;
         start = bar + 1, bar = body.find(u'|', start))
        parts.push_back(body.substr(start, bar - start));
    parts.push_back(body.substr(start));
    ASSERT_EQ(parts.size(), 8u);
    for (std::size_t i = 1; i < parts.size(); i += 2)
        EXPECT_EQ(parts[i].substr(0, 2), u"*.") << "pattern " << i / 2;
    EXPECT_EQ(parts[1], u"*.*"); // the first filter, selected when the dialog opens
}

TEST(StringTable, PositionPaneFormatGivesTheEmptyTextReading)
{
    EXPECT_EQ(formatStrings(loadString(IDS_POSITION_PANE_FORMAT), {u"1", u"1", u"1", u"0000"}),
              u" 1 行、1 列、行数 1、U+0000");
}

TEST(FormatStrings, ReplacesNumberedPlaceholdersInOnePass)
{
    EXPECT_EQ(formatString1(u"%1 への変更を保存しますか?", u"a.txt"),
              u"a.txt への変更を保存しますか?");
    EXPECT_EQ(formatStrings(u"%2-%1-%2", {u"x", u"y"}), u"y-x-y");
    // An argument is inserted as it is, never scanned for placeholders.
    EXPECT_EQ(formatString1(u"[%1]", u"%1%2"), u"[%1%2]");
    // A digit that names no argument becomes '?'; other '%' signs are copied.
    EXPECT_EQ(formatString1(u"%0 %2 %1", u"a"), u"? ? a");
    EXPECT_EQ(formatString1(u"100% %", u"a"), u"100% %");
    EXPECT_EQ(formatString1(u"%%1", u"a"), u"%a");
    EXPECT_EQ(formatString1(u"end %", u"a"), u"end %");
    EXPECT_EQ(formatStrings(u"%1", {}), u"?");
    EXPECT_EQ(formatString1(u"", u"a"), u"");
}
