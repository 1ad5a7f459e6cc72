#pragma once
// The clipboard history: every text that passed through the clipboard while the program
// runs, newest first, at most 100 entries. Duplicates and empty texts are kept like any
// other entry; the history lives in memory only. Qt-free.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace doc {

class ClipHistory {
public:
    static constexpr std::size_t kMaxEntries = 100;

    // Puts text at the head; the oldest entry goes when there are more than kMaxEntries.
    void add(std::u16string text);

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    // Entry i, 0 being the newest. i must be below size().
    const std::u16string& at(std::size_t i) const { return m_entries[i]; }
    const std::deque<std::u16string>& entries() const { return m_entries; }

private:
    std::deque<std::u16string> m_entries;
};

// The line the history dialog shows for entry index: "%3ld: %s" with each carriage return,
// line feed and tab of text shown as ".", the whole line cut to its first 256 UTF-16 units
// (one unit fewer when the cut would split a surrogate pair). Only the part of text that
// can be shown is looked at, so a huge entry costs no more than a short one.
std::u16string clipHistoryLine(long index, std::u16string_view text);

} // namespace doc
