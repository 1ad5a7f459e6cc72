#pragma once
// Display rows of a wrapped text: how many rows each logical line takes and where they begin.
// Qt-free; the widget supplies the measuring function (a text layout at the wrap width).
//
// Lines are measured lazily, only when a question needs them, and the running count of rows
// before each line is kept as a prefix that is valid up to the first line that changed. An
// edit therefore re-measures the lines it touched and at most re-adds the counts after them;
// it never rescans the text.

#include <functional>
#include <vector>

namespace platform {

class RowMap {
public:
    // Fills `breaks` with the offsets, from the start of `line`, at which its second, third
    // and later rows begin, in increasing order; leaves it empty for a line of one row.
    using Measure = std::function<void(int line, std::vector<int>& breaks)>;

    explicit RowMap(Measure measure);

    // Forgets every measurement; the text now has lineCount lines (at least one is kept).
    void reset(int lineCount);
    // `removed` lines starting at `first` became `inserted` unmeasured lines.
    // Arguments outside the line range are clipped.
    void replaceLines(int first, int removed, int inserted);

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    bool isMeasured(int line) const;

    // Total number of rows; measures every line not measured yet.
    int rowCount();
    // First row of line; line is clipped to [0, lineCount()].
    // Line lineCount() gives the total number of rows.
    int firstRowOf(int line);
    // Rows that line takes (at least one); 0 for a line outside the text.
    int rowsIn(int line);
    // The line that holds row; rows before 0 give line 0, rows past the end the last line.
    int lineOfRow(int row);
    // Offset from the start of line at which its row rowInLine begins; rowInLine is clipped
    // to the rows of the line.
    int rowStartOffset(int line, int rowInLine);
    // The row of line (counted from the line's first row) that holds offset. An offset at a
    // break belongs to the row that begins there.
    int rowInLineOf(int line, int offset);

private:
    struct LineRows {
        bool measured = false;
        std::vector<int> breaks;
    };

    const LineRows& measured(int line);
    void extendPrefixTo(int line);
    void invalidatePrefixFrom(int line);

    Measure m_measure;
    std::vector<LineRows> m_lines;
    // m_firstRow[i] is the first row of line i, valid for i <= m_validPrefix; it has one
    // more entry than there are lines, the last being the total.
    std::vector<int> m_firstRow;
    int m_validPrefix = 0;
};

} // namespace platform
