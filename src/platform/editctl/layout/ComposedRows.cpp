#include "platform/editctl/layout/ComposedRows.h"

#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/LongLineRows.h"
#include "platform/editctl/layout/SegmentLayout.h"

#include <algorithm>

namespace platform {

ComposedRows::ComposedRows(LongLineRows& rows, int line, int caretOffset, const Preedit& preedit,
                           const ReplacedComposition& replaced)
    : m_lineRows(rows)
    , m_line(line)
    , m_caretOffset(caretOffset)
    , m_preedit(preedit)
{
    const LongLineRows::Line& ll = rows.record(line);
    const int lineStart = rows.context().lineStart(line);
    const int at = m_caretOffset;
    const int added = static_cast<int>(m_preedit.text.size());
    const int length = ll.length + added;

    m_firstRow = ll.rowAt(at);
    m_endRow = ll.starts.size();
    std::vector<int> starts(1, ll.starts[m_firstRow]);
    // The first old row that starts after the row being found, in offsets with the composition.
    std::size_t old = m_firstRow + 1;
    const auto oldStart = [&](std::size_t row) { return ll.starts[row] + added; };
    RowFlow flow = rows.flow();
    while (true) {
        const int start = starts.back();
        const int windowStart = std::max(0, start - 2);
        const std::u16string window = composedText(ll.length, lineStart, windowStart,
                                                   std::min(RowFlow::kWindow, length - windowStart));
        int next = flow.nextRowStart(window, length, start, windowStart);
        if (old < ll.starts.size() && next > oldStart(old) && old - m_firstRow >= kMostRows)
            next = oldStart(old);   // an old row start lies after the caret: a safe place to end
        if (next >= length)
            break;
        while (old < ll.starts.size() && oldStart(old) < next)
            ++old;
        if (old < ll.starts.size() && oldStart(old) == next) {
            m_endRow = old;
            break;
        }
        starts.push_back(next);
    }
    const auto lineOffset = [&](int offset) { return offset <= at ? offset : std::max(at, offset - added); };
    m_rows.resize(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        Row& row = m_rows[i];
        const int end = i + 1 < starts.size() ? starts[i + 1] : m_endRow < ll.starts.size() ? oldStart(m_endRow) : length;
        row.start = starts[i];
        row.from = lineOffset(starts[i]);
        row.to = lineOffset(end);
        row.preeditFrom = std::clamp(starts[i] - at, 0, added);
        row.preeditTo = std::clamp(end - at, 0, added);
    }

    // Rows that show the same text as before keep their layouts and need no drawing; a row
    // that shows the composition is always drawn again.
    auto* const before = dynamic_cast<ComposedRows*>(replaced.line);
    const std::size_t drawnRows = std::max(drawn(), replaced.line ? static_cast<std::size_t>(replaced.line->drawnRows()) : 0);
    m_changedRows = static_cast<int>(drawnRows);
    if (before && replaced.sameText && before->m_firstRow == m_firstRow) {
        m_changedRows = 0;
        for (std::size_t i = 0; i < drawnRows; ++i) {
            Row* now = i < m_rows.size() ? &m_rows[i] : nullptr;
            Row* then = i < before->m_rows.size() ? &before->m_rows[i] : nullptr;
            if (now && then && now->from == then->from && now->to == then->to && now->preeditFrom == now->preeditTo
                && then->preeditFrom == then->preeditTo) {
                now->layout = std::move(then->layout);
            } else {
                m_changedRows = static_cast<int>(i + 1);
            }
        }
    }
}

ComposedRows::~ComposedRows() = default;

int ComposedRows::rows() const
{
    const int own = static_cast<int>(m_lineRows.record(m_line).starts.size());
    return own + static_cast<int>(drawn() - (m_endRow - m_firstRow));
}

std::u16string ComposedRows::composedText(int lineLength, int lineStart, int from, int length) const
{
    const TextBuffer& buffer = m_lineRows.context().buffer;
    const int added = static_cast<int>(m_preedit.text.size());
    const int to = std::min(from + length, lineLength + added);
    std::u16string text;
    text.reserve(static_cast<std::size_t>(std::max(0, to - from)));
    if (from < m_caretOffset)
        text += buffer.textRange(lineStart + from, std::min(to, m_caretOffset) - from);
    const int preeditFrom = std::clamp(from - m_caretOffset, 0, added);
    const int preeditTo = std::clamp(to - m_caretOffset, 0, added);
    for (int i = preeditFrom; i < preeditTo; ++i)
        text += static_cast<char16_t>(m_preedit.text[i].unicode());
    const int after = std::max(from, m_caretOffset + added);
    if (after < to)
        text += buffer.textRange(lineStart + after - added, to - after);
    return text;
}

const QTextLayout& ComposedRows::rowLayout(Row& row)
{
    if (!row.layout) {
        LayoutContext& context = m_lineRows.context();
        const PreeditPart shown{&m_preedit, m_caretOffset - row.from, row.preeditFrom, row.preeditTo};
        const bool composes = row.preeditFrom < row.preeditTo;
        row.layout = layoutSegment(context, context.lineStart(m_line) + row.from, row.to - row.from, 0,
                                   Segment::WrappedRow, composes ? &shown : nullptr);
    }
    return *row.layout;
}

void ComposedRows::caret(int cursor, int* rowInLine, qreal* x)
{
    // The last of the re-flowed rows that starts at or before the caret.
    const int at = m_caretOffset + std::clamp(cursor, 0, static_cast<int>(m_preedit.text.size()));
    std::size_t i = 0;
    while (i + 1 < m_rows.size() && m_rows[i + 1].start <= at)
        ++i;
    const QTextLayout& layout = rowLayout(m_rows[i]);
    *rowInLine = static_cast<int>(m_firstRow + i);
    *x = layout.lineAt(0).cursorToX(at - m_rows[i].start);
}

void ComposedRows::rowParts(int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts)
{
    // Rows the composition re-flowed, then the line's own rows, further down.
    std::size_t index = static_cast<std::size_t>(rowInLine);
    if (index >= m_firstRow + drawn()) {
        index -= drawn() - (m_endRow - m_firstRow);
    } else if (index >= m_firstRow) {
        if (index - m_firstRow >= m_rows.size())
            return;   // a row the re-flowed rows do not fill
        Row& row = m_rows[index - m_firstRow];
        RowPart part;
        part.layout = &rowLayout(row);
        part.textStart = m_lineRows.context().lineStart(m_line) + row.from;
        part.length = row.to - row.from;
        if (row.preeditFrom < row.preeditTo) {
            part.compositionAt = m_caretOffset - row.from;
            part.compositionLength = row.preeditTo - row.preeditFrom;
        }
        parts.push_back(part);
        return;
    }
    m_lineRows.rowParts(m_line, static_cast<int>(index), left, right, parts);
}

} // namespace platform
