#pragma once
// The shaped layouts of the edit control's text, kept for reuse and dropped least recently
// used first. It keeps whatever it is handed under an id it handed out; only the parts that
// lay out lines know what an id stands for (a whole line, a piece or a row of a long line).
//
// What it keeps is capped at kMostUnits units of text together, about 54 bytes a unit, under
// 9 MB, and at kMostLayouts layouts; the newest always stays, however long, since whoever
// handed it in is about to use it.

#include <QTextLayout>

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

namespace platform {

class LayoutCache {
public:
    using Id = std::uint64_t;
    static constexpr int kMostUnits = 160 * 1024;
    // Enough for several screens of rows; older layouts are made again when needed.
    static constexpr std::size_t kMostLayouts = 512;

    // An id no layout has had; ids are never reused, not even after clear().
    Id newId() { return m_nextId++; }

    // The layout kept under id, which counts as used just now; nullptr when none is kept
    // there (there never was one, or it was dropped).
    const QTextLayout* find(Id id);
    // The layout kept under id without counting it as used: for checks, which change nothing.
    const QTextLayout* peek(Id id) const;
    // Keeps `layout`, which shows `units` units of text, under id in place of what was kept
    // there, and drops the least recently used layouts past the caps.
    const QTextLayout& keep(Id id, std::unique_ptr<QTextLayout> layout, int units);
    void forget(Id id);
    void clear();

    // Units of text in the layouts kept now.
    int units() const { return m_units; }
    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        std::unique_ptr<QTextLayout> layout;
        std::list<Id>::iterator used;
        int units = 0;
    };
    std::unordered_map<Id, Entry> m_entries;
    std::list<Id> m_used;   // most recently used first
    int m_units = 0;
    Id m_nextId = 1;
};

} // namespace platform
