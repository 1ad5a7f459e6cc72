#include "platform/editctl/layout/WholeLineLayout.h"

#include "platform/editctl/CursorAtX.h"
#include "platform/editctl/LinePieces.h"
#include "platform/editctl/RowMap.h"
#include "platform/editctl/RowsFromWidths.h"
#include "platform/editctl/layout/AdvanceBounds.h"
#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/ShownText.h"

#include <QTextOption>

#include <algorithm>

namespace platform {

namespace {

// Line width given to unwrapped rows: far wider than any text, within QTextLine's range.
constexpr qreal kUnwrappedWidth = 8.0e6;

// A line laid out once with the composition in it; its rows replace the line's own.
class ComposedWholeLine final : public ComposedLine {
public:
    ComposedWholeLine(std::unique_ptr<QTextLayout> layout, int lineStart, int lineLength, int caretOffset,
                      int preeditLength)
        : m_layout(std::move(layout))
        , m_lineStart(lineStart)
        , m_lineLength(lineLength)
        , m_caretOffset(caretOffset)
        , m_preeditLength(preeditLength)
    {
    }

    int rows() const override { return m_layout->lineCount(); }

    void caret(int cursor, int* rowInLine, qreal* x) override
    {
        const int offset = m_caretOffset + std::clamp(cursor, 0, m_preeditLength);
        const QTextLine textLine = m_layout->lineForTextPosition(offset);
        *rowInLine = textLine.isValid() ? textLine.lineNumber() : 0;
        *x = textLine.isValid() ? textLine.cursorToX(offset) : 0;
    }

    void rowParts(int rowInLine, qreal, qreal, std::vector<RowPart>& parts) override
    {
        if (rowInLine >= m_layout->lineCount())
            return;   // a row the composition's layout does not fill
        RowPart part;
        part.layout = m_layout.get();
        part.layoutRow = rowInLine;
        part.textStart = m_lineStart;
        part.length = m_lineLength;
        part.compositionAt = m_caretOffset;
        part.compositionLength = m_preeditLength;
        parts.push_back(part);
    }

private:
    std::unique_ptr<QTextLayout> m_layout;
    int m_lineStart;
    int m_lineLength;
    int m_caretOffset;
    int m_preeditLength;
};

} // namespace

WholeLineLayout::WholeLineLayout(LayoutContext& context, RowMap& rows)
    : m_context(context)
    , m_rows(rows)
{
}

WholeLineLayout::~WholeLineLayout() = default;

void WholeLineLayout::fontChanged()
{
    m_bounds.reset();
    m_rowsFromWidths.reset();
}

void WholeLineLayout::tabsChanged()
{
    m_rowsFromWidths.reset();
}

void WholeLineLayout::clear()
{
    m_ids.clear();
}

const QTextLayout& WholeLineLayout::layout(int line)
{
    line = std::clamp(line, 0, m_context.buffer.lineCount() - 1);
    if (m_ids.size() > 2 * LayoutCache::kMostLayouts) {
        // Ids of layouts the cache dropped go too, so that moving lines stays cheap.
        std::erase_if(m_ids, [&](const auto& entry) { return !m_context.cache.peek(entry.second); });
    }
    const auto [it, added] = m_ids.try_emplace(line, 0);
    if (added)
        it->second = m_context.cache.newId();
    else if (const QTextLayout* kept = m_context.cache.find(it->second))
        return *kept;
    const QTextLayout& made = m_context.cache.keep(it->second, build(line), m_context.lineLength(line));
    if (m_context.wraps() && m_context.lineLength(line) <= pieces::kLongLine && m_rows.isMeasured(line)
        && !sameRowsAsCounted(line, made)) {
        // Rows counted from advances that a font draws otherwise (never seen with the fonts
        // the tests use): from now on this font's lines are shaped to count their rows.
        if (m_rowsFromWidths)
            m_rowsFromWidths->distrust();
        m_rows.replaceLines(line, 1, 1);
    }
    return made;
}

bool WholeLineLayout::sameRowsAsCounted(int line, const QTextLayout& layout)
{
    if (layout.lineCount() != m_rows.rowsIn(line))
        return false;
    for (int r = 1; r < layout.lineCount(); ++r) {
        if (layout.lineAt(r).textStart() != m_rows.rowStartOffset(line, r))
            return false;
    }
    return true;
}

std::unique_ptr<QTextLayout> WholeLineLayout::build(int line, int at, const Preedit* preedit)
{
    const QString text = shownText(m_context.buffer, m_context.lineStart(line), m_context.lineLength(line));
    auto layout = std::make_unique<QTextLayout>(text, m_context.font);
    QTextOption option;
    option.setWrapMode(m_context.wraps() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    if (m_context.tabStop > 0)
        option.setTabStopDistance(m_context.tabStop);
    layout->setTextOption(option);
    if (preedit && !preedit->text.isEmpty()) {
        layout->setPreeditArea(std::clamp(at, 0, static_cast<int>(text.size())), preedit->text);
        // The composition's formats, where it stands in the line.
        QList<QTextLayout::FormatRange> formats = preedit->formats;
        for (QTextLayout::FormatRange& range : formats)
            range.start += at;
        if (!formats.isEmpty())
            layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    placeRows(*layout);
    return layout;
}

void WholeLineLayout::placeRows(QTextLayout& layout)
{
    layout.beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(m_context.wraps() ? m_context.wrapWidth : kUnwrappedWidth);
        // Align the baseline to the row grid; a taller fallback font must not push it down.
        line.setPosition(QPointF(0, row * m_context.rowHeight + m_context.ascent - line.ascent()));
        if (!m_context.wraps())
            m_context.widest = std::max(m_context.widest, line.naturalTextWidth());
    }
    layout.endLayout();
}

void WholeLineLayout::rowBreaks(int line, std::vector<int>& breaks)
{
    const int start = m_context.lineStart(line);
    const int end = start + m_context.lineLength(line);
    if (start == end)
        return;   // one row; no layout needed
    if (!m_bounds)
        m_bounds = std::make_unique<AdvanceBounds>(m_context.font);
    if (m_bounds->surelyFitsOneRow(m_context.buffer, start, end, m_context.wrapWidth, m_context.tabDistance()))
        return;
    // Most lines of prose are settled from the advances of their units; shaping a line is
    // by far the dearest part of counting rows.
    if (!m_rowsFromWidths)
        m_rowsFromWidths = std::make_unique<RowsFromWidths>(m_context.font, m_context.tabDistance());
    std::u16string text = m_context.buffer.textRange(start, end - start);
    for (char16_t& c : text)
        c = displayCharFor(c);
    if (m_rowsFromWidths->rowBreaks(text, m_context.wrapWidth, breaks))
        return;
    breaks.clear();
    const QTextLayout& shaped = layout(line);
    for (int i = 1; i < shaped.lineCount(); ++i)
        breaks.push_back(shaped.lineAt(i).textStart());
}

qreal WholeLineLayout::xOf(int line, int offset, bool atRowEnd)
{
    const QTextLayout& shaped = layout(line);
    QTextLine row = shaped.lineForTextPosition(offset);
    if (!row.isValid())
        return 0;
    if (atRowEnd && row.lineNumber() > 0 && offset == row.textStart())
        row = shaped.lineAt(row.lineNumber() - 1);
    return row.cursorToX(offset);
}

int WholeLineLayout::offsetAt(int line, int rowInLine, qreal x)
{
    const QTextLayout& shaped = layout(line);
    const QTextLine textLine = shaped.lineAt(rowInLine);
    if (!textLine.isValid())
        return 0;
    const int rowEnd = rowInLine + 1 < shaped.lineCount() ? shaped.lineAt(rowInLine + 1).textStart()
                                                          : static_cast<int>(shaped.text().size());
    return cursorAtX(shaped, textLine, x, rowEnd);
}

void WholeLineLayout::rowParts(int line, int rowInLine, qreal, qreal, std::vector<RowPart>& parts)
{
    RowPart part;
    part.layout = &layout(line);
    part.layoutRow = rowInLine;
    if (rowInLine >= part.layout->lineCount())
        return;
    part.textStart = m_context.lineStart(line);
    part.length = m_context.lineLength(line);
    parts.push_back(part);
}

std::unique_ptr<ComposedLine> WholeLineLayout::compose(int line, int caretOffset, const Preedit& preedit,
                                                       const ReplacedComposition&)
{
    return std::make_unique<ComposedWholeLine>(build(line, caretOffset, &preedit), m_context.lineStart(line),
                                               m_context.lineLength(line), caretOffset,
                                               static_cast<int>(preedit.text.size()));
}

void WholeLineLayout::linesReplaced(int first, int removed, int inserted, int)
{
    for (int line = first; line < first + removed; ++line) {
        if (const auto it = m_ids.find(line); it != m_ids.end()) {
            m_context.cache.forget(it->second);
            m_ids.erase(it);
        }
    }
    const int delta = inserted - removed;
    if (delta == 0)
        return;   // the usual keystroke: no line moves
    std::unordered_map<int, LayoutCache::Id> moved;
    moved.reserve(m_ids.size());
    for (const auto& [line, id] : m_ids) {
        if (m_context.cache.peek(id))
            moved.emplace(line >= first + removed ? line + delta : line, id);
    }
    m_ids = std::move(moved);
}

std::string WholeLineLayout::differenceFromFresh(int line, int, int)
{
    const auto it = m_ids.find(line);
    const QTextLayout* kept = it == m_ids.end() ? nullptr : m_context.cache.peek(it->second);
    if (kept && !showsText(*kept, m_context.buffer, m_context.lineStart(line), m_context.lineLength(line)))
        return "the layout kept for line " + std::to_string(line) + " shows other text than the line";
    return {};
}

} // namespace platform
