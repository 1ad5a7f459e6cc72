#pragma once
// Lays out the edit control's text in display rows. All x values are measured from the left
// edge of the text, before margins and horizontal scrolling.
//
// It maps rows to lines (RowMap, with wrapping) and hands every question about a line to the
// layout of the line's kind (layout/LineLayout.h):
//  - a line of up to pieces::kLongLine units is shaped at once (layout/WholeLineLayout.h);
//  - a longer one is laid out in pieces so that no operation shapes the whole of it, side by
//    side without wrapping (layout/LongLinePieces.h), in rows found without shaping with
//    wrapping (layout/LongLineRows.h).
// The shaped layouts of every kind share one cache (layout/LayoutCache.h), capped at
// kCachedUnits units of text; the input method's composition is an overlay on the caret's
// line, laid out by the line's kind (layout/CompositionOverlay.h).
//
// With assertions on, every edit checks what the layouts kept around it against what a layout
// made afresh would hold (differenceFromFresh).

#include "platform/editctl/TextBuffer.h"
#include "platform/editctl/layout/CompositionOverlay.h"
#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/LongLinePieces.h"
#include "platform/editctl/layout/LongLineRows.h"
#include "platform/editctl/layout/RowPart.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <string>
#include <vector>

namespace platform {

class RowMap;
class WholeLineLayout;

class EditLayout {
public:
    // Units of text the cached layouts may hold together.
    static constexpr int kCachedUnits = LayoutCache::kMostUnits;

    explicit EditLayout(const TextBuffer& buffer);
    ~EditLayout();
    EditLayout(const EditLayout&) = delete;
    EditLayout& operator=(const EditLayout&) = delete;

    // ---- settings (each one drops every layout) ------------------------------------------
    void setFont(const QFont& font);
    const QFont& font() const { return m_context.font; }
    // Pixels between tab stops, fractions kept; 0 or less: the default distance.
    void setTabStopDistance(qreal pixels);
    // A width of 0 or less turns wrapping off.
    void setWrapWidth(int pixels);
    bool wraps() const { return m_context.wraps(); }
    int wrapWidth() const { return m_context.wrapWidth; }

    // Height of a display row: the font's height, whatever fallback fonts a line uses.
    int rowHeight() const { return m_context.rowHeight; }
    int ascent() const { return m_context.ascent; }

    // ---- keeping up with the text --------------------------------------------------------
    // Call after each change of the buffer, with the line count from before it.
    void textChanged(const TextBuffer::Change& change, int oldLineCount);
    // Forgets every layout and row count.
    void reset();
    // The rows the latest textChanged() drew anew: [*first, *end); *end is -1 when every row
    // from *first on may have moved.
    void changedRows(int* first, int* end) const
    {
        *first = m_changedFrom;
        *end = m_changedEnd;
    }
    // Whether line is laid out in pieces.
    bool isLong(int line) const;

    // ---- rows ------------------------------------------------------------------------------
    int rowCount();
    // The row that holds pos (clipped to the text). A position at a wrap point belongs to the
    // row that begins there; the positions of a CR LF belong to the row it ends.
    int rowOfPos(int pos);
    // First position of row, row clipped to [0, rowCount()).
    int rowStart(int row);
    // Position after the last unit of row: before its CR LF, or where the next row begins
    // when the row ends by wrapping.
    int rowEnd(int row);
    // True when the row after row continues the same logical line.
    bool rowEndsByWrap(int row);
    int lineOfRow(int row);
    int firstRowOfLine(int line);

    // ---- x positions -----------------------------------------------------------------------
    // x of the boundary before pos in its row. With atRowEnd, a position at a wrap point is
    // measured at the end of the row before instead of the start of its own row.
    qreal xOfPos(int pos, bool atRowEnd = false);
    // The boundary in row nearest to x; never beyond the row's end.
    int posAtX(int row, qreal x);

    // ---- input-method composition ----------------------------------------------------------
    // Shows `preedit` at the caret until it is set empty; `formats` are relative to the
    // preedit. The layout that shows it is built once and kept while nothing changes.
    void setPreedit(const QString& preedit, const QList<QTextLayout::FormatRange>& formats);
    // Row and x of the caret standing `cursor` units into the composition (of the caret
    // itself without one).
    void preeditCaret(int cursor, int* row, qreal* x);
    // Rows a composition adds to its line while it is shown: with wrapping, the rows it
    // re-flows are drawn with the composition in them, and the rows after those are drawn
    // this many rows further down until it ends. 0 without a composition or wrapping.
    int preeditExtraRows();
    // Drawn rows, from the caret's own row on, that show the composition or text it moved
    // (at least 1), and those of them that its latest change drew differently: what ending
    // and changing a composition redraw when they add no row.
    int preeditDrawnRows();
    int preeditChangedRows();

    // ---- drawing ---------------------------------------------------------------------------
    // Rows as drawn: rowCount() and the rows a composition adds (see preeditExtraRows).
    int drawnRowCount() { return rowCount() + preeditExtraRows(); }
    // The parts of drawn row `row` that show anything between x = left and x = right.
    void rowParts(int row, qreal left, qreal right, std::vector<RowPart>& parts);

    // The whole-line layout of a line (tests compare row counts with it); its QTextLines are
    // placed at y = rowInLine * rowHeight() + ascent() - own ascent.
    const QTextLayout& lineLayout(int line);

    // Widest line laid out so far without wrapping; it grows as lines are seen and is reset
    // with the layouts. A long line counts with its whole width as soon as it is met.
    qreal widestLine() const { return m_context.widest; }
    // Units of text in cached layouts now, and bytes of the records of long lines (for tests
    // and the benchmarks' note on memory).
    int cachedUnits() const { return m_context.cache.units(); }
    size_t pieceRecordBytes() const;

    // What the layouts keep for the lines that hold the positions [from, to) that layouts
    // made afresh would not have, in words; empty when they agree. It lays out nothing and
    // looks at a few lines at most, at about the cost of an edit.
    std::string differenceFromFresh(int from, int to);

private:
    LineLayout& layoutOf(int line);
    ComposedLine* composition();
    int rowInLine(int row, int* line);
    int drawnRowInLine(int row, int* line);
    void checkAgainstFresh(int from, int to);

    const TextBuffer& m_buffer;
    LayoutContext m_context;
    std::unique_ptr<RowMap> m_rows;
    std::unique_ptr<WholeLineLayout> m_wholeLines;
    LongLinePieces m_pieces{m_context};
    LongLineRows m_longRows{m_context};
    CompositionOverlay m_composition;
    int m_changedFrom = 0;
    int m_changedEnd = -1;
};

} // namespace platform
