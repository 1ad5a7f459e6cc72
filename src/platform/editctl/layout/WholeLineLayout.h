#pragma once
// Lines of up to pieces::kLongLine units, each shaped at once into one QTextLayout, built when
// first needed and kept in the layout cache; with wrapping its QTextLines are its rows.
// The rows of a wrapped line are counted without shaping where that is certain: a line that
// surely fits one row (AdvanceBounds), or one whose rows its units' advances settle
// (RowsFromWidths), as in ordinary prose. When a shaped layout turns out to have other rows
// than were counted, the font's lines are shaped to count their rows from then on.

#include "platform/editctl/layout/LayoutCache.h"
#include "platform/editctl/layout/LineLayout.h"

#include <memory>
#include <unordered_map>

namespace platform {

class AdvanceBounds;
class RowMap;
class RowsFromWidths;
struct LayoutContext;

class WholeLineLayout final : public LineLayout {
public:
    // `rows` are the rows counted for each line, corrected where a shaped layout disagrees.
    WholeLineLayout(LayoutContext& context, RowMap& rows);
    ~WholeLineLayout() override;

    // The layout of line (clipped to the text); its QTextLines are placed at
    // y = rowInLine * rowHeight + ascent - own ascent.
    const QTextLayout& layout(int line);
    // A layout of line made now, with the composition shown `at` units into it when
    // `preedit` is given; it is not kept.
    std::unique_ptr<QTextLayout> build(int line, int at = 0, const Preedit* preedit = nullptr);

    // The font or the tab distance changed: the measurements made with them go.
    void fontChanged();
    void tabsChanged();

    void rowBreaks(int line, std::vector<int>& breaks) override;
    qreal xOf(int line, int offset, bool atRowEnd) override;
    int offsetAt(int line, int rowInLine, qreal x) override;
    void rowParts(int line, int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) override;
    std::unique_ptr<ComposedLine> compose(int line, int caretOffset, const Preedit& preedit,
                                          const ReplacedComposition& replaced) override;
    void linesReplaced(int first, int removed, int inserted, int kept) override;
    void clear() override;
    std::string differenceFromFresh(int line, int from, int to) override;

private:
    bool sameRowsAsCounted(int line, const QTextLayout& layout);
    void placeRows(QTextLayout& layout);

    LayoutContext& m_context;
    RowMap& m_rows;
    // The cache's id for each line laid out; an id may outlive its layout in the cache.
    std::unordered_map<int, LayoutCache::Id> m_ids;
    // Made when first needed.
    std::unique_ptr<AdvanceBounds> m_bounds;
    std::unique_ptr<RowsFromWidths> m_rowsFromWidths;
};

} // namespace platform
