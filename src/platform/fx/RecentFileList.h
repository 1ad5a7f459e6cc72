#pragma once
// The recent-file list: the last files opened or saved, most recent first, shown in the
// File menu with their paths shortened to fit. Qt-free; the application reads and writes
// it through the settings store.

#include <string>
#include <vector>

namespace platform::fx {

class RecentFileList {
public:
    // size: how many entries are kept; maxDisplayLength: the longest menu text of a path.
    RecentFileList(int size, int maxDisplayLength);

    int size() const { return m_size; }
    // The paths, most recent first; only filled entries.
    const std::vector<std::u16string>& entries() const { return m_entries; }

    // Puts path first, removing an earlier entry of the same path; the oldest entry falls
    // off when the list is full. An empty path is ignored.
    void add(const std::u16string& path);
    void remove(int index);
    // Replaces the list, e.g. with what was read from the settings; empty entries are
    // skipped and the list is cut to its size.
    void assign(const std::vector<std::u16string>& paths);

    // The text shown for entry index: the file name alone when the file lies in
    // currentDirectory, otherwise the path shortened to the display length by replacing
    // folders in the middle with "...".
    std::u16string displayName(int index, const std::u16string& currentDirectory) const;

    // Shortens path to at most maxLength characters: keeps the first folder and the file
    // name and as many of the last folders as fit, e.g. "/home/.../docs/letter.txt".
    // A file name that alone is longer is given whole.
    static std::u16string abbreviate(const std::u16string& path, int maxLength);

private:
    int m_size;
    int m_maxDisplayLength;
    std::vector<std::u16string> m_entries;
};

} // namespace platform::fx
