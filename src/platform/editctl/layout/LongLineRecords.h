#pragma once
// What a layout of long lines keeps for each line it has seen, by line number. An edit drops
// the records of the lines it touched and moves those after them with their lines.

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace platform {

template <class Record>
class LongLineRecords {
public:
    Record* find(int line) const
    {
        const auto it = m_records.find(line);
        return it == m_records.end() ? nullptr : it->second.get();
    }

    // The record of line, made by make(record) when there is none yet.
    template <class Make>
    Record& get(int line, Make make)
    {
        if (Record* found = find(line))
            return *found;
        auto made = std::make_unique<Record>();
        make(*made);
        return *(m_records[line] = std::move(made));
    }

    // Bytes the records take, with heldBy(record) the bytes each one holds besides itself.
    template <class HeldBy>
    std::size_t bytes(HeldBy heldBy) const
    {
        std::size_t sum = 0;
        for (const auto& [line, record] : m_records)
            sum += sizeof(Record) + heldBy(*record);
        return sum;
    }

    // `removed` lines from `first` became `inserted` lines: their records are handed to
    // drop(record) and forgotten, except the record of line `kept` (or -1); the records of
    // the lines after them move with them.
    template <class Drop>
    void linesReplaced(int first, int removed, int inserted, int kept, Drop drop)
    {
        if (m_records.empty())
            return;   // lines of this kind are rare: most edits have none
        const int delta = inserted - removed;
        if (delta == 0 && static_cast<std::size_t>(removed) <= m_records.size()) {
            // The usual keystroke: no line moves.
            for (int line = first; line < first + removed; ++line) {
                const auto it = m_records.find(line);
                if (line != kept && it != m_records.end()) {
                    drop(*it->second);
                    m_records.erase(it);
                }
            }
            return;
        }
        std::unordered_map<int, std::unique_ptr<Record>> moved;
        for (auto& [line, record] : m_records) {
            if (line >= first && line < first + removed && line != kept)
                drop(*record);
            else
                moved.emplace(line >= first + removed ? line + delta : line, std::move(record));
        }
        m_records = std::move(moved);
    }

    void clear() { m_records.clear(); }

private:
    std::unordered_map<int, std::unique_ptr<Record>> m_records;
};

} // namespace platform
