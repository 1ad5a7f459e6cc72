#pragma once
// Keeps, for every top index a history has had, the text the buffer must show there, and
// checks undo and redo against it. It reads only the history's top after an edit (whether
// the edit merged, or made one or two records, is the history's decision) and predicts the
// top itself after undo and redo, so the enabling of Undo and Redo can be checked at
// every step.

#include "edit/UndoHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet_test {

class HistoryOracle {
public:
    explicit HistoryOracle(std::u16string initial) : m_states{std::move(initial)} {}

    // After an edit. `intermediate` is the text after the selection's deletion alone, the
    // state between the two records of a replaced selection. mayMerge: the edit was a typed
    // character that may extend the run; any other edit that changes the text must record.
    ::testing::AssertionResult afterEdit(const CUndoHistory& history, const std::u16string& intermediate,
                                         const std::u16string& after, bool mayMerge)
    {
        const int was = m_top;
        const int now = history.top();
        if (now == was) {
            if (after != m_states[static_cast<size_t>(was)]) {
                if (!mayMerge)
                    return ::testing::AssertionFailure() << "the text changed and nothing was recorded";
                // A typed character extended the run: the top state moves, redo is gone.
                m_states.resize(static_cast<size_t>(was) + 1);
                m_states.back() = after;
            }
        } else if (now == was + 1 || now == was + 2) {
            m_states.resize(static_cast<size_t>(was) + 1);
            if (now == was + 2)
                m_states.push_back(intermediate);
            m_states.push_back(after);
        } else {
            return ::testing::AssertionFailure() << "one edit moved the top from " << was << " to " << now;
        }
        m_top = now;
        return consistent(history);
    }

    // After an undo (or an attempt at one) with the buffer now showing `text`.
    ::testing::AssertionResult afterUndo(const CUndoHistory& history, const std::u16string& text)
    {
        if (m_top > 0)
            --m_top;
        return matches(history, text);
    }

    ::testing::AssertionResult afterRedo(const CUndoHistory& history, const std::u16string& text)
    {
        if (m_top < maxTop())
            ++m_top;
        return matches(history, text);
    }

    bool canUndo() const { return m_top > 0; }
    bool canRedo() const { return m_top < maxTop(); }
    int top() const { return m_top; }
    const std::u16string& original() const { return m_states.front(); }
    const std::u16string& newest() const { return m_states.back(); }

private:
    int maxTop() const { return static_cast<int>(m_states.size()) - 1; }

    ::testing::AssertionResult consistent(const CUndoHistory& history) const
    {
        if (history.top() != m_top || history.count() != maxTop())
            return ::testing::AssertionFailure()
                   << "history top/count " << history.top() << "/" << history.count()
                   << ", expected " << m_top << "/" << maxTop();
        if (history.CanUndo() != canUndo() || history.CanRedo() != canRedo())
            return ::testing::AssertionFailure() << "can-undo/can-redo disagree at top " << m_top;
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult matches(const CUndoHistory& history, const std::u16string& text) const
    {
        if (text != m_states[static_cast<size_t>(m_top)])
            return ::testing::AssertionFailure() << "the text at top " << m_top << " is not the one recorded there";
        return consistent(history);
    }

    std::vector<std::u16string> m_states;
    int m_top = 0;
};

} // namespace quillet_test
