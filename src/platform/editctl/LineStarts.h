#pragma once
// The first position of every line, kept current by edits without rescanning the text.
// Private detail of TextBuffer.
//
// An edit shifts every line start behind it. Instead of adding the shift to all of them, the
// shift is kept pending from one line on (the "step") and only applied to the lines between
// the old and the new step when the next edit lands elsewhere; typing in one place therefore
// touches no stored start at all.

#include "platform/editctl/GapVector.h"

#include <cstddef>
#include <vector>

namespace platform::detail {

class LineStarts {
public:
    LineStarts();

    // Replaces the index by starts (ascending, the first one 0).
    void assign(const std::vector<int>& starts);

    int count() const { return m_starts.size(); }
    // First position of line, 0 <= line < count().
    int start(int line) const
    {
        const int stored = m_starts.at(line);
        return line > m_stepLine ? stored + m_stepLength : stored;
    }
    // The last line whose start is <= pos; 0 for any pos before the second line.
    int lineOf(int pos) const;

    // One edit: the lines [firstLine, firstLine + removed) go, the lines whose starts are
    // inserted (final positions, ascending) take their place, and every line after them moves
    // by delta. firstLine >= 1: line 0 always starts at 0.
    void edit(int firstLine, int removed, const std::vector<int>& inserted, int delta);

    // All starts, for checks and tests.
    std::vector<int> all() const;
    // The bookkeeping is sound: line 0 starts at 0, the step lies on a line and no shift is
    // pending behind the last one. Cheap; for the checks of a build with assertions.
    bool consistent() const;
    std::size_t memoryBytes() const
    {
        return sizeof(int) * static_cast<std::size_t>(m_starts.capacity());
    }

private:
    GapVector<int> m_starts;  // stored values; lines after m_stepLine lack m_stepLength
    int m_stepLine = 0;
    int m_stepLength = 0;

    void moveStepTo(int line);
};

} // namespace platform::detail
