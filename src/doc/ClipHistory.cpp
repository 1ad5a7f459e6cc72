#include "doc/ClipHistory.h"

#include <algorithm>
#include <cstdio>

#include <unicode/utf16.h>

namespace doc {

namespace {

constexpr std::size_t kLineLimit = 256;

} // namespace

void ClipHistory::add(std::u16string text)
{
    m_entries.push_front(std::move(text));
    while (m_entries.size() > kMaxEntries)
        m_entries.pop_back();
}

std::u16string clipHistoryLine(long index, std::u16string_view text)
{
    char prefix[32];
    const int n = std::snprintf(prefix, sizeof prefix, "%3ld: ", index);
    std::u16string line(prefix, prefix + (n > 0 ? n : 0));
    if (line.size() < kLineLimit) {
        const std::size_t room = kLineLimit - line.size();
        const std::u16string_view shown = text.substr(0, room);
        for (const char16_t c : shown)
            line.push_back(c == u'\r' || c == u'\n' || c == u'\t' ? u'.' : c);
    }
    line.resize(std::min(line.size(), kLineLimit));
    // A pair cut in half would leave a lone high surrogate at the end.
    if (line.size() == kLineLimit && U16_IS_LEAD(line.back()))
        line.pop_back();
    return line;
}

} // namespace doc
