#include "platform/editctl/EditLayout.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/CursorAtX.h"
#include "platform/editctl/GlyphInk.h"
#include "platform/editctl/LinePieces.h"
#include "platform/editctl/RowMap.h"
#include "platform/editctl/RowsFromWidths.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Enough layouts (whole lines, pieces and rows together) for several screens of rows;
// older ones are rebuilt when needed again.
constexpr size_t kCachedLines = 512;
// At most this many pieces are drawn in one row: together they stay far within the cache,
// so none of them is dropped while the row is drawn.
constexpr size_t kMostPartsInARow = 48;
// Keys of piece and row layouts of long lines; a whole line's key is its line number.
constexpr std::uint64_t kSegmentKey = std::uint64_t(1) << 63;
// Line width given to unwrapped rows: far wider than any text, within QTextLine's range.
constexpr qreal kUnwrappedWidth = 8.0e6;
// Tab distance QTextOption uses when none is set.
constexpr qreal kDefaultTabDistance = 80;
// Marks an advance bound not computed yet, and a unit that needs shaping.
constexpr float kUnknownAdvance = -2;
constexpr float kNeedsShaping = -1;

// Units whose glyphs are as wide laid out in a line as measured alone: no combining, no
// contextual forms, no reordering. Full-width ones are never wider than one em in any font.
enum class SimpleWidth { No, AsMeasured, FullWidth, HalfWidth };

SimpleWidth simpleWidth(char16_t c)
{
    if (c >= 0x20 && c < 0x7F)
        return SimpleWidth::AsMeasured;                 // ASCII
    if (c >= 0xA0 && c <= 0xFF)
        return SimpleWidth::AsMeasured;                 // Latin-1
    if ((c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) || (c >= 0x309B && c <= 0x30FF))
        return SimpleWidth::FullWidth;                  // CJK punctuation, kana (no combining marks)
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF))
        return SimpleWidth::FullWidth;                  // ideographs
    if (c >= 0xAC00 && c <= 0xD7A3)
        return SimpleWidth::FullWidth;                  // Hangul syllables
    if ((c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6))
        return SimpleWidth::FullWidth;                  // full-width forms
    if (c >= 0xFF61 && c <= 0xFF9F)
        return SimpleWidth::HalfWidth;                  // half-width katakana
    return SimpleWidth::No;
}

} // namespace

EditLayout::EditLayout(const TextBuffer& buffer)
    : m_buffer(buffer)
    , m_rows(std::make_unique<RowMap>([this](int line, std::vector<int>& breaks) { measureRows(line, breaks); }))
{
    setFont(QFont());
}

EditLayout::~EditLayout() = default;

void EditLayout::setFont(const QFont& font)
{
    // Drawn without kerning, as the system's edit control draws: every unit keeps its own
    // advance wherever it stands, so rows can be counted from the advances (RowsFromWidths).
    m_font = font;
    m_font.setKerning(false);
    m_rowsFromWidths.reset();
    m_advanceBounds.clear();
    m_inkBounds.clear();
    m_glyphInk.reset();
    m_advances.clear();
    m_pairAdvances.clear();
    m_runAdvances.clear();
    const QFontMetrics metrics(m_font);
    m_rowHeight = std::max(1, metrics.height());
    m_ascent = metrics.ascent();
    reset();
}

void EditLayout::setTabStopDistance(qreal pixels)
{
    m_tabStop = std::max<qreal>(0, pixels);
    m_rowsFromWidths.reset();
    reset();
}

void EditLayout::setWrapWidth(int pixels)
{
    m_wrapWidth = std::max(0, pixels);
    reset();
}

qreal EditLayout::tabDistance() const
{
    return m_tabStop > 0 ? m_tabStop : kDefaultTabDistance;
}

void EditLayout::reset()
{
    m_cache.clear();
    m_lru.clear();
    m_cachedUnits = 0;
    m_longLines.clear();
    m_preeditLayout.reset();
    m_composedRows.reset();
    m_replacedComposedRows.reset();
    m_widest = 0;
    m_rows->reset(m_buffer.lineCount());
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
    m_preeditLayout.reset();
    retireComposedRows(false);

    // The usual keystroke in a long line: its pieces and rows follow the edit locally.
    const int line = m_buffer.lineFromChar(change.start);
    const auto found = m_longLines.find(line);
    const int lineLength = m_buffer.lineEnd(line) - m_buffer.lineIndex(line);
    if (delta == 0 && found != m_longLines.end() && m_buffer.lineFromChar(change.start + change.inserted) == line
        && isLong(line) && found->second->length - change.removed + change.inserted == lineLength) {
        LongLine& ll = *found->second;
        const bool rowsKnown = ll.rowsKnown && wraps();
        updateLongLine(ll, line, change.start - m_buffer.lineIndex(line), change.removed, change.inserted);
        for (int other = first; other < first + newTouched; ++other) {
            if (other != line) {
                if (const auto it = m_longLines.find(other); it != m_longLines.end())
                    dropLongLine(it);
            }
        }
        dropCachedLines(first, oldTouched, 0);
        m_rows->replaceLines(first, oldTouched, newTouched);
        if (!wraps()) {
            m_changedFrom = first;
            m_changedEnd = first + newTouched;
        } else if (rowsKnown && first == line && newTouched == 1) {
            const int lineRow = m_rows->firstRowOf(line);
            m_changedFrom = lineRow + static_cast<int>(m_reflowFrom);
            m_changedEnd = m_reflowMovedRows ? -1 : lineRow + static_cast<int>(m_reflowEnd);
        } else {
            m_changedFrom = m_rows->firstRowOf(first);
            m_changedEnd = -1;
        }
        return;
    }

    // Otherwise the long lines the edit touched are cut again when next needed, and those
    // after it move with their lines.
    std::unordered_map<int, std::unique_ptr<LongLine>> kept;
    for (auto it = m_longLines.begin(); it != m_longLines.end();) {
        const int at = it->first;
        if (at >= first && at < first + oldTouched) {
            dropLongLine(it++);
            continue;
        }
        kept.emplace(at >= first + oldTouched ? at + delta : at, std::move(it->second));
        ++it;
    }
    m_longLines = std::move(kept);
    dropCachedLines(first, oldTouched, delta);
    m_rows->replaceLines(first, oldTouched, newTouched);
    m_changedFrom = wraps() ? m_rows->firstRowOf(first) : first;
    m_changedEnd = !wraps() && delta == 0 ? first + newTouched : -1;
}

void EditLayout::dropCachedLines(int first, int removed, int delta)
{
    if (delta == 0) {
        // The usual keystroke: no line moves, so only the touched lines are forgotten.
        for (int line = first; line < first + removed; ++line)
            forget(static_cast<std::uint64_t>(line));
        return;
    }
    std::unordered_map<std::uint64_t, CacheEntry> kept;
    for (auto it = m_lru.begin(); it != m_lru.end();) {
        const std::uint64_t key = *it;
        if (key & kSegmentKey) {
            kept.emplace(key, std::move(m_cache.at(key)));
            ++it;
            continue;
        }
        const int line = static_cast<int>(key);
        if (line >= first && line < first + removed) {
            m_cachedUnits -= m_cache.at(key).units;
            m_cache.erase(key);
            it = m_lru.erase(it);
            continue;
        }
        const int newLine = line >= first + removed ? line + delta : line;
        CacheEntry entry = std::move(m_cache.at(key));
        *it = static_cast<std::uint64_t>(newLine);
        entry.lruPos = it;
        kept.emplace(static_cast<std::uint64_t>(newLine), std::move(entry));
        ++it;
    }
    m_cache = std::move(kept);
}

// ---- the layout cache ---------------------------------------------------------------------

EditLayout::CacheEntry* EditLayout::cached(std::uint64_t key)
{
    const auto it = m_cache.find(key);
    if (it == m_cache.end())
        return nullptr;
    m_lru.splice(m_lru.begin(), m_lru, it->second.lruPos);
    return &it->second;
}

void EditLayout::remember(std::uint64_t key, std::unique_ptr<QTextLayout> layout, int units, qreal phase)
{
    forget(key);
    m_lru.push_front(key);
    m_cache.emplace(key, CacheEntry{std::move(layout), m_lru.begin(), units, phase});
    m_cachedUnits += units;
    // The newest layout always stays, however long: the caller is about to use it.
    while (m_lru.size() > 1 && (m_cachedUnits > kCachedUnits || m_cache.size() > kCachedLines)) {
        forget(m_lru.back());
    }
}

void EditLayout::forget(std::uint64_t key)
{
    const auto it = m_cache.find(key);
    if (it == m_cache.end())
        return;
    m_cachedUnits -= it->second.units;
    m_lru.erase(it->second.lruPos);
    m_cache.erase(it);
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
    if (isLong(line)) {
        LongLine& ll = longLine(line);
        if (wraps()) {
            size_t r = rowAtOffset(ll, offset);
            if (atRowEnd && r > 0 && offset == ll.rowStarts[r])
                --r;
            return rowLayout(ll, line, r).lineAt(0).cursorToX(offset - ll.rowStarts[r]);
        }
        const size_t p = pieceAtOffset(ll, offset);
        const QTextLayout& layout = pieceLayout(ll, line, p);
        return pieceX(ll, p) + layout.lineAt(0).cursorToX(offset - ll.pieces[p].start);
    }
    QTextLayout& layout = lineLayout(line);
    QTextLine row = layout.lineForTextPosition(offset);
    if (!row.isValid())
        return 0;
    if (atRowEnd && row.lineNumber() > 0 && offset == row.textStart())
        row = layout.lineAt(row.lineNumber() - 1);
    return row.cursorToX(offset);
}

int EditLayout::posAtX(int row, qreal x)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    const int lineStart = m_buffer.lineIndex(line);
    int offset = 0;
    if (isLong(line)) {
        LongLine& ll = longLine(line);
        int from = 0;
        int to = 0;
        const QTextLayout* layout = nullptr;
        qreal origin = 0;
        if (wraps()) {
            const size_t index = rowAtOffset(ll, m_rows->rowStartOffset(line, r));
            from = ll.rowStarts[index];
            to = index + 1 < ll.rowStarts.size() ? ll.rowStarts[index + 1] : ll.length;
            layout = &rowLayout(ll, line, index);
        } else {
            const size_t p = pieceAtX(ll, x);
            layout = &pieceLayout(ll, line, p);
            origin = pieceX(ll, p);
            from = ll.pieces[p].start;
            to = p + 1 < ll.pieces.size() ? ll.pieces[p + 1].start : ll.length;
        }
        offset = from + cursorAtX(*layout, layout->lineAt(0), x - origin, to - from);
        // A piece cut by force may leave the shaper's answer inside a pair; the caret never is.
        const int pos = lineStart + offset;
        if (offset > 0 && offset < ll.length && (m_buffer.at(pos) & 0xFC00) == 0xDC00
            && (m_buffer.at(pos - 1) & 0xFC00) == 0xD800)
            --offset;
        return lineStart + offset;
    }
    QTextLayout& layout = lineLayout(line);
    const QTextLine textLine = layout.lineAt(r);
    if (!textLine.isValid())
        return lineStart;
    const int rowEndOffset = r + 1 < layout.lineCount() ? layout.lineAt(r + 1).textStart()
                                                        : layout.text().size();
    offset = cursorAtX(layout, textLine, x, rowEndOffset);
    return lineStart + offset;
}

// ---- composition --------------------------------------------------------------------------

void EditLayout::setPreedit(const QString& preedit, const QList<QTextLayout::FormatRange>& formats)
{
    m_preedit = preedit;
    m_preeditFormats = formats;
    m_preeditLayout.reset();
    retireComposedRows(true);
}

// The stretch of text the composition is laid out with: the caret's whole line when it is
// laid out as one, else the caret's piece (a wrapped long line has composedRows instead).
void EditLayout::preeditSegment(int* line, int* segStart, int* segLength, qreal* segX, int* row)
{
    const int caret = m_buffer.caret();
    *line = m_buffer.lineFromChar(caret);
    const int lineStart = m_buffer.lineIndex(*line);
    const int offset = std::clamp(caret, lineStart, m_buffer.lineEnd(*line)) - lineStart;
    *segX = 0;
    if (!isLong(*line)) {
        *segStart = lineStart;
        *segLength = m_buffer.lineEnd(*line) - lineStart;
        *row = firstRowOfLine(*line);
        return;
    }
    LongLine& ll = longLine(*line);
    const size_t p = pieceAtOffset(ll, offset);
    *segStart = lineStart + ll.pieces[p].start;
    *segLength = (p + 1 < ll.pieces.size() ? ll.pieces[p + 1].start : ll.length) - ll.pieces[p].start;
    *segX = pieceX(ll, p);
    *row = *line;
}

const QTextLayout& EditLayout::preeditLayout()
{
    const int caret = m_buffer.caret();
    if (m_preeditLayout && m_preeditCaret == caret)
        return *m_preeditLayout;
    int line = 0;
    int segStart = 0;
    int segLength = 0;
    qreal segX = 0;
    int row = 0;
    preeditSegment(&line, &segStart, &segLength, &segX, &row);
    const int offset = std::clamp(caret - segStart, 0, segLength);
    if (!isLong(line)) {
        QList<QTextLayout::FormatRange> formats = m_preeditFormats;
        for (QTextLayout::FormatRange& range : formats)
            range.start += offset;
        m_preeditLayout = buildLayout(line, offset, m_preedit, formats);
    } else {
        m_preeditLayout = buildSegment(segStart, segLength, tabPhaseAt(segX), false, offset);
    }
    m_preeditCaret = caret;
    return *m_preeditLayout;
}

void EditLayout::preeditCaret(int cursor, int* row, qreal* x)
{
    if (ComposedRows* composed = composedRows()) {
        // The last of the re-flowed rows that starts at or before the caret.
        const int at = composed->caretOffset + std::clamp(cursor, 0, static_cast<int>(m_preedit.size()));
        size_t i = 0;
        while (i + 1 < composed->rows.size() && composed->rows[i + 1].start <= at)
            ++i;
        ComposedRow& composedRow = composed->rows[i];
        const QTextLayout& layout = composedRowLayout(composedRow, m_buffer.lineIndex(composed->line),
                                                      composed->caretOffset);
        *row = firstRowOfLine(composed->line) + static_cast<int>(composed->firstRow + i);
        *x = layout.lineAt(0).cursorToX(at - composedRow.start);
        return;
    }
    int line = 0;
    int segStart = 0;
    int segLength = 0;
    qreal segX = 0;
    preeditSegment(&line, &segStart, &segLength, &segX, row);
    const QTextLayout& layout = preeditLayout();
    const int offset = std::clamp(m_buffer.caret() - segStart, 0, segLength)
                       + std::clamp(cursor, 0, static_cast<int>(m_preedit.size()));
    const QTextLine textLine = layout.lineForTextPosition(offset);
    if (!textLine.isValid()) {
        *x = segX;
        return;
    }
    if (!isLong(line))
        *row += textLine.lineNumber();
    *x = segX + textLine.cursorToX(offset);
}

int EditLayout::preeditExtraRows()
{
    if (m_preedit.isEmpty() || !wraps())
        return 0;
    const int line = m_buffer.lineFromChar(m_buffer.caret());
    if (isLong(line)) {
        const ComposedRows* composed = composedRows();
        return composed ? static_cast<int>(composed->drawn() - (composed->endRow - composed->firstRow)) : 0;
    }
    return std::max(0, preeditLayout().lineCount() - m_rows->rowsIn(line));
}

int EditLayout::preeditDrawnRows()
{
    if (const ComposedRows* composed = composedRows())
        return static_cast<int>(composed->drawn());
    return 1;
}

int EditLayout::preeditChangedRows()
{
    if (const ComposedRows* composed = composedRows())
        return std::max(1, composed->changedRows);
    return 1;
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
    const int lineStart = m_buffer.lineIndex(line);
    const int caret = m_buffer.caret();
    const bool composing = !m_preedit.isEmpty() && m_buffer.lineFromChar(caret) == line;
    const int caretOffset = std::clamp(caret, lineStart, m_buffer.lineEnd(line)) - lineStart;

    RowPart part;
    if (!isLong(line)) {
        part.layout = composing ? &preeditLayout() : &lineLayout(line);
        part.layoutRow = r;
        if (r >= part.layout->lineCount())
            return;   // a row the composition's layout does not fill
        part.textStart = lineStart;
        part.length = m_buffer.lineEnd(line) - lineStart;
        if (composing) {
            part.compositionAt = caretOffset;
            part.compositionLength = static_cast<int>(m_preedit.size());
        }
        parts.push_back(part);
        return;
    }

    LongLine& ll = longLine(line);
    if (wraps()) {
        size_t index = static_cast<size_t>(r);
        if (ComposedRows* composed = composing ? composedRows() : nullptr) {
            // Rows the composition re-flowed, then the line's own rows, further down.
            if (index >= composed->firstRow + composed->drawn()) {
                index -= composed->drawn() - (composed->endRow - composed->firstRow);
            } else if (index >= composed->firstRow) {
                if (index - composed->firstRow >= composed->rows.size())
                    return;   // a row the re-flowed rows do not fill
                ComposedRow& composedRow = composed->rows[index - composed->firstRow];
                part.layout = &composedRowLayout(composedRow, lineStart, composed->caretOffset);
                part.textStart = lineStart + composedRow.from;
                part.length = composedRow.to - composedRow.from;
                if (composedRow.preeditFrom < composedRow.preeditTo) {
                    part.compositionAt = composed->caretOffset - composedRow.from;
                    part.compositionLength = composedRow.preeditTo - composedRow.preeditFrom;
                }
                parts.push_back(part);
                return;
            }
        }
        index = std::min(index, ll.rowStarts.size() - 1);
        const int from = ll.rowStarts[index];
        const int to = index + 1 < ll.rowStarts.size() ? ll.rowStarts[index + 1] : ll.length;
        part.textStart = lineStart + from;
        part.length = to - from;
        part.layout = &rowLayout(ll, line, index);
        parts.push_back(part);
        return;
    }

    // The composition widens its piece; the pieces after it are drawn that much further on.
    const size_t composed = composing ? pieceAtOffset(ll, caretOffset) : ll.pieces.size();
    qreal shift = 0;
    if (composing) {
        const qreal plain = pieceX(ll, composed + 1) - pieceX(ll, composed);
        const QTextLine composedLine = preeditLayout().lineAt(0);
        const qreal width = std::max(composedLine.horizontalAdvance(),
                                     composedLine.cursorToX(composedLine.textStart() + composedLine.textLength()));
        shift = std::max<qreal>(0, width - plain);
    }
    size_t p = pieceAtX(ll, left);
    if (p > composed)
        p = std::max(composed, pieceAtX(ll, left - shift));
    for (; p < ll.pieces.size() && parts.size() < kMostPartsInARow; ++p) {
        const qreal x = pieceX(ll, p) + (p > composed ? shift : 0);
        if (x > right)
            break;
        // Pieces of no width (a run of combining marks, a zero-width font) all stand at
        // one x; past the first few they add nothing to see and would only be shaped.
        if (parts.size() >= 4 && p != composed && pieceX(ll, p + 1) - pieceX(ll, p) < 0.5)
            continue;
        part.x = x;
        part.textStart = lineStart + ll.pieces[p].start;
        part.length = (p + 1 < ll.pieces.size() ? ll.pieces[p + 1].start : ll.length) - ll.pieces[p].start;
        if (p == composed) {
            part.layout = &preeditLayout();
            part.compositionAt = caretOffset - ll.pieces[p].start;
            part.compositionLength = static_cast<int>(m_preedit.size());
        } else {
            part.layout = &pieceLayout(ll, line, p);
            part.compositionAt = -1;
            part.compositionLength = 0;
        }
        parts.push_back(part);
    }
}

// ---- whole-line layouts -------------------------------------------------------------------

QTextLayout& EditLayout::lineLayout(int line)
{
    line = std::clamp(line, 0, m_buffer.lineCount() - 1);
    const auto key = static_cast<std::uint64_t>(line);
    if (CacheEntry* entry = cached(key))
        return *entry->layout;
    auto layout = buildLayout(line, 0, QString(), {});
    QTextLayout& result = *layout;
    remember(key, std::move(layout), m_buffer.lineEnd(line) - m_buffer.lineIndex(line), 0);
    if (wraps() && !isLong(line) && m_rows->isMeasured(line) && !sameRowsAsCounted(line, result)) {
        // Rows counted from advances that a font draws otherwise (never seen with the fonts
        // the tests use): from now on this font's lines are shaped to count their rows.
        if (m_rowsFromWidths)
            m_rowsFromWidths->distrust();
        m_rows->replaceLines(line, 1, 1);
    }
    return result;
}

bool EditLayout::sameRowsAsCounted(int line, const QTextLayout& layout)
{
    if (layout.lineCount() != m_rows->rowsIn(line))
        return false;
    for (int r = 1; r < layout.lineCount(); ++r) {
        if (layout.lineAt(r).textStart() != m_rows->rowStartOffset(line, r))
            return false;
    }
    return true;
}

std::unique_ptr<QTextLayout> EditLayout::buildLayout(int line, int preeditOffset, const QString& preedit,
                                                     const QList<QTextLayout::FormatRange>& extraFormats)
{
    const int start = m_buffer.lineIndex(line);
    const std::u16string units = m_buffer.textRange(start, m_buffer.lineEnd(line) - start);

    QString text(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    for (size_t i = 0; i < units.size(); ++i)
        text[static_cast<qsizetype>(i)] = QChar(displayCharFor(units[i]));

    auto layout = std::make_unique<QTextLayout>(text, m_font);
    QTextOption option;
    option.setWrapMode(wraps() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    if (m_tabStop > 0)
        option.setTabStopDistance(m_tabStop);
    layout->setTextOption(option);
    if (!preedit.isEmpty())
        layout->setPreeditArea(std::clamp(preeditOffset, 0, static_cast<int>(text.size())), preedit);
    if (!extraFormats.isEmpty())
        layout->setFormats(extraFormats);
    layout->setCacheEnabled(true);
    placeRows(*layout);
    return layout;
}

void EditLayout::placeRows(QTextLayout& layout)
{
    layout.beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wraps() ? m_wrapWidth : kUnwrappedWidth);
        // Align the baseline to the row grid; a taller fallback font must not push it down.
        line.setPosition(QPointF(0, row * m_rowHeight + m_ascent - line.ascent()));
        if (!wraps())
            m_widest = std::max(m_widest, line.naturalTextWidth());
    }
    layout.endLayout();
}

void EditLayout::measureRows(int line, std::vector<int>& breaks)
{
    const int start = m_buffer.lineIndex(line);
    const int end = m_buffer.lineEnd(line);
    if (isLong(line)) {
        LongLine& ll = longLine(line);
        breaks.assign(ll.rowStarts.begin() + 1, ll.rowStarts.end());
        return;
    }
    if (start == end || surelyFitsOneRow(start, end))
        return;   // one row; no layout needed
    // Most lines of prose are settled from the advances of their units; shaping a line is
    // by far the dearest part of counting rows.
    if (!m_rowsFromWidths)
        m_rowsFromWidths = std::make_unique<RowsFromWidths>(m_font, tabDistance());
    std::u16string text = m_buffer.textRange(start, end - start);
    for (char16_t& c : text)
        c = displayCharFor(c);
    if (m_rowsFromWidths->rowBreaks(text, m_wrapWidth, breaks))
        return;
    breaks.clear();
    const QTextLayout& layout = lineLayout(line);
    for (int i = 1; i < layout.lineCount(); ++i)
        breaks.push_back(layout.lineAt(i).textStart());
}


// Whether the line [start, end) fits one row for certain, judged from an upper bound of its
// width. Shaping a line is by far the dearest part of counting rows, and most lines of prose
// are shorter than the window; those are settled without it. Any unit whose laid-out width
// could exceed its measured width sends the line to the full layout.
bool EditLayout::surelyFitsOneRow(int start, int end)
{
    // Room for kerning and rounding, which can only nudge a simple line's width.
    const qreal limit = m_wrapWidth * 0.97 - 2;
    const qreal tab = m_tabStop > 0 ? m_tabStop : kDefaultTabDistance;
    qreal bound = 0;
    // The shaper adds the ink the last glyph draws past its advance when it checks a row's
    // width: a slanted glyph (an italic made by the font engine) reaches a third of an em
    // past it. Any unit may end up last, so the most ink of the line is added.
    qreal ink = 0;
    for (int pos = start; pos < end; ++pos) {
        const char16_t c = m_buffer.at(pos);
        if (c == u'\t') {
            // The next stop after the bound is never before the next stop after the true x.
            bound = (std::floor(bound / tab) + 1) * tab;
        } else {
            qreal unitInk = 0;
            const qreal advance = advanceBound(c, &unitInk);
            if (advance < 0)
                return false;
            bound += advance;
            ink = std::max(ink, unitInk);
        }
        if (bound + ink > limit)
            return false;
    }
    return true;
}

qreal EditLayout::advanceBound(char16_t c, qreal* ink)
{
    if (m_advanceBounds.empty()) {
        m_advanceBounds.assign(0x10000, kUnknownAdvance);
        m_inkBounds.assign(0x10000, 0);
    }
    float& bound = m_advanceBounds[c];
    if (bound != kUnknownAdvance) {
        *ink = m_inkBounds[c];
        return bound;
    }

    const char16_t shown = displayCharFor(c);
    const QFontMetricsF metrics(m_font);
    if (!m_glyphInk)
        m_glyphInk = std::make_unique<GlyphInk>(m_font);
    m_inkBounds[c] = static_cast<float>(m_glyphInk->of(shown));
    *ink = m_inkBounds[c];
    // One em of the size actually used, which a reference ideograph of the CJK font that
    // lines fall back to shows even when the pixel size is fractional.
    const qreal em = std::max<qreal>(QFontInfo(m_font).pixelSize(), metrics.horizontalAdvance(QChar(0x6C34)));
    const qreal measured = metrics.horizontalAdvance(QChar(shown));
    switch (simpleWidth(shown)) {
    case SimpleWidth::AsMeasured:
        // Only glyphs of the font itself: a fallback font may be chosen by script in a line.
        bound = metrics.inFont(QChar(shown)) ? static_cast<float>(measured) : kNeedsShaping;
        break;
    case SimpleWidth::FullWidth:
        bound = static_cast<float>(std::max(measured, em));
        break;
    case SimpleWidth::HalfWidth:
        bound = static_cast<float>(std::max(measured, em / 2));
        break;
    case SimpleWidth::No:
        bound = kNeedsShaping;
        break;
    }
    return bound;
}

} // namespace platform
