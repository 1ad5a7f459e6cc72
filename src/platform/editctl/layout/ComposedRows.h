#pragma once
// A composition in a wrapped long line, laid out once per change of it with as little of the
// text as it can move: the rows from the caret's row on that it re-flows, found as an edit
// re-flows them, ending where a row starts as it did without the composition (or, past
// kMostRows rows, cut short there). The rows after those are drawn further down while it is
// shown. Rows that show the same text as those of the composition before it keep their
// layouts and are not drawn again.

#include "platform/editctl/layout/LineLayout.h"

#include <string>

namespace platform {

class LongLineRows;

class ComposedRows final : public ComposedLine {
public:
    // Rows a composition re-flows at most before the next one is cut where the old one
    // started; typing a composition keeps to a few rows.
    static constexpr std::size_t kMostRows = 64;

    ComposedRows(LongLineRows& rows, int line, int caretOffset, const Preedit& preedit,
                 const ReplacedComposition& replaced);
    ~ComposedRows() override;

    int rows() const override;
    int drawnRows() const override { return static_cast<int>(drawn()); }
    int changedRows() const override { return std::max(1, m_changedRows); }
    void caret(int cursor, int* rowInLine, qreal* x) override;
    void rowParts(int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) override;

private:
    // A re-flowed row. Offsets with the composition in the line: text before the caret keeps
    // its offset, text after it moves on by the composition's length.
    struct Row {
        int start = 0;         // where the row starts, with the composition in
        int from = 0;          // the line's own text it shows: [from, to)
        int to = 0;
        int preeditFrom = 0;   // the part of the composition it shows
        int preeditTo = 0;
        std::unique_ptr<QTextLayout> layout;
    };

    // Units [from, from + length) of the line with the composition in it.
    std::u16string composedText(int lineLength, int lineStart, int from, int length) const;
    const QTextLayout& rowLayout(Row& row);
    // Drawn rows the re-flowed rows take: as many as they are, or as the rows they replace.
    std::size_t drawn() const { return std::max(m_rows.size(), m_endRow - m_firstRow); }

    LongLineRows& m_lineRows;
    int m_line;
    int m_caretOffset;
    Preedit m_preedit;
    // The line's own rows [m_firstRow, m_endRow) are drawn as m_rows.
    std::size_t m_firstRow = 0;
    std::size_t m_endRow = 0;
    std::vector<Row> m_rows;
    int m_changedRows = 0;   // drawn rows from the first on that differ from the last ones
};

} // namespace platform
