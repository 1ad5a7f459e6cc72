// The text as assistive technologies read it: offsets in code points, items that tile the
// text, and changes told so that applying them in code points gives the new text.

#include "platform/editctl/AccessibleText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using platform::AccessibleText;
using platform::ItemPlace;
using platform::LogicalLines;
using platform::TextBuffer;
using platform::TextEdit;
using platform::TextItem;
using platform::TextRange;

namespace {

bool pairAt(std::u16string_view text, size_t i)
{
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00
        && text[i + 1] <= 0xDFFF;
}

// Unit position of each code point of text, and one more for the end.
std::vector<int> codePointStarts(std::u16string_view text)
{
    std::vector<int> starts;
    for (size_t i = 0; i < text.size(); i += pairAt(text, i) ? 2 : 1)
        starts.push_back(static_cast<int>(i));
    starts.push_back(static_cast<int>(text.size()));
    return starts;
}

// Rows given by their starts, as a wrapping control would have them.
class GivenRows : public platform::DisplayRows {
public:
    std::vector<int> starts{0};
    int rowCount() const override { return static_cast<int>(starts.size()); }
    int rowStart(int row) const override { return starts.at(row); }
    int rowOfPos(int pos) const override
    {
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
    }
};

TextRange itemOf(const AccessibleText& text, int offset, TextItem kind, ItemPlace place)
{
    TextRange range;
    text.item(offset, kind, place, &range);
    return range;
}

} // namespace

TEST(AccessibleText, ItemsAtBeforeAndAfterAnOffset)
{
    TextBuffer buffer;
    // Code points: 日0 本1 😀2 ' '3 o4 k5 CR6 LF7 | 雨8 。9 晴10 れ11 。12 CR13 LF14 | CR15 LF16 | e17 n18 d19, 20 in all.
    buffer.setText(u"日本\U0001F600 ok\r\n雨。晴れ。\r\n\r\nend");
    const LogicalLines lines(buffer);
    const AccessibleText text(buffer, lines);
    ASSERT_EQ(text.characterCount(), 20);
    EXPECT_EQ(text.text(2, 4), u"\U0001F600 ");
    EXPECT_EQ(text.text(19, 99), u"d");

    using C = TextItem;
    using P = ItemPlace;
    struct Case {
        int offset;
        TextItem kind;
        ItemPlace place;
        TextRange expected;
    };
    const Case cases[] = {
        {2, C::Character, P::At, {2, 3}},      {3, C::Character, P::Before, {2, 3}},
        {2, C::Character, P::After, {3, 4}},   {0, C::Character, P::Before, {0, 0}},
        {20, C::Character, P::At, {20, 20}},   {19, C::Character, P::After, {20, 20}},
        {20, C::Character, P::Before, {19, 20}},
        {5, C::Word, P::At, {4, 6}},           {3, C::Word, P::At, {3, 4}},      // a run of spaces
        {7, C::Word, P::At, {6, 8}},           {4, C::Word, P::After, {6, 8}},   // the CR LF
        {8, C::Word, P::Before, {6, 8}},       {18, C::Word, P::At, {17, 20}},
        {20, C::Word, P::At, {20, 20}},        {20, C::Word, P::Before, {17, 20}},
        {0, C::Sentence, P::At, {0, 8}},       {9, C::Sentence, P::At, {8, 10}},
        {11, C::Sentence, P::At, {10, 15}},    {8, C::Sentence, P::After, {10, 15}},
        {15, C::Sentence, P::At, {15, 17}},    {20, C::Sentence, P::Before, {17, 20}},
        {7, C::Line, P::At, {0, 8}},           {16, C::Line, P::At, {15, 17}},
        {20, C::Line, P::At, {17, 20}},        {17, C::Line, P::Before, {15, 17}},
        {18, C::Line, P::After, {20, 20}},     {0, C::Line, P::Before, {0, 0}},
        {14, C::Paragraph, P::At, {8, 15}},    {3, C::Paragraph, P::After, {8, 15}},
        {9, C::Whole, P::At, {0, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(itemOf(text, c.offset, c.kind, c.place), c.expected)
            << "offset " << c.offset << " kind " << int(c.kind) << " place " << int(c.place);
    }

    TextRange range{0, 0};
    EXPECT_FALSE(text.item(21, C::Character, P::At, &range));
    EXPECT_EQ(range, (TextRange{-1, -1}));
    EXPECT_FALSE(text.item(-1, C::Line, P::After, &range));

    // A final CR LF leaves an empty last line and paragraph of their own.
    buffer.setText(u"a\r\n");
    EXPECT_EQ(itemOf(text, 0, C::Line, P::After), (TextRange{3, 3}));
    EXPECT_EQ(itemOf(text, 3, C::Paragraph, P::At), (TextRange{3, 3}));
    EXPECT_EQ(itemOf(text, 3, C::Line, P::Before), (TextRange{0, 3}));
}

TEST(AccessibleText, RandomTextsAreTiledByTheItemsOfEveryKind)
{
    const std::u16string pieces[] = {
        u"a", u"word ", u"\r\n", u"\n", u"\r", u"\U0001F600", u"\xD83D", u"\xDE00", u"日本語",
        u"。", u"Yes. ", u"  ", u"\t", u"e\u0301",
    };
    std::mt19937 random(20240531u);
    for (int round = 0; round < 40; ++round) {
        std::u16string model;
        for (int n = random() % 60; n > 0; --n)
            model += pieces[random() % std::size(pieces)];
        TextBuffer buffer;
        buffer.setText(model);
        const std::vector<int> cps = codePointStarts(model);
        const int count = static_cast<int>(cps.size()) - 1;

        // Rows of up to four code points inside each line, as wrapping cuts them.
        GivenRows rows;
        for (int cp = 1, run = 1; cp < count; ++cp, ++run) {
            const int pos = cps[cp];
            if (pos >= 2 && model[pos - 2] == u'\r' && model[pos - 1] == u'\n')
                run = 0;
            if (run == 0 || run % 4 == 0)
                rows.starts.push_back(pos);
        }
        if (model.size() >= 2 && model.ends_with(u"\r\n"))
            rows.starts.push_back(static_cast<int>(model.size()));
        const LogicalLines lines(buffer);

        for (const platform::DisplayRows* source : {static_cast<const platform::DisplayRows*>(&lines),
                                                    static_cast<const platform::DisplayRows*>(&rows)}) {
            const AccessibleText text(buffer, *source);
            ASSERT_EQ(text.characterCount(), count);
            for (int cp = 0; cp <= count; ++cp) {
                ASSERT_EQ(text.posOfOffset(cp), cps[cp]);
                ASSERT_EQ(text.offsetOfPos(cps[cp]), cp);
            }
            for (TextItem kind : {TextItem::Character, TextItem::Word, TextItem::Sentence,
                                  TextItem::Line, TextItem::Paragraph}) {
                // Walk the items from the start: each begins where the one before ended.
                std::vector<TextRange> tiles{itemOf(text, 0, kind, ItemPlace::At)};
                while (tiles.back().end < count) {
                    const TextRange next = itemOf(text, tiles.back().start, kind, ItemPlace::After);
                    ASSERT_EQ(next.start, tiles.back().end) << int(kind) << " round " << round;
                    ASSERT_LT(next.start, next.end);
                    tiles.push_back(next);
                }
                const bool endsInLines = kind == TextItem::Line || kind == TextItem::Paragraph;
                const TextRange atEnd = itemOf(text, count, kind, ItemPlace::At);
                if (endsInLines && atEnd != tiles.back()) {
                    ASSERT_EQ(atEnd, (TextRange{count, count}));
                    ASSERT_TRUE(model.ends_with(u"\r\n"));
                    tiles.push_back(atEnd);  // the empty line after a final CR LF
                }
                std::u16string joined;
                for (const TextRange& tile : tiles)
                    joined += text.text(tile.start, tile.end);
                ASSERT_EQ(joined, model) << int(kind) << " round " << round;

                // Every offset lies in one tile; before and after are its neighbours.
                for (int cp = 0; cp <= count; ++cp) {
                    size_t tile = 0;
                    while (tile + 1 < tiles.size() && tiles[tile].end <= cp)
                        ++tile;
                    const bool pastTiles = cp == count && !endsInLines && count > 0;
                    const TextRange expected = pastTiles ? TextRange{count, count} : tiles[tile];
                    const TextRange before = pastTiles ? tiles.back()
                                           : tile > 0 ? tiles[tile - 1] : TextRange{0, 0};
                    const TextRange after = !pastTiles && tile + 1 < tiles.size() ? tiles[tile + 1]
                                                                                 : TextRange{count, count};
                    ASSERT_EQ(itemOf(text, cp, kind, ItemPlace::At), expected) << int(kind) << " cp " << cp;
                    ASSERT_EQ(itemOf(text, cp, kind, ItemPlace::Before), before) << int(kind) << " cp " << cp;
                    ASSERT_EQ(itemOf(text, cp, kind, ItemPlace::After), after) << int(kind) << " cp " << cp;
                }
            }
        }
    }
}

TEST(AccessibleText, ChangesAppliedInCodePointsGiveTheNewText)
{
    // Random edits, an emoji's halves joined and parted among them: the model, kept in code
    // points from what was told alone, follows the text.
    TextBuffer buffer;
    const LogicalLines lines(buffer);
    const AccessibleText text(buffer, lines);
    std::vector<TextEdit> told;
    buffer.addObserver([&](const TextBuffer::Change& change) { told.push_back(text.describe(change)); });
    const std::u16string pieces[] = {u"x", u"\r\n", u"\U0001F600", u"\xD83D", u"\xDE01", u"日本", u" "};
    std::mt19937 random(7);
    std::u16string model = buffer.text();
    for (int step = 0; step < 3000; ++step) {
        const int size = buffer.length();
        const int start = static_cast<int>(random() % (size + 1));
        const int end = std::min(size, start + static_cast<int>(random() % 4));
        std::u16string insert;
        for (int n = random() % 3; n > 0; --n)
            insert += pieces[random() % std::size(pieces)];
        told.clear();
        buffer.replace(start, end, insert);
        if (start == end && insert.empty()) {
            ASSERT_TRUE(told.empty());
            continue;
        }
        ASSERT_EQ(told.size(), 1u);
        const TextEdit& edit = told[0];
        const std::vector<int> cps = codePointStarts(model);
        ASSERT_LE(edit.offset, static_cast<int>(cps.size()) - 1);
        const int at = cps[edit.offset];
        ASSERT_EQ(model.substr(at, edit.removed.size()), edit.removed) << "step " << step;
        model.replace(at, edit.removed.size(), edit.inserted);
        ASSERT_EQ(model, buffer.text()) << "step " << step;
        // What is told starts and ends on code points of the text before and after.
        const std::vector<int> after = codePointStarts(model);
        ASSERT_TRUE(std::binary_search(after.begin(), after.end(), at + static_cast<int>(edit.inserted.size())));
        ASSERT_TRUE(std::binary_search(cps.begin(), cps.end(), at + static_cast<int>(edit.removed.size())));
    }
}
