// Display rows of wrapped lines, counted lazily.
#include "platform/editctl/RowMap.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Lines of known lengths wrapped every `width` units; records which lines were measured.
struct FakeText {
    std::vector<int> lengths;
    int width = 10;
    std::vector<int> measured;

    platform::RowMap::Measure measure()
    {
        return [this](int line, std::vector<int>& breaks) {
            measured.push_back(line);
            for (int offset = width; offset < lengths[line]; offset += width)
                breaks.push_back(offset);
        };
    }
};

} // namespace

TEST(RowMap, CountsRowsAndMapsBothWays)
{
    FakeText text;
    text.lengths = {5, 25, 0, 10, 11};
    platform::RowMap rows(text.measure());
    rows.reset(5);
    // rows: line 0 -> 1, line 1 -> 3, line 2 -> 1, line 3 -> 1, line 4 -> 2
    EXPECT_EQ(rows.rowCount(), 8);
    EXPECT_EQ(rows.firstRowOf(0), 0);
    EXPECT_EQ(rows.firstRowOf(1), 1);
    EXPECT_EQ(rows.firstRowOf(4), 6);
    EXPECT_EQ(rows.firstRowOf(5), 8) << "one past the last line is the total";
    const std::vector<int> lineOfRow = {0, 1, 1, 1, 2, 3, 4, 4};
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(rows.lineOfRow(row), lineOfRow[row]) << row;
    EXPECT_EQ(rows.lineOfRow(-3), 0);
    EXPECT_EQ(rows.lineOfRow(100), 4);

    EXPECT_EQ(rows.rowStartOffset(1, 0), 0);
    EXPECT_EQ(rows.rowStartOffset(1, 2), 20);
    EXPECT_EQ(rows.rowStartOffset(1, 9), 20) << "clipped to the last row";
    EXPECT_EQ(rows.rowInLineOf(1, 9), 0);
    EXPECT_EQ(rows.rowInLineOf(1, 10), 1) << "a break belongs to the row it starts";
    EXPECT_EQ(rows.rowInLineOf(1, 25), 2);
}

TEST(RowMap, MeasuresOnlyWhatAQuestionNeeds)
{
    FakeText text;
    text.lengths.assign(1000, 15);   // two rows each
    platform::RowMap rows(text.measure());
    rows.reset(1000);
    EXPECT_TRUE(text.measured.empty());
    EXPECT_EQ(rows.lineOfRow(7), 3);
    EXPECT_LE(text.measured.size(), 5u);
    EXPECT_EQ(rows.rowCount(), 2000);
    EXPECT_EQ(text.measured.size(), 1000u) << "each line measured once";
    rows.rowCount();
    EXPECT_EQ(text.measured.size(), 1000u);
}

TEST(RowMap, EditsRemeasureOnlyTheLinesTheyTouched)
{
    FakeText text;
    text.lengths.assign(100, 5);
    platform::RowMap rows(text.measure());
    rows.reset(100);
    ASSERT_EQ(rows.rowCount(), 100);
    text.measured.clear();

    // Line 40 grows to three rows.
    text.lengths[40] = 30;
    rows.replaceLines(40, 1, 1);
    EXPECT_EQ(rows.rowCount(), 102);
    EXPECT_EQ(text.measured, std::vector<int>{40});
    EXPECT_EQ(rows.firstRowOf(41), 43);
    EXPECT_EQ(rows.lineOfRow(42), 40);

    // Two new lines after line 10 (a CR LF typed twice); later rows shift, none is measured
    // again except the touched ones.
    text.measured.clear();
    text.lengths.insert(text.lengths.begin() + 11, {5, 5});
    rows.replaceLines(10, 1, 3);
    EXPECT_EQ(rows.lineCount(), 102);
    EXPECT_EQ(rows.rowCount(), 104);
    EXPECT_EQ(std::set<int>(text.measured.begin(), text.measured.end()), (std::set<int>{10, 11, 12}));
    EXPECT_EQ(rows.lineOfRow(44), 42) << "the long line moved down by two";

    // Lines joined: three lines become one.
    text.lengths.erase(text.lengths.begin() + 10, text.lengths.begin() + 12);
    rows.replaceLines(10, 3, 1);
    EXPECT_EQ(rows.lineCount(), 100);
    EXPECT_EQ(rows.rowCount(), 102);
    EXPECT_EQ(rows.firstRowOf(40), 40);

    // Out-of-range arguments are clipped, and a map never has fewer than one line.
    rows.replaceLines(90, 50, 0);
    EXPECT_EQ(rows.lineCount(), 90);
    rows.replaceLines(0, 1000, 0);
    EXPECT_EQ(rows.lineCount(), 1);
}
