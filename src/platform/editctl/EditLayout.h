#pragma once
// Lays out the edit control's text in display rows. All x values are measured from the left
// edge of the text, before margins and horizontal scrolling.
//
// A line of up to pieces::kLongLine units is one QTextLayout, built when first needed and
// kept in a bounded cache; with wrapping its QTextLines are its rows, which are counted
// without shaping where that is certain (see RowsFromWidths.h), as in ordinary prose. A
// longer line is laid out in pieces (see LinePieces.h) so that no operation shapes the
// whole of it:
//  - Without wrapping, each piece is shaped on its own when it is drawn or measured, and the
//    x at which every piece starts is a running sum of piece widths. A piece not shaped yet
//    counts with the widths of its units measured one by one, except for what only shaping
//    measures right, which is measured shaped and remembered: a grapheme cluster of more
//    than one code point (a base with its marks, which may come from a fallback font with
//    the base; an emoji sequence), and a word of a joining script with the spaces after it.
//    Shaping replaces the sum with the exact width. An edit re-cuts and re-measures only
//    the pieces it touched.
//  - With wrapping, rows are found by adding up the same widths from row start to row
//    start (a cluster or a word of a joining script goes on a row whole unless it is wider
//    than a row), breaking at line-break opportunities; each row visible is shaped on its own.
//    An edit re-flows rows from the one before the change and stops as soon as a new row
//    starts where an old one did in the unchanged text after it.
// A tab's width depends on the x it starts at, so a piece is shaped with the line's tab
// grid shifted by the x it starts at, and rows start on the grid. The shaper takes a tab
// that stands a hair short of a stop on to the next one; a piece whose tabs would stop
// elsewhere on the shifted grid is shaped again with each tab's own stop, so that its tabs
// stop where they would in a layout of the whole line. (A piece shaped with a composition
// in it keeps the shifted grid: for as long as the composition is shown, one of its tabs
// may stop a stop away.)
//
// Where a long line can look different from one shaped at once: beyond the cuts described in
// LinePieces.h, a piece not shaped yet may still count a little off where shaping a word
// depends on more than the word (kerning between words, a joining run longer than 64
// units, contextual forms across a piece's edge); when such a piece is shaped, everything
// to its right moves by the difference. A wrapped row is found from the same widths, so
// there too such text may end a row a little before or after the wrap width (it is drawn
// clipped to it).
//
// A composition is laid out once per change of it, with as little of the text as it can
// move: the whole line when that is laid out as one, else the caret's piece (without
// wrapping; the pieces after it are drawn further right) or, with wrapping, the rows from
// the caret's row on that it re-flows, found as an edit re-flows them and ending where a
// row starts as it did without the composition (or, past kComposedRowsMax rows, cut short
// there). The rows after those are drawn further down while it is shown.
//
// The shaped layouts held at any time are capped at kCachedUnits units of text, whole lines
// and pieces together: about 54 bytes a unit, under 9 MB (a composition's own layouts, of
// the rows or piece it is drawn in, come on top). Every other record of a long line
// costs well under one byte per unit (pieces of 96 to 256 units, rows of a few dozen),
// plus one table of 256 KB of unit widths and up to 16,384 measured clusters and
// words (a few MB at most). A text of distinct words of a joining script is measured word
// by word once: about half a second for a line of a million units.

#include "platform/editctl/TextBuffer.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <algorithm>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

class GlyphInk;
class RowMap;
class RowsFromWidths;

// A layout that draws part of a display row. Its QTextLine layoutRow is the row; the
// layout's origin lies at x, and layoutRow rows above the row's top.
struct RowPart {
    const QTextLayout* layout = nullptr;
    int layoutRow = 0;
    int textStart = 0;          // buffer position of the layout's first unit
    int length = 0;             // buffer units the layout shows
    qreal x = 0;
    int compositionAt = -1;     // offset of the composition in the layout's text, or -1
    int compositionLength = 0;
};

class EditLayout {
public:
    // Units of text the cached layouts may hold together.
    static constexpr int kCachedUnits = 160 * 1024;

    explicit EditLayout(const TextBuffer& buffer);
    ~EditLayout();
    EditLayout(const EditLayout&) = delete;
    EditLayout& operator=(const EditLayout&) = delete;

    // ---- settings (each one drops every layout) ------------------------------------------
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    // Pixels between tab stops, fractions kept; 0 or less: the default distance.
    void setTabStopDistance(qreal pixels);
    // A width of 0 or less turns wrapping off.
    void setWrapWidth(int pixels);
    bool wraps() const { return m_wrapWidth > 0; }
    int wrapWidth() const { return m_wrapWidth; }

    // Height of a display row: the font's height, whatever fallback fonts a line uses.
    int rowHeight() const { return m_rowHeight; }
    int ascent() const { return m_ascent; }

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
    // Row and x of the caret standing `cursor` units into the composition.
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

    // The whole-line layout of a line that is laid out as one (tests compare row counts with
    // it); its QTextLines are placed at y = rowInLine * rowHeight() + ascent() - own ascent.
    QTextLayout& lineLayout(int line);

    // Widest line laid out so far without wrapping; it grows as lines are seen and is reset
    // with the layouts. A long line counts with its whole width as soon as it is met.
    qreal widestLine() const { return m_widest; }
    // Units of text in cached layouts now, and long lines with piece records (for tests and
    // the benchmarks' note on memory).
    int cachedUnits() const { return m_cachedUnits; }
    size_t pieceRecordBytes() const;

private:
    // A piece of a long line: where it starts, and its width as a lead before its first tab
    // and the rest after the tab stop that tab reaches (or only a lead without a tab).
    struct Piece {
        int start = 0;
        float lead = 0;
        float rest = 0;
        bool hasTab = false;
        bool shaped = false;
        std::uint64_t id = 0;
    };
    struct LongLine {
        int length = 0;
        std::vector<Piece> pieces;
        std::vector<double> x;     // where each piece starts; one more entry: the line's width
        size_t validX = 0;         // entries of x up to this one are current
        bool rowsKnown = false;
        std::vector<int> rowStarts;
        std::vector<std::uint64_t> rowIds;
    };
    // The rows [firstRow, endRow) of a wrapped long line as a composition re-flows them.
    // Offsets with the composition in the line: text before the caret keeps its offset,
    // text after it moves on by the composition's length.
    struct ComposedRow {
        int start = 0;                      // where the row starts, with the composition in
        int from = 0;                       // the line's own text it shows: [from, to)
        int to = 0;
        int preeditFrom = 0;                // the part of the composition it shows
        int preeditTo = 0;
        std::unique_ptr<QTextLayout> layout;
    };
    struct ComposedRows {
        int caret = -1;
        int line = 0;
        int caretOffset = 0;
        size_t firstRow = 0;
        size_t endRow = 0;
        std::vector<ComposedRow> rows;
        int changedRows = 0;       // drawn rows from the first on that differ from the last ones
        bool textKept = true;      // false once the text changed under them
        // Drawn rows they take: as many as they are, or as the rows they replace.
        size_t drawn() const { return std::max(rows.size(), endRow - firstRow); }
    };
    // Rows a composition re-flows at most before the next one is cut where the old one
    // started; typing a composition keeps to a few rows.
    static constexpr size_t kComposedRowsMax = 64;

    struct CacheEntry {
        std::unique_ptr<QTextLayout> layout;
        std::list<std::uint64_t>::iterator lruPos;
        int units = 0;
        qreal phase = 0;
    };

    LongLine& longLine(int line);
    void buildPieces(LongLine& ll, int lineStart);
    void updateLongLine(LongLine& ll, int line, int offset, int removed, int inserted);
    void dropLongLine(std::unordered_map<int, std::unique_ptr<LongLine>>::iterator it);
    void estimatePiece(LongLine& ll, size_t piece, std::u16string_view text, int textOffset);
    qreal pieceX(LongLine& ll, size_t piece);
    size_t pieceAtOffset(const LongLine& ll, int offset) const;
    size_t pieceAtX(LongLine& ll, qreal x);
    const QTextLayout& pieceLayout(LongLine& ll, int line, size_t piece);
    void computeRows(LongLine& ll, int line);
    void reflowRows(LongLine& ll, int line, int offset, int removed, int inserted);
    int nextRowStart(std::u16string_view text, int lineLength, int start, int textOffset);
    size_t rowAtOffset(const LongLine& ll, int offset) const;
    const QTextLayout& rowLayout(LongLine& ll, int line, size_t row);
    void preeditSegment(int* line, int* segStart, int* segLength, qreal* segX, int* row);
    const QTextLayout& preeditLayout();
    ComposedRows* composedRows();
    void retireComposedRows(bool textKept);
    std::u16string composedText(const LongLine& ll, int lineStart, int caretOffset, int from, int length) const;
    const QTextLayout& composedRowLayout(ComposedRow& row, int lineStart, int caretOffset);

    std::unique_ptr<QTextLayout> buildLayout(int line, int preeditOffset, const QString& preedit,
                                             const QList<QTextLayout::FormatRange>& extraFormats);
    // A layout of the text [start, start + length) alone; with preeditOffset >= 0, the part
    // [preeditFrom, preeditTo) of the composition (all of it when preeditTo < 0) is shown
    // preeditOffset units into it.
    std::unique_ptr<QTextLayout> buildSegment(int start, int length, qreal phase, bool wrapRow,
                                              int preeditOffset = -1, int preeditFrom = 0,
                                              int preeditTo = -1);
    void placeRows(QTextLayout& layout);
    void measureRows(int line, std::vector<int>& breaks);
    bool sameRowsAsCounted(int line, const QTextLayout& layout);
    bool surelyFitsOneRow(int start, int end);
    // An upper bound of c's advance (negative: only shaping can tell); *ink receives how far
    // its glyph may reach past the advance.
    qreal advanceBound(char16_t c, qreal* ink);
    qreal unitAdvance(std::u16string_view text, size_t at);
    qreal runAdvance(std::u16string_view run, qreal* word = nullptr);
    qreal shapedAdvance(std::u16string_view run);
    qreal tabDistance() const;
    // Where x lies past the tab stop before it: what a piece starting at x shifts its tabs by.
    qreal tabPhaseAt(qreal x) const;
    void dropCachedLines(int first, int removed, int delta);
    void remember(std::uint64_t key, std::unique_ptr<QTextLayout> layout, int units, qreal phase);
    CacheEntry* cached(std::uint64_t key);
    void forget(std::uint64_t key);
    int rowInLine(int row, int* line);
    int drawnRowInLine(int row, int* line);

    const TextBuffer& m_buffer;
    QFont m_font;
    int m_rowHeight = 1;
    int m_ascent = 0;
    qreal m_tabStop = 0;
    int m_wrapWidth = 0;
    qreal m_widest = 0;

    // Upper bounds of the advance of each BMP unit in the current font, filled as units are
    // met; negative for units whose width only shaping can tell (see surelyFitsOneRow).
    std::vector<float> m_advanceBounds;
    // How far each unit's glyph reaches past its advance, filled with m_advanceBounds.
    std::vector<float> m_inkBounds;
    std::unique_ptr<GlyphInk> m_glyphInk;
    // Advances of units measured one by one (NaN until met), and of code points beyond the
    // BMP: what an unshaped piece is counted with.
    std::vector<float> m_advances;
    std::unordered_map<char32_t, float> m_pairAdvances;
    // Advances of clusters and runs of joining letters that an unshaped piece counts with,
    // measured shaped (a bounded number of them).
    std::unordered_map<std::u16string, float> m_runAdvances;

    std::unique_ptr<RowMap> m_rows;
    // Counts the rows of wrapped lines that need no shaping; made when first needed.
    std::unique_ptr<RowsFromWidths> m_rowsFromWidths;
    // Layouts of whole lines (key: the line) and of pieces and rows of long lines (key: an id
    // with the top bit set), most recently used first.
    std::unordered_map<std::uint64_t, CacheEntry> m_cache;
    std::list<std::uint64_t> m_lru;
    int m_cachedUnits = 0;
    std::uint64_t m_nextId = 1;

    std::unordered_map<int, std::unique_ptr<LongLine>> m_longLines;

    QString m_preedit;
    QList<QTextLayout::FormatRange> m_preeditFormats;
    std::unique_ptr<QTextLayout> m_preeditLayout;
    std::unique_ptr<ComposedRows> m_composedRows;
    // The rows of the composition shown before, until the next ones are laid out: rows
    // showing the same text keep their layouts and are not drawn again.
    std::unique_ptr<ComposedRows> m_replacedComposedRows;
    int m_preeditCaret = -1;   // caret the preedit layout was built for
    int m_changedFrom = 0;
    int m_changedEnd = -1;
    // Rows of a long line a re-flow replaced, counted in the line: [from, end).
    size_t m_reflowFrom = 0;
    size_t m_reflowEnd = 0;
    bool m_reflowMovedRows = false;
};

} // namespace platform
