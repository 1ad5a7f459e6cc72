#include "platform/fx/RecentFileList.h"

#include <algorithm>

namespace platform::fx {

RecentFileList::RecentFileList(int size, int maxDisplayLength)
    : m_size(size), m_maxDisplayLength(maxDisplayLength)
{
}

void RecentFileList::add(const std::u16string& path)
{
    if (path.empty())
        return;
    std::erase(m_entries, path);
    m_entries.insert(m_entries.begin(), path);
    if (int(m_entries.size()) > m_size)
        m_entries.resize(m_size);
}

void RecentFileList::remove(int index)
{
    if (index >= 0 && index < int(m_entries.size()))
        m_entries.erase(m_entries.begin() + index);
}

void RecentFileList::assign(const std::vector<std::u16string>& paths)
{
    m_entries.clear();
    for (const std::u16string& p : paths) {
        if (p.empty() || std::find(m_entries.begin(), m_entries.end(), p) != m_entries.end())
            continue;
        m_entries.push_back(p);
        if (int(m_entries.size()) == m_size)
            break;
    }
}

std::u16string RecentFileList::displayName(int index,
                                           const std::u16string& currentDirectory) const
{
    if (index < 0 || index >= int(m_entries.size()))
        return {};
    const std::u16string& path = m_entries[index];
    const std::size_t slash = path.rfind(u'/');
    if (!currentDirectory.empty() && slash != std::u16string::npos) {
        std::u16string dir = currentDirectory;
        while (dir.size() > 1 && dir.back() == u'/')
            dir.pop_back();
        const std::u16string folder = slash == 0 ? u"/" : path.substr(0, slash);
        if (folder == dir)
            return path.substr(slash + 1);
    }
    return abbreviate(path, m_maxDisplayLength);
}

std::u16string RecentFileList::abbreviate(const std::u16string& path, int maxLength)
{
    if (int(path.size()) <= maxLength)
        return path;
    const std::size_t lastSlash = path.rfind(u'/');
    if (lastSlash == std::u16string::npos)
        return path;
    const std::u16string name = path.substr(lastSlash + 1);
    // The head is the root and the first folder: "/home" of "/home/a/b/c.txt".
    const std::size_t firstFolderEnd = path.find(u'/', path[0] == u'/' ? 1 : 0);
    const std::u16string ellipsis = u"...";
    if (firstFolderEnd == std::u16string::npos || firstFolderEnd >= lastSlash)
        return name;
    const std::u16string head = path.substr(0, firstFolderEnd);
    // Folders after the head, taken from the end as long as they fit.
    std::u16string tail = u"/" + name;
    if (int(head.size() + ellipsis.size() + 1 + tail.size()) > maxLength)
        return name;
    std::size_t end = lastSlash;
    while (end > firstFolderEnd) {
        const std::size_t start = path.rfind(u'/', end - 1);
        const std::u16string folder = path.substr(start, end - start);  // "/docs"
        if (int(head.size() + 1 + ellipsis.size() + folder.size() + tail.size()) > maxLength)
            break;
        tail = folder + tail;
        end = start;
    }
    if (end == firstFolderEnd)
        return head + tail;
    return head + u"/" + ellipsis + tail;
}

} // namespace platform::fx
