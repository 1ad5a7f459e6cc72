#pragma once
// Lines longer than pieces::kLongLine units, with wrapping, laid out in rows found without
// shaping (RowFlow), each row shaped on its own when it is drawn or measured. An edit
// re-flows the rows from two rows before the change and stops as soon as a new row starts
// where an old one did in the unchanged text after it. A record costs well under one byte
// per unit: rows of a few dozen units. A composition re-flows the rows after the caret as an
// edit would (see ComposedRows.h).

#include "platform/editctl/layout/LayoutCache.h"
#include "platform/editctl/layout/LineLayout.h"
#include "platform/editctl/layout/LongLineRecords.h"
#include "platform/editctl/layout/RowFlow.h"

namespace platform {

struct LayoutContext;

class LongLineRows final : public LineLayout {
public:
    struct Line {
        int length = 0;
        std::vector<int> starts;             // where each row starts; the first at 0
        std::vector<LayoutCache::Id> ids;    // the cache's id for each row's layout
        // The row that holds offset; an offset where a row starts belongs to that row.
        std::size_t rowAt(int offset) const;
        int rowEnd(std::size_t row) const { return row + 1 < starts.size() ? starts[row + 1] : length; }
    };

    explicit LongLineRows(LayoutContext& context);
    ~LongLineRows() override;

    LayoutContext& context() { return m_context; }
    RowFlow flow();
    // The rows of line, found when first asked for.
    Line& record(int line);

    void rowBreaks(int line, std::vector<int>& breaks) override;
    qreal xOf(int line, int offset, bool atRowEnd) override;
    int offsetAt(int line, int rowInLine, qreal x) override;
    void rowParts(int line, int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) override;
    std::unique_ptr<ComposedLine> compose(int line, int caretOffset, const Preedit& preedit,
                                          const ReplacedComposition& replaced) override;
    bool followEdit(int line, int offset, int removed, int inserted, RowSpan* redrawn) override;
    void linesReplaced(int first, int removed, int inserted, int kept) override;
    void clear() override;
    std::string differenceFromFresh(int line, int from, int to) override;
    std::size_t recordBytes() const override;

private:
    void flowRows(Line& ll, int line);
    RowSpan reflow(Line& ll, int line, int offset, int removed, int inserted);
    const QTextLayout& rowLayout(Line& ll, int line, std::size_t row);
    // What differs between the rows kept from row `first` on and those flowed afresh from
    // the start of that row, over a few rows.
    std::string freshRowsDiffer(const Line& ll, int line, std::size_t first);

    LayoutContext& m_context;
    LongLineRecords<Line> m_lines;
};

} // namespace platform
