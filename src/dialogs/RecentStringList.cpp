#include "dialogs/RecentStringList.h"

#include "platform/profile/Profile.h"

#include <algorithm>
#include <string>

CRecentStringList::CRecentStringList(std::u16string section, std::u16string entryFormat, int size)
    : m_section(std::move(section)), m_entryFormat(std::move(entryFormat)),
      m_entries(std::size_t(std::max(size, 1)))
{
}

CRecentStringList::~CRecentStringList() = default;

std::u16string CRecentStringList::keyOf(int index) const
{
    const std::string n = std::to_string(index + 1);
    std::u16string key = m_entryFormat;
    const std::size_t at = key.find(u"%d");
    if (at != std::u16string::npos)
        key.replace(at, 2, std::u16string(n.begin(), n.end()));
    return key;
}

void CRecentStringList::Add(const std::u16string& text)
{
    // Among all but the last: an equal entry leaves its own place; otherwise the last goes.
    auto found = std::find(m_entries.begin(), m_entries.end() - 1, text);
    std::rotate(m_entries.begin(), found, found + 1);
    m_entries.front() = text;
}

void CRecentStringList::ReadList(const platform::profile::IniFile& profile)
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i] = profile.readString(m_section, keyOf(int(i)), u"");
}

void CRecentStringList::WriteList(platform::profile::IniFile& profile) const
{
    std::vector<platform::profile::IniEntry> lines;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].empty())
            lines.push_back({keyOf(int(i)), m_entries[i]});
    if (lines.empty())
        profile.removeSection(m_section);
    else
        profile.writeSection(m_section, lines);
}
