#pragma once
// A sequence with a movable hole at the last edit point, so that a run of edits close to each
// other costs what they insert or remove, not a move of everything behind them.
// Private detail of TextBuffer (the text and its line starts); no checks beyond asserts.

#include <algorithm>
#include <cassert>
#include <cstring>
#include <type_traits>
#include <vector>

namespace platform::detail {

template <typename T>
class GapVector {
    static_assert(std::is_trivially_copyable_v<T>, "values are moved with memmove");

public:
    int size() const { return static_cast<int>(m_data.size()) - gapLength(); }
    // Units held including the gap, for the memory accounting of tests.
    int capacity() const { return static_cast<int>(m_data.size()); }

    T at(int index) const
    {
        assert(index >= 0 && index < size());
        return index < m_gapStart ? m_data[index] : m_data[index + gapLength()];
    }

    void set(int index, T value)
    {
        assert(index >= 0 && index < size());
        (index < m_gapStart ? m_data[index] : m_data[index + gapLength()]) = value;
    }

    // Replaces everything; leaves a modest gap at the end for the first edits.
    void assign(const T* values, int count)
    {
        std::vector<T> fresh(static_cast<size_t>(count) + slackFor(count));
        if (count > 0)
            std::memcpy(fresh.data(), values, sizeof(T) * count);
        m_data.swap(fresh);
        m_gapStart = count;
        m_gapEnd = static_cast<int>(m_data.size());
    }

    void insert(int index, const T* values, int count)
    {
        assert(index >= 0 && index <= size());
        if (count <= 0)
            return;
        makeRoom(count);
        moveGapTo(index);
        std::memcpy(m_data.data() + m_gapStart, values, sizeof(T) * count);
        m_gapStart += count;
    }

    void erase(int index, int count)
    {
        assert(index >= 0 && count >= 0 && index + count <= size());
        if (count <= 0)
            return;
        moveGapTo(index);
        m_gapEnd += count;
        shrinkIfSparse();
    }

    // Copies count values from index into out, across the gap if need be.
    void copyOut(int index, int count, T* out) const
    {
        assert(index >= 0 && count >= 0 && index + count <= size());
        const int before = std::clamp(m_gapStart - index, 0, count);
        if (before > 0)
            std::memcpy(out, m_data.data() + index, sizeof(T) * before);
        if (count > before)
            std::memcpy(out + before, m_data.data() + index + before + gapLength(),
                        sizeof(T) * (count - before));
    }

    // Adds delta to the values [first, first + count); arithmetic T only.
    void addToRange(int first, int count, T delta)
    {
        assert(first >= 0 && count >= 0 && first + count <= size());
        const int last = first + count;
        const int beforeEnd = std::min(last, m_gapStart);
        for (int i = first; i < beforeEnd; ++i)
            m_data[i] += delta;
        const int gap = gapLength();
        for (int i = std::max(first, m_gapStart); i < last; ++i)
            m_data[i + gap] += delta;
    }

private:
    std::vector<T> m_data;  // values before the gap, the gap, values after it
    int m_gapStart = 0;
    int m_gapEnd = 0;

    static constexpr int minimumGap = 64;

    int gapLength() const { return m_gapEnd - m_gapStart; }

public:
    // The gap lies inside the storage; for the checks of a build with assertions.
    bool gapInBounds() const
    {
        return 0 <= m_gapStart && m_gapStart <= m_gapEnd && m_gapEnd <= static_cast<int>(m_data.size());
    }

private:

    // Growth in proportion to the size keeps a long run of inserts linear, while an eighth
    // keeps the spare room small next to the text itself.
    static int slackFor(int count) { return std::max(minimumGap, count / 8); }

    void moveGapTo(int index)
    {
        if (index == m_gapStart)
            return;
        const int gap = gapLength();
        if (gap == 0) {
            m_gapStart = m_gapEnd = index;
            return;
        }
        T* data = m_data.data();
        if (index < m_gapStart)
            std::memmove(data + index + gap, data + index, sizeof(T) * (m_gapStart - index));
        else
            std::memmove(data + m_gapStart, data + m_gapEnd, sizeof(T) * (index - m_gapStart));
        m_gapStart = index;
        m_gapEnd = index + gap;
    }

    void makeRoom(int needed)
    {
        if (gapLength() >= needed)
            return;
        reallocate(size() + needed + slackFor(size() + needed));
    }

    // Gives memory back after large removals: the spare room stays below half of the values.
    void shrinkIfSparse()
    {
        const int count = size();
        if (gapLength() > count / 2 + 4 * minimumGap)
            reallocate(count + slackFor(count));
    }

    void reallocate(int newCapacity)
    {
        const int count = size();
        assert(newCapacity >= count);
        std::vector<T> fresh(static_cast<size_t>(newCapacity));
        copyOut(0, count, fresh.data());
        m_data.swap(fresh);
        // The gap goes where it was, so the edit that asked for room does not move it again.
        const int gapAt = std::min(m_gapStart, count);
        const int after = count - gapAt;
        if (after > 0)
            std::memmove(m_data.data() + newCapacity - after, m_data.data() + gapAt,
                         sizeof(T) * after);
        m_gapStart = gapAt;
        m_gapEnd = newCapacity - after;
    }
};

} // namespace platform::detail
