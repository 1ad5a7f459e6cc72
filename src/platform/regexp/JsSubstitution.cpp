#include "platform/regexp/JsSubstitution_p.h"

namespace platform::regexp {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool appendSubstitution(std::u16string& out, std::u16string_view r, const MatchView& m,
                        std::size_t limit)
{
    auto put = [&](std::u16string_view piece) {
        if (out.size() + piece.size() > limit)
            return false;
        out.append(piece);
        return true;
    };
    auto group = [&](std::size_t n) {
        const auto [s, e] = m.groups[n - 1];
        return s == npos ? std::u16string_view() : m.subject.substr(s, e - s);
    };
    const std::size_t groupCount = m.groups.size();
    std::size_t literalFrom = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (r[i] != u'$' || i + 1 >= r.size())
            continue;
        const char16_t c = r[i + 1];
        std::u16string_view piece;
        std::size_t consumed = 0;  // units of the reference after the '$'
        if (c == u'$') {
            piece = u"$";
            consumed = 1;
        } else if (c == u'&') {
            piece = m.subject.substr(m.start, m.end - m.start);
            consumed = 1;
        } else if (c == u'`') {
            piece = m.subject.substr(0, m.start);
            consumed = 1;
        } else if (c == u'\'') {
            piece = m.subject.substr(m.end);
            consumed = 1;
        } else if (isDigit(c)) {
            // Two digits when they name a group, else one digit when it does.
            std::size_t n = std::size_t(c - u'0');
            consumed = 1;
            if (i + 2 < r.size() && isDigit(r[i + 2])) {
                const std::size_t nn = n * 10 + std::size_t(r[i + 2] - u'0');
                if (nn >= 1 && nn <= groupCount) {
                    n = nn;
                    consumed = 2;
                }
            }
            if (n < 1 || n > groupCount)
                continue;  // "$0", or a group that does not exist: literal
            piece = group(n);
        } else if (c == u'<' && m.names && !m.names->empty()) {
            const std::size_t close = r.find(u'>', i + 2);
            if (close == npos)
                continue;
            const std::u16string_view name = r.substr(i + 2, close - i - 2);
            for (const auto& [groupName, n] : *m.names)
                if (groupName == name)
                    piece = group(std::size_t(n));
            consumed = close - i;
        } else {
            continue;
        }
        if (!put(r.substr(literalFrom, i - literalFrom)) || !put(piece))
            return false;
        i += consumed;
        literalFrom = i + 1;
    }
    return put(r.substr(literalFrom));
}

} // namespace platform::regexp
