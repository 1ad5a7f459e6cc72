#include "platform/editctl/layout/LongLineRows.h"

#include "platform/editctl/CursorAtX.h"
#include "platform/editctl/layout/ComposedRows.h"
#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/SegmentLayout.h"
#include "platform/editctl/layout/ShownText.h"

#include <algorithm>

namespace platform {

namespace {

// Rows the check flows afresh around each end of an edit.
constexpr std::size_t kCheckedRows = 8;

} // namespace

std::size_t LongLineRows::Line::rowAt(int offset) const
{
    const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    return it == starts.begin() ? 0 : static_cast<std::size_t>(it - starts.begin()) - 1;
}

LongLineRows::LongLineRows(LayoutContext& context)
    : m_context(context)
{
}

LongLineRows::~LongLineRows() = default;

void LongLineRows::clear()
{
    m_lines.clear();
}

RowFlow LongLineRows::flow()
{
    return RowFlow(m_context.widths, m_context.wrapWidth, m_context.tabDistance());
}

LongLineRows::Line& LongLineRows::record(int line)
{
    return m_lines.get(line, [&](Line& ll) { flowRows(ll, line); });
}

std::size_t LongLineRows::recordBytes() const
{
    return m_lines.bytes(
        [](const Line& ll) { return ll.starts.capacity() * sizeof(int) + ll.ids.capacity() * sizeof(LayoutCache::Id); });
}

// ---- rows ---------------------------------------------------------------------------------

void LongLineRows::flowRows(Line& ll, int line)
{
    ll.length = m_context.lineLength(line);
    const std::u16string text = m_context.buffer.textRange(m_context.lineStart(line), ll.length);
    RowFlow rows = flow();
    ll.starts.assign(1, 0);
    ll.ids.assign(1, m_context.cache.newId());
    for (int start = rows.nextRowStart(text, ll.length, 0, 0); start < ll.length;
         start = rows.nextRowStart(text, ll.length, start, 0)) {
        ll.starts.push_back(start);
        ll.ids.push_back(m_context.cache.newId());
    }
}

bool LongLineRows::followEdit(int line, int offset, int removed, int inserted, RowSpan* redrawn)
{
    Line* ll = m_lines.find(line);
    if (!ll || ll->length - removed + inserted != m_context.lineLength(line))
        return false;
    ll->length += inserted - removed;
    *redrawn = reflow(*ll, line, offset, removed, inserted);
    return true;
}

// Re-flows the rows from two rows before the edit, until a row starts where an old one did
// in the unchanged text after the edit; from there on the old rows only move. Returns the
// rows laid out anew.
RowSpan LongLineRows::reflow(Line& ll, int line, int offset, int removed, int inserted)
{
    const int delta = inserted - removed;
    const std::vector<int> oldStarts = std::move(ll.starts);
    const std::vector<LayoutCache::Id> oldIds = std::move(ll.ids);
    const std::size_t editRow = [&] {
        const auto it = std::upper_bound(oldStarts.begin(), oldStarts.end(), offset);
        return it == oldStarts.begin() ? std::size_t(0) : static_cast<std::size_t>(it - oldStarts.begin()) - 1;
    }();
    const std::size_t from = editRow >= 2 ? editRow - 2 : 0;
    ll.starts.assign(oldStarts.begin(), oldStarts.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    ll.ids.assign(oldIds.begin(), oldIds.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    ll.ids.back() = m_context.cache.newId();

    const int lineStart = m_context.lineStart(line);
    RowFlow rows = flow();
    std::size_t old = from + 1;
    std::size_t resumeAt = oldStarts.size();
    int start = ll.starts.back();
    while (true) {
        const int windowStart = std::max(0, start - 2);
        const std::u16string window = m_context.buffer.textRange(lineStart + windowStart,
                                                                 std::min(RowFlow::kWindow, ll.length - windowStart));
        start = rows.nextRowStart(window, ll.length, start, windowStart);
        if (start >= ll.length)
            break;
        while (old < oldStarts.size() && oldStarts[old] + delta < start)
            ++old;
        if (old < oldStarts.size() && oldStarts[old] + delta == start && oldStarts[old] >= offset + removed) {
            resumeAt = old;
            break;
        }
        ll.starts.push_back(start);
        ll.ids.push_back(m_context.cache.newId());
    }
    for (std::size_t i = from; i < resumeAt; ++i)
        m_context.cache.forget(oldIds[i]);
    const std::size_t end = ll.starts.size();
    const bool movedRows = resumeAt == oldStarts.size() || end - from != resumeAt - from;
    for (std::size_t i = resumeAt; i < oldStarts.size(); ++i) {
        ll.starts.push_back(oldStarts[i] + delta);
        ll.ids.push_back(oldIds[i]);
    }
    return {static_cast<int>(from), movedRows ? -1 : static_cast<int>(end)};
}

void LongLineRows::linesReplaced(int first, int removed, int inserted, int kept)
{
    m_lines.linesReplaced(first, removed, inserted, kept, [&](const Line& ll) {
        for (LayoutCache::Id id : ll.ids)
            m_context.cache.forget(id);
    });
}

const QTextLayout& LongLineRows::rowLayout(Line& ll, int line, std::size_t row)
{
    row = std::min(row, ll.starts.size() - 1);
    if (const QTextLayout* kept = m_context.cache.find(ll.ids[row]))
        return *kept;
    const int from = ll.starts[row];
    const int to = ll.rowEnd(row);
    return m_context.cache.keep(ll.ids[row],
                                layoutSegment(m_context, m_context.lineStart(line) + from, to - from, 0,
                                              Segment::WrappedRow),
                                to - from);
}

// ---- geometry -----------------------------------------------------------------------------

void LongLineRows::rowBreaks(int line, std::vector<int>& breaks)
{
    const Line& ll = record(line);
    breaks.assign(ll.starts.begin() + 1, ll.starts.end());
}

qreal LongLineRows::xOf(int line, int offset, bool atRowEnd)
{
    Line& ll = record(line);
    std::size_t r = ll.rowAt(offset);
    if (atRowEnd && r > 0 && offset == ll.starts[r])
        --r;
    return rowLayout(ll, line, r).lineAt(0).cursorToX(offset - ll.starts[r]);
}

int LongLineRows::offsetAt(int line, int rowInLine, qreal x)
{
    Line& ll = record(line);
    const std::size_t row = std::min(static_cast<std::size_t>(std::max(0, rowInLine)), ll.starts.size() - 1);
    const int from = ll.starts[row];
    const QTextLayout& layout = rowLayout(ll, line, row);
    return from + cursorAtX(layout, layout.lineAt(0), x, ll.rowEnd(row) - from);
}

void LongLineRows::rowParts(int line, int rowInLine, qreal, qreal, std::vector<RowPart>& parts)
{
    Line& ll = record(line);
    const std::size_t row = std::min(static_cast<std::size_t>(std::max(0, rowInLine)), ll.starts.size() - 1);
    RowPart part;
    part.textStart = m_context.lineStart(line) + ll.starts[row];
    part.length = ll.rowEnd(row) - ll.starts[row];
    part.layout = &rowLayout(ll, line, row);
    parts.push_back(part);
}

std::unique_ptr<ComposedLine> LongLineRows::compose(int line, int caretOffset, const Preedit& preedit,
                                                    const ReplacedComposition& replaced)
{
    return std::make_unique<ComposedRows>(*this, line, caretOffset, preedit, replaced);
}

// ---- the check ----------------------------------------------------------------------------

std::string LongLineRows::differenceFromFresh(int line, int from, int to)
{
    const Line* ll = m_lines.find(line);
    if (!ll)
        return {};
    const std::string where = "line " + std::to_string(line) + ": ";
    if (ll->length != m_context.lineLength(line))
        return where + "its rows hold " + std::to_string(ll->length) + " units, the line "
               + std::to_string(m_context.lineLength(line));
    if (ll->starts.empty() || ll->starts.front() != 0 || ll->ids.size() != ll->starts.size())
        return where + "its rows do not start the line or have no layouts to match";
    // Rows from three before each end of the edit on, as the re-flow began two before it.
    const std::size_t first = ll->rowAt(from);
    const std::size_t last = ll->rowAt(to);
    std::string difference = freshRowsDiffer(*ll, line, first >= 3 ? first - 3 : 0);
    if (difference.empty() && last > first + kCheckedRows)
        difference = freshRowsDiffer(*ll, line, last - 3);
    return difference.empty() ? difference : where + difference;
}

std::string LongLineRows::freshRowsDiffer(const Line& ll, int line, std::size_t first)
{
    const int lineStart = m_context.lineStart(line);
    RowFlow rows = flow();
    const std::size_t end = std::min(ll.starts.size(), first + kCheckedRows);
    for (std::size_t row = first; row < end; ++row) {
        const int start = ll.starts[row];
        const int windowStart = std::max(0, start - 2);
        const std::u16string window = m_context.buffer.textRange(lineStart + windowStart,
                                                                 std::min(RowFlow::kWindow, ll.length - windowStart));
        const int fresh = rows.nextRowStart(window, ll.length, start, windowStart);
        if (fresh != ll.rowEnd(row))
            return "row " + std::to_string(row) + " at " + std::to_string(start) + " ends at "
                   + std::to_string(ll.rowEnd(row)) + ", flowed afresh at " + std::to_string(fresh);
        if (const QTextLayout* kept = m_context.cache.peek(ll.ids[row]);
            kept && !showsText(*kept, m_context.buffer, lineStart + start, fresh - start))
            return "the layout of row " + std::to_string(row) + " shows other text";
    }
    return {};
}

} // namespace platform
