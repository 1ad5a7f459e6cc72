#pragma once
// The layout of logical lines of one kind. The edit layout picks the kind for each line and
// asks it for rows, x positions, hit tests, the parts a row is drawn from, and the line as
// drawn with a composition in it:
//  - WholeLineLayout: a line shaped at once, in one QTextLayout whose QTextLines are its rows;
//  - LongLinePieces: a long line without wrapping, in pieces shaped one by one, side by side;
//  - LongLineRows: a long line with wrapping, in rows shaped one by one.
// Lines are named by number; offsets count from the line's start, rows (rowInLine) from the
// line's first row.

#include "platform/editctl/layout/RowPart.h"

#include <QList>
#include <QString>
#include <QTextLayout>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A composition of the input method: its text, and formats relative to that text.
struct Preedit {
    QString text;
    QList<QTextLayout::FormatRange> formats;
};

// A line as drawn with the composition shown in it, made by the layout of the line's kind
// (LineLayout::compose) and kept while neither the composition nor the text changes.
class ComposedLine {
public:
    virtual ~ComposedLine() = default;
    // Rows the line takes as drawn.
    virtual int rows() const = 0;
    // Drawn rows, from the caret's own row on, that show the composition or text it moved
    // (at least 1), and those of them that its latest change drew differently.
    virtual int drawnRows() const { return 1; }
    virtual int changedRows() const { return 1; }
    // The drawn row (in the line) and x of the caret standing `cursor` units into the
    // composition.
    virtual void caret(int cursor, int* rowInLine, qreal* x) = 0;
    // The parts of drawn row rowInLine, counted with the rows the composition adds, that show
    // anything between x = left and x = right.
    virtual void rowParts(int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) = 0;
};

// The composition shown before a new one is laid out, which the new one may keep parts of.
struct ReplacedComposition {
    ComposedLine* line = nullptr;   // nullptr: none
    bool sameText = false;          // shown at the same caret, and the text not changed since
};

// Rows [from, end) of a line; end is -1 when every row from `from` on may have moved.
struct RowSpan {
    int from = 0;
    int end = -1;
};

class LineLayout {
public:
    virtual ~LineLayout() = default;

    // Fills `breaks` with the offsets at which the line's second and later wrapped rows
    // begin (see RowMap::Measure).
    virtual void rowBreaks(int line, std::vector<int>& breaks) = 0;
    // x of the boundary before offset in its row. With atRowEnd, an offset at a wrap point
    // is measured at the end of the row before instead of the start of its own row.
    virtual qreal xOf(int line, int offset, bool atRowEnd) = 0;
    // The boundary in row rowInLine nearest to x, as an offset in the line; never beyond the
    // row's end.
    virtual int offsetAt(int line, int rowInLine, qreal x) = 0;
    // The parts of row rowInLine that show anything between x = left and x = right.
    virtual void rowParts(int line, int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) = 0;
    // The line as drawn with `preedit` shown caretOffset units into it.
    virtual std::unique_ptr<ComposedLine> compose(int line, int caretOffset, const Preedit& preedit,
                                                  const ReplacedComposition& replaced) = 0;

    // An edit replaced `removed` units at offset in line with `inserted` ones, and the text
    // has as many lines as before. Returns true when what is kept for the line followed the
    // edit where it happened, *redrawn receiving the rows of the line laid out anew; false
    // when the line is to be laid out afresh.
    virtual bool followEdit(int /*line*/, int /*offset*/, int /*removed*/, int /*inserted*/, RowSpan* /*redrawn*/)
    {
        return false;
    }
    // `removed` lines from `first` became `inserted` lines: what is kept for them is dropped,
    // except for line `kept` (one that followed the edit, or -1), and what is kept for the
    // lines after them moves with them.
    virtual void linesReplaced(int first, int removed, int inserted, int kept) = 0;
    // Forgets every line.
    virtual void clear() = 0;

    // What is kept for line, around its offsets [from, to), that a layout made afresh would
    // not have, in words; empty when they agree. It looks only at what is kept already and
    // lays out nothing, at about the cost of the edit that came before.
    virtual std::string differenceFromFresh(int line, int from, int to) = 0;
    // Bytes of the records kept per line, besides the shaped layouts.
    virtual std::size_t recordBytes() const { return 0; }
};

} // namespace platform
