#include "platform/editctl/LineStarts.h"

#include <cassert>

namespace platform::detail {

LineStarts::LineStarts()
{
    assign({0});
}

void LineStarts::assign(const std::vector<int>& starts)
{
    assert(!starts.empty() && starts.front() == 0);
    m_starts.assign(starts.data(), static_cast<int>(starts.size()));
    m_stepLine = count() - 1;
    m_stepLength = 0;
}

int LineStarts::lineOf(int pos) const
{
    // Binary search for the last start <= pos; start(0) is 0, so low stays valid.
    int low = 0;
    int high = count() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (start(middle) <= pos)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void LineStarts::moveStepTo(int line)
{
    if (m_stepLength == 0) {
        m_stepLine = line;
        return;
    }
    if (line > m_stepLine)
        m_starts.addToRange(m_stepLine + 1, line - m_stepLine, m_stepLength);
    else if (line < m_stepLine)
        // Those lines leave the pending region, which keeps its shift; taking it off their
        // stored values keeps their real positions.
        m_starts.addToRange(line + 1, m_stepLine - line, -m_stepLength);
    m_stepLine = line;
}

void LineStarts::edit(int firstLine, int removed, const std::vector<int>& inserted, int delta)
{
    assert(firstLine >= 1 && removed >= 0 && firstLine + removed <= count());
    moveStepTo(firstLine - 1);
    m_starts.erase(firstLine, removed);
    if (!inserted.empty()) {
        // Stored so that the shift pending on them after this edit yields their real value.
        std::vector<int> stored(inserted);
        for (int& value : stored)
            value -= m_stepLength + delta;
        m_starts.insert(firstLine, stored.data(), static_cast<int>(stored.size()));
    }
    m_stepLength += delta;
    if (m_stepLine >= count() - 1)
        m_stepLength = 0;  // nothing lies behind the step
}

bool LineStarts::consistent() const
{
    return m_starts.gapInBounds() && count() >= 1 && start(0) == 0 && m_stepLine >= 0
        && m_stepLine < count() && (m_stepLine < count() - 1 || m_stepLength == 0);
}

std::vector<int> LineStarts::all() const
{
    std::vector<int> result(static_cast<size_t>(count()));
    for (int line = 0; line < count(); ++line)
        result[line] = start(line);
    return result;
}

} // namespace platform::detail
