#include "platform/editctl/layout/LayoutCache.h"

namespace platform {

const QTextLayout* LayoutCache::find(Id id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end())
        return nullptr;
    m_used.splice(m_used.begin(), m_used, it->second.used);
    return it->second.layout.get();
}

const QTextLayout* LayoutCache::peek(Id id) const
{
    const auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : it->second.layout.get();
}

const QTextLayout& LayoutCache::keep(Id id, std::unique_ptr<QTextLayout> layout, int units)
{
    forget(id);
    m_used.push_front(id);
    const QTextLayout& kept = *layout;
    m_entries.emplace(id, Entry{std::move(layout), m_used.begin(), units});
    m_units += units;
    while (m_used.size() > 1 && (m_units > kMostUnits || m_entries.size() > kMostLayouts))
        forget(m_used.back());
    return kept;
}

void LayoutCache::forget(Id id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end())
        return;
    m_units -= it->second.units;
    m_used.erase(it->second.used);
    m_entries.erase(it);
}

void LayoutCache::clear()
{
    m_entries.clear();
    m_used.clear();
    m_units = 0;
}

} // namespace platform
