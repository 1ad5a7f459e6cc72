#include "platform/editctl/RowMap.h"

#include <algorithm>
#include <cassert>

namespace platform {

RowMap::RowMap(Measure measure)
    : m_measure(std::move(measure))
{
    reset(1);
}

void RowMap::reset(int lineCount)
{
    m_lines.assign(static_cast<size_t>(std::max(1, lineCount)), LineRows{});
    m_firstRow.assign(m_lines.size() + 1, 0);
    m_validPrefix = 0;
}

void RowMap::replaceLines(int first, int removed, int inserted)
{
    first = std::clamp(first, 0, lineCount());
    removed = std::clamp(removed, 0, lineCount() - first);
    inserted = std::max(0, inserted);

    auto at = m_lines.begin() + first;
    // Reuse the slots both ranges share, then grow or shrink by the difference only.
    const int common = std::min(removed, inserted);
    for (int i = 0; i < common; ++i)
        at[i] = LineRows{};
    if (inserted > removed)
        m_lines.insert(at + common, static_cast<size_t>(inserted - removed), LineRows{});
    else if (removed > inserted)
        m_lines.erase(at + common, at + removed);
    if (m_lines.empty())
        m_lines.push_back(LineRows{});

    m_firstRow.resize(m_lines.size() + 1);
    invalidatePrefixFrom(first);
}

bool RowMap::isMeasured(int line) const
{
    return line >= 0 && line < lineCount() && m_lines[static_cast<size_t>(line)].measured;
}

const RowMap::LineRows& RowMap::measured(int line)
{
    LineRows& rows = m_lines[static_cast<size_t>(line)];
    if (!rows.measured) {
        rows.breaks.clear();
        m_measure(line, rows.breaks);
        rows.measured = true;
    }
    return rows;
}

void RowMap::invalidatePrefixFrom(int line)
{
    // m_firstRow[line] depends only on the lines before it, so it stays valid.
    m_validPrefix = std::min(m_validPrefix, std::max(0, line));
}

void RowMap::extendPrefixTo(int line)
{
    while (m_validPrefix < line) {
        const size_t i = static_cast<size_t>(m_validPrefix);
        m_firstRow[i + 1] = m_firstRow[i] + 1 + static_cast<int>(measured(m_validPrefix).breaks.size());
        ++m_validPrefix;
    }
}

int RowMap::rowCount()
{
    extendPrefixTo(lineCount());
    return m_firstRow.back();
}

int RowMap::firstRowOf(int line)
{
    line = std::clamp(line, 0, lineCount());
    extendPrefixTo(line);
    return m_firstRow[static_cast<size_t>(line)];
}

int RowMap::rowsIn(int line)
{
    if (line < 0 || line >= lineCount())
        return 0;
    return 1 + static_cast<int>(measured(line).breaks.size());
}

int RowMap::lineOfRow(int row)
{
    if (row <= 0)
        return 0;
    // Measure forward only as far as the row asks for.
    while (m_validPrefix < lineCount() && m_firstRow[static_cast<size_t>(m_validPrefix)] <= row)
        extendPrefixTo(m_validPrefix + 1);
    const auto begin = m_firstRow.begin();
    const auto end = begin + m_validPrefix + 1;
    // The last line whose first row is not after row.
    const auto it = std::upper_bound(begin, end, row);
    const int line = static_cast<int>(it - begin) - 1;
    return std::clamp(line, 0, lineCount() - 1);
}

int RowMap::rowStartOffset(int line, int rowInLine)
{
    if (line < 0 || line >= lineCount() || rowInLine <= 0)
        return 0;
    const std::vector<int>& breaks = measured(line).breaks;
    if (breaks.empty())
        return 0;
    const size_t index = std::min(static_cast<size_t>(rowInLine), breaks.size());
    return breaks[index - 1];
}

int RowMap::rowInLineOf(int line, int offset)
{
    if (line < 0 || line >= lineCount())
        return 0;
    const std::vector<int>& breaks = measured(line).breaks;
    return static_cast<int>(std::upper_bound(breaks.begin(), breaks.end(), offset) - breaks.begin());
}

} // namespace platform
