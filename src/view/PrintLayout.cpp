#include "view/PrintLayout.h"

#include "platform/editctl/LinePieces.h"

#include <algorithm>
#include <cmath>

namespace view {

namespace {

bool isLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\u3000';
}

} // namespace

PageFrame makePageFrame(const Rect& page, int textHeight)
{
    const int w = page.width();
    const int h = page.height();
    const int dx = (w - w * 85 / 100) / 2;
    const int dy = (h - h * 90 / 100) / 2;
    const Rect shrunk{page.left + dx, page.top + dy, page.right - dx, page.bottom - dy};
    const int th = textHeight;
    const int q = th / 4;
    PageFrame f;
    f.header = {shrunk.left, shrunk.top - th, shrunk.right, shrunk.top};
    f.headerRuleY = shrunk.top + q;
    f.body = {shrunk.left, shrunk.top + th + 2 * q, shrunk.right, shrunk.bottom - th - 2 * q};
    f.footerRuleY = shrunk.bottom - q;
    f.footer = {shrunk.left, shrunk.bottom, shrunk.right, shrunk.bottom + th};
    return f;
}

PageLayout::PageLayout(const Measure& measure, const Rect& body, int tabChars)
    : m_measure(measure),
      m_width(body.width()),
      m_tab(std::max(1, tabChars) * std::max(1.0, measure.averageCharWidth())),
      m_rowsPerPage(measure.lineHeight() > 0 && body.width() > 0
                        ? std::max(0, body.height() / measure.lineHeight())
                        : 0)
{
}

double PageLayout::nextTabStop(double x) const
{
    return (std::floor(x / m_tab + 1e-9) + 1) * m_tab;
}

int PageLayout::fitPart(std::u16string_view text, int from, int to, double room,
                        bool mustTake) const
{
    // The span is at most a piece long, so its safe cuts are few; search them by halving.
    std::vector<int> cuts;
    for (int at = from + 1; at <= to; ++at)
        if (at == to || platform::pieces::isSafeCut(text, size_t(at)))
            cuts.push_back(at);
    int lo = -1, hi = int(cuts.size()) - 1;  // cuts[lo] fits (-1: none); past hi does not
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (m_measure.advance(text.substr(from, cuts[mid] - from)) <= room)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo >= 0)
        return cuts[lo];
    return mustTake && !cuts.empty() ? cuts.front() : from;
}

int PageLayout::rowEnd(std::u16string_view text, int start, int /*unused*/) const
{
    using platform::pieces::canBreakBefore;
    using platform::pieces::isSafeCut;
    using platform::pieces::kPieceMax;
    const int size = int(text.size());
    auto stops = [&](int at) { return at >= size || text[at] == u'\t' || isLineEnd(text[at]); };
    // The width of text[from, to) without its trailing blanks, which may hang past the edge.
    auto visibleWidth = [&](int from, int to) {
        while (to > from && isBlank(text[to - 1]))
            --to;
        return m_measure.advance(text.substr(from, to - from));
    };
    double x = 0;
    int pos = start;
    while (!stops(pos) || (pos < size && text[pos] == u'\t')) {
        if (text[pos] == u'\t') {
            const double next = nextTabStop(x);
            if (next > m_width && pos > start)
                return pos;
            x = next;
            ++pos;
            continue;
        }
        // A chunk: up to the next tab or line end, at most a piece; a chunk cut short ends
        // at a break opportunity (or at least at a safe cut).
        const int limit = std::min(size, pos + kPieceMax);
        int p = pos + 1;
        while (p < limit && !stops(p))
            ++p;
        if (!stops(p)) {
            int back = p;
            while (back > pos + 1 && !canBreakBefore(text, size_t(back)))
                --back;
            if (back == pos + 1 && !canBreakBefore(text, size_t(back)))
                back = p;
            while (back < size && !isSafeCut(text, size_t(back)))
                ++back;
            p = back;
        }
        // Most chunks fit whole: one measurement.
        const double whole = m_measure.advance(text.substr(pos, p - pos));
        if (x + whole <= m_width || x + visibleWidth(pos, p) <= m_width) {
            x += whole;
            pos = p;
            continue;
        }
        // The row ends inside the chunk: at the last break opportunity that still fits.
        std::vector<int> breaks;
        for (int at = pos + 1; at < p; ++at)
            if (canBreakBefore(text, size_t(at)))
                breaks.push_back(at);
        // Start from the break where the width would run out if every unit were equally
        // wide, then step: for most text the first guess is right or one step off.
        const double room = m_width - x;
        const int guessAt = pos + int((p - pos) * std::clamp(room / whole, 0.0, 1.0));
        int lo = int(std::upper_bound(breaks.begin(), breaks.end(), guessAt) - breaks.begin()) - 1;
        auto fits = [&](int i) { return i < 0 || visibleWidth(pos, breaks[size_t(i)]) <= room; };
        if (fits(lo)) {
            while (lo + 1 < int(breaks.size()) && fits(lo + 1))
                ++lo;
        } else {
            while (lo >= 0 && !fits(lo))
                --lo;
        }
        if (lo >= 0)
            return breaks[lo];
        if (pos > start)
            return pos;
        // A word wider than the row on its own: as much of it as fits, at least a cluster.
        return fitPart(text, pos, breaks.empty() ? p : breaks.front(), m_width - x, true);
    }
    return pos;
}

PageRows PageLayout::layoutPage(std::u16string_view text, int start) const
{
    PageRows page;
    const int size = int(text.size());
    int pos = start;
    while (pos < size && int(page.rows.size()) < m_rowsPerPage) {
        const int end = rowEnd(text, pos, size);
        page.rows.push_back({pos, end});
        pos = end;
        if (pos < size && isLineEnd(text[pos])) {
            pos += (text[pos] == u'\r' && pos + 1 < size && text[pos + 1] == u'\n') ? 2 : 1;
        }
    }
    page.next = pos;
    return page;
}

std::vector<int> PageLayout::paginate(std::u16string_view text) const
{
    std::vector<int> starts{0};
    if (!hasRoom())
        return starts;
    int pos = 0;
    for (;;) {
        const PageRows page = layoutPage(text, pos);
        if (page.next >= int(text.size()) || page.next == pos)
            break;
        pos = page.next;
        starts.push_back(pos);
    }
    return starts;
}

} // namespace view
