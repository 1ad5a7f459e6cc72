#include "platform/editctl/EditLayout.h"

#include "platform/editctl/LinePieces.h"
#include "platform/editctl/RowMap.h"
#include "platform/editctl/layout/WholeLineLayout.h"

#include <QFontMetrics>

#include <unicode/utf16.h>

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace platform {

namespace {

// Lines around an edit that the check of the assertion build looks at; an edit of many lines
// is checked at its two ends.
constexpr int kCheckedLines = 3;

} // namespace

EditLayout::EditLayout(const TextBuffer& buffer)
    : m_buffer(buffer)
    , m_context(buffer)
    , m_rows(std::make_unique<RowMap>([this](int line, std::vector<int>& breaks) {
        layoutOf(line).rowBreaks(line, breaks);
    }))
    , m_wholeLines(std::make_unique<WholeLineLayout>(m_context, *m_rows))
{
    setFont(QFont());
}

EditLayout::~EditLayout() = default;

void EditLayout::setFont(const QFont& font)
{
    // Drawn without kerning, as the system's edit control draws: every unit keeps its own
    // advance wherever it stands, so rows can be counted from the advances (RowsFromWidths).
    m_context.font = font;
    m_context.font.setKerning(false);
    m_context.widths = UnitWidths(m_context.font);
    m_wholeLines->fontChanged();
    const QFontMetrics metrics(m_context.font);
    m_context.rowHeight = std::max(1, metrics.height());
    m_context.ascent = metrics.ascent();
    reset();
}

void EditLayout::setTabStopDistance(qreal pixels)
{
    m_context.tabStop = std::max<qreal>(0, pixels);
    m_wholeLines->tabsChanged();
    reset();
}

void EditLayout::setWrapWidth(int pixels)
{
    m_context.wrapWidth = std::max(0, pixels);
    reset();
}

void EditLayout::reset()
{
    m_context.cache.clear();
    m_wholeLines->clear();
    m_pieces.clear();
    m_longRows.clear();
    m_composition.clear();
    m_context.widest = 0;
    m_rows->reset(m_buffer.lineCount());
}

bool EditLayout::isLong(int line) const
{
    return m_context.lineLength(line) > pieces::kLongLine;
}

LineLayout& EditLayout::layoutOf(int line)
{
    if (!isLong(line))
        return *m_wholeLines;
    if (wraps())
        return m_longRows;
    return m_pieces;
}

size_t EditLayout::pieceRecordBytes() const
{
    return m_pieces.recordBytes() + m_longRows.recordBytes() + m_context.widths.tableBytes();
}

// ---- keeping up with the text -------------------------------------------------------------

void EditLayout::textChanged(const TextBuffer::Change& change, int oldLineCount)
{
    const int delta = m_buffer.lineCount() - oldLineCount;
    // One unit of context on each side takes in a CR LF pair that the edit joined or split
    // at its edges; outside that span the old and new texts have the same lines.
    const int spanStart = std::max(0, change.start - 1);
    const int spanEnd = std::min(m_buffer.length(), change.start + change.inserted + 1);
    const int first = m_buffer.lineFromChar(spanStart);
    const int newTouched = m_buffer.lineFromChar(spanEnd) - first + 1;
    const int oldTouched = newTouched - delta;
    m_composition.textChanged();

    // The usual keystroke in a long line: what is kept for it follows the edit locally.
    const int line = m_buffer.lineFromChar(change.start);
    RowSpan redrawn;
    if (delta == 0 && isLong(line) && m_buffer.lineFromChar(change.start + change.inserted) == line
        && layoutOf(line).followEdit(line, change.start - m_buffer.lineIndex(line), change.removed,
                                     change.inserted, &redrawn)) {
        for (LineLayout* kind : {static_cast<LineLayout*>(m_wholeLines.get()), static_cast<LineLayout*>(&m_pieces),
                                 static_cast<LineLayout*>(&m_longRows)})
            kind->linesReplaced(first, oldTouched, newTouched, line);
        m_rows->replaceLines(first, oldTouched, newTouched);
        if (!wraps()) {
            m_changedFrom = first;
            m_changedEnd = first + newTouched;
        } else if (first == line && newTouched == 1) {
            const int lineRow = m_rows->firstRowOf(line);
            m_changedFrom = lineRow + redrawn.from;
            m_changedEnd = redrawn.end < 0 ? -1 : lineRow + redrawn.end;
        } else {
            m_changedFrom = m_rows->firstRowOf(first);
            m_changedEnd = -1;
        }
    } else {
        // Otherwise the lines the edit touched are laid out again when next needed, and those
        // after it move with their lines.
        for (LineLayout* kind : {static_cast<LineLayout*>(m_wholeLines.get()), static_cast<LineLayout*>(&m_pieces),
                                 static_cast<LineLayout*>(&m_longRows)})
            kind->linesReplaced(first, oldTouched, newTouched, -1);
        m_rows->replaceLines(first, oldTouched, newTouched);
        m_changedFrom = wraps() ? m_rows->firstRowOf(first) : first;
        m_changedEnd = !wraps() && delta == 0 ? first + newTouched : -1;
    }
#ifndef NDEBUG
    checkAgainstFresh(change.start, change.start + change.inserted);
#endif
}

std::string EditLayout::differenceFromFresh(int from, int to)
{
    from = std::clamp(from, 0, m_buffer.length());
    to = std::clamp(to, from, m_buffer.length());
    const int firstLine = m_buffer.lineFromChar(from);
    // The line after the edit too: it moved with its layouts when the edit added or joined lines.
    const int lastLine = std::min(m_buffer.lineFromChar(to) + 1, m_buffer.lineCount() - 1);
    for (int line = firstLine; line <= lastLine; ++line) {
        if (line == firstLine + kCheckedLines && lastLine - line >= kCheckedLines)
            line = lastLine - kCheckedLines + 1;   // an edit of many lines: its two ends
        const int lineStart = m_buffer.lineIndex(line);
        const int lineEnd = m_buffer.lineEnd(line);
        const std::string difference = layoutOf(line).differenceFromFresh(
            line, std::clamp(from, lineStart, lineEnd) - lineStart, std::clamp(to, lineStart, lineEnd) - lineStart);
        if (!difference.empty())
            return difference;
    }
    return {};
}

void EditLayout::checkAgainstFresh(int from, int to)
{
    const std::string difference = differenceFromFresh(from, to);
    if (!difference.empty())
        std::fprintf(stderr, "EditLayout after an edit at %d..%d: %s\n", from, to, difference.c_str());
    assert(difference.empty() && "an edited layout keeps what a fresh one would not");
}

// ---- rows ---------------------------------------------------------------------------------

int EditLayout::rowCount()
{
    return wraps() ? m_rows->rowCount() : m_buffer.lineCount();
}

int EditLayout::lineOfRow(int row)
{
    if (wraps())
        return m_rows->lineOfRow(row);
    return std::clamp(row, 0, m_buffer.lineCount() - 1);
}

int EditLayout::firstRowOfLine(int line)
{
    if (wraps())
        return m_rows->firstRowOf(line);
    return std::clamp(line, 0, m_buffer.lineCount());
}

int EditLayout::rowInLine(int row, int* line)
{
    *line = lineOfRow(row);
    if (!wraps())
        return 0;
    return std::clamp(row - m_rows->firstRowOf(*line), 0, m_rows->rowsIn(*line) - 1);
}

int EditLayout::rowOfPos(int pos)
{
    pos = std::clamp(pos, 0, m_buffer.length());
    const int line = m_buffer.lineFromChar(pos);
    if (!wraps())
        return line;
    const int offset = std::min(pos, m_buffer.lineEnd(line)) - m_buffer.lineIndex(line);
    return m_rows->firstRowOf(line) + m_rows->rowInLineOf(line, offset);
}

int EditLayout::rowStart(int row)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    return m_buffer.lineIndex(line) + (wraps() ? m_rows->rowStartOffset(line, r) : 0);
}

int EditLayout::rowEnd(int row)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    if (wraps() && r + 1 < m_rows->rowsIn(line))
        return m_buffer.lineIndex(line) + m_rows->rowStartOffset(line, r + 1);
    return m_buffer.lineEnd(line);
}

bool EditLayout::rowEndsByWrap(int row)
{
    if (!wraps() || row < 0 || row >= rowCount())
        return false;
    int line = 0;
    const int r = rowInLine(row, &line);
    return r + 1 < m_rows->rowsIn(line);
}

// ---- x positions --------------------------------------------------------------------------

qreal EditLayout::xOfPos(int pos, bool atRowEnd)
{
    pos = std::clamp(pos, 0, m_buffer.length());
    const int line = m_buffer.lineFromChar(pos);
    const int start = m_buffer.lineIndex(line);
    const int offset = std::clamp(pos - start, 0, m_buffer.lineEnd(line) - start);
    return layoutOf(line).xOf(line, offset, atRowEnd);
}

int EditLayout::posAtX(int row, qreal x)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    const int lineStart = m_buffer.lineIndex(line);
    int offset = layoutOf(line).offsetAt(line, r, x);
    // A piece cut by force may leave the shaper's answer inside a pair; the caret never is.
    const int pos = lineStart + offset;
    if (isLong(line) && offset > 0 && offset < m_context.lineLength(line) && U16_IS_TRAIL(m_buffer.at(pos))
        && U16_IS_LEAD(m_buffer.at(pos - 1)))
        --offset;
    return lineStart + offset;
}

// ---- composition --------------------------------------------------------------------------

void EditLayout::setPreedit(const QString& preedit, const QList<QTextLayout::FormatRange>& formats)
{
    m_composition.set(preedit, formats);
}

ComposedLine* EditLayout::composition()
{
    if (m_composition.isEmpty())
        return nullptr;
    const int caret = m_buffer.caret();
    const int line = m_buffer.lineFromChar(caret);
    const int lineStart = m_buffer.lineIndex(line);
    const int offset = std::clamp(caret, lineStart, m_buffer.lineEnd(line)) - lineStart;
    return m_composition.at(layoutOf(line), line, offset, caret);
}

void EditLayout::preeditCaret(int cursor, int* row, qreal* x)
{
    ComposedLine* composed = composition();
    if (!composed) {
        *row = rowOfPos(m_buffer.caret());
        *x = xOfPos(m_buffer.caret());
        return;
    }
    int rowInLine = 0;
    composed->caret(cursor, &rowInLine, x);
    *row = firstRowOfLine(m_buffer.lineFromChar(m_buffer.caret())) + rowInLine;
}

int EditLayout::preeditExtraRows()
{
    if (m_composition.isEmpty() || !wraps())
        return 0;
    const int line = m_buffer.lineFromChar(m_buffer.caret());
    return std::max(0, composition()->rows() - m_rows->rowsIn(line));
}

int EditLayout::preeditDrawnRows()
{
    const ComposedLine* composed = composition();
    return composed ? composed->drawnRows() : 1;
}

int EditLayout::preeditChangedRows()
{
    const ComposedLine* composed = composition();
    return composed ? composed->changedRows() : 1;
}

// Like rowInLine, for a drawn row: the rows a composition adds follow its line's own rows.
int EditLayout::drawnRowInLine(int row, int* line)
{
    if (const int extra = preeditExtraRows(); extra > 0) {
        const int composedLine = m_buffer.lineFromChar(m_buffer.caret());
        const int after = m_rows->firstRowOf(composedLine + 1);
        if (row >= after && row < after + extra) {
            *line = composedLine;
            return row - m_rows->firstRowOf(composedLine);
        }
        if (row >= after)
            row -= extra;
    }
    return rowInLine(row, line);
}

// ---- drawing ------------------------------------------------------------------------------

void EditLayout::rowParts(int row, qreal left, qreal right, std::vector<RowPart>& parts)
{
    parts.clear();
    int line = 0;
    const int r = drawnRowInLine(row, &line);
    if (!m_composition.isEmpty() && m_buffer.lineFromChar(m_buffer.caret()) == line) {
        composition()->rowParts(r, left, right, parts);
        return;
    }
    layoutOf(line).rowParts(line, r, left, right, parts);
}

const QTextLayout& EditLayout::lineLayout(int line)
{
    return m_wholeLines->layout(line);
}

} // namespace platform
