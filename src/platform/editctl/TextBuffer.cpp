// Text, edits, selection, lines and observers of TextBuffer; boundaries live in
// TextBufferBoundaries.cpp.

#include "platform/editctl/TextBuffer.h"
#include "platform/editctl/TextBuffer_p.h"

#include <algorithm>
#include <cassert>

#include <unicode/utf16.h>

namespace platform {

namespace {

// Where a position lands after [start, end) became `inserted` units. A position at the
// start stays in front of the new text; one inside the removed range ends after the new text
// (where the edit control leaves the caret after a replacement); later ones shift.
int movedBy(int pos, int start, int end, int inserted)
{
    if (pos <= start)
        return pos;
    if (pos < end)
        return start + inserted;
    return pos + inserted - (end - start);
}


// The two kinds of pair the buffer indexes: a CR LF (a line end) and a surrogate pair (one
// code point). Each index holds the position right after every pair, behind a 0.
bool isCrLf(char16_t first, char16_t second) { return first == kCR && second == kLF; }
bool isSurrogatePair(char16_t first, char16_t second)
{
    return U16_IS_LEAD(first) && U16_IS_TRAIL(second);
}

// Ends of the pairs of text, offset by base.
template <typename IsPair>
void appendPairEnds(std::u16string_view text, int base, IsPair isPair, std::vector<int>& ends)
{
    const char16_t* data = text.data();
    const size_t size = text.size();
    for (size_t i = 0; i + 1 < size; ++i) {
        if (isPair(data[i], data[i + 1])) {
            ends.push_back(base + static_cast<int>(i) + 2);
            ++i;
        }
    }
}

template <typename IsPair>
std::vector<int> pairEnds(std::u16string_view text, IsPair isPair)
{
    std::vector<int> ends{0};
    appendPairEnds(text, 0, isPair, ends);
    return ends;
}

} // namespace

TextBuffer::TextBuffer()
    : d(new Impl)
{
}

TextBuffer::~TextBuffer()
{
    delete d;
}

// ---- text --------------------------------------------------------------------------------

int TextBuffer::length() const
{
    return d->text.size();
}

char16_t TextBuffer::at(int pos) const
{
    if (pos < 0 || pos >= d->text.size())
        return 0;
    return d->text.at(pos);
}

std::u16string TextBuffer::text() const
{
    std::u16string result(static_cast<size_t>(d->text.size()), u'\0');
    d->text.copyOut(0, d->text.size(), result.data());
    return result;
}

std::u16string TextBuffer::textRange(int start, int count) const
{
    const int size = d->text.size();
    if (start < 0 || start >= size || count <= 0)
        return {};
    count = std::min(count, size - start);
    std::u16string result(static_cast<size_t>(count), u'\0');
    d->text.copyOut(start, count, result.data());
    return result;
}

void TextBuffer::setText(std::u16string_view text)
{
    const int oldLength = d->text.size();
    const int oldPairs = d->lines.count() - 1;
    keepRemoved(0, oldLength);

    const std::vector<int> starts = pairEnds(text, isCrLf);
    d->text.assign(text.data(), static_cast<int>(text.size()));
    d->lines.assign(starts);
    d->surrogatePairs.assign(pairEnds(text, isSurrogatePair));

    m_anchor = m_caret = 0;
    ++m_revision;
    assert(checkInvariant());
    notify({0, oldLength, static_cast<int>(text.size()), oldPairs,
            static_cast<int>(starts.size()) - 1, d->removed});
}

namespace {

// The pairs of one kind that an edit of [start, end) can break are those whose first unit
// lies in [start - 1, end - 1]: inside the removed range or straddling one of its edges.
// Their ends are therefore the ones in [start + 1, end + 1]: entries [first, first + count).
struct BrokenPairs {
    int first;
    int count;
};

BrokenPairs pairsBroken(const detail::LineStarts& index, int start, int end)
{
    const int first = index.lineOf(start) + 1;
    const int last = index.lineOf(end + 1);
    return {first, std::max(0, last - first + 1)};
}

// After the edit put `text` at start: the pairs it can make have their first unit in
// [start - 1, start + inserted - 1]: at the left edge (the unit before and the first of the
// new text or of what follows), inside the new text, and at the right edge (its last unit
// and the one following it). Returns how many there are.
template <typename IsPair>
int remakePairs(detail::LineStarts& index, BrokenPairs broken, const TextBuffer& buffer,
                int start, std::u16string_view text, int delta, IsPair isPair,
                std::vector<int>& found)
{
    const int inserted = static_cast<int>(text.size());
    found.clear();
    if (start > 0 && isPair(buffer.at(start - 1), buffer.at(start)))
        found.push_back(start + 1);
    appendPairEnds(text, start, isPair, found);
    if (inserted > 0 && isPair(text.back(), buffer.at(start + inserted)))
        found.push_back(start + inserted + 1);
    index.edit(broken.first, broken.count, found, delta);
    return static_cast<int>(found.size());
}

} // namespace

void TextBuffer::replace(int start, int end, std::u16string_view text)
{
    const int size = d->text.size();
    start = std::clamp(start, 0, size);
    end = std::clamp(end, 0, size);
    if (start > end)
        std::swap(start, end);
    const int inserted = static_cast<int>(text.size());
    if (start == end && inserted == 0)
        return;

    const BrokenPairs lineEnds = pairsBroken(d->lines, start, end);
    const BrokenPairs surrogates = pairsBroken(d->surrogatePairs, start, end);
    keepRemoved(start, end);

    d->text.erase(start, end - start);
    d->text.insert(start, text.data(), inserted);

    const int delta = inserted - (end - start);
    std::vector<int>& found = d->scratchStarts;
    const int linesInserted = remakePairs(d->lines, lineEnds, *this, start, text, delta, isCrLf, found);
    remakePairs(d->surrogatePairs, surrogates, *this, start, text, delta, isSurrogatePair, found);
    if (found.capacity() > 4096)
        std::vector<int>().swap(found);  // a large paste should not pin its scratch space

    m_anchor = movedBy(m_anchor, start, end, inserted);
    m_caret = movedBy(m_caret, start, end, inserted);
    ++m_revision;
    // The whole structure only while the text is small, or once in many edits.
    assert(checkEdit(start, inserted));
    assert((length() > 4096 && m_revision % 1024 != 0) || checkInvariant());
    notify({start, end - start, inserted, lineEnds.count, linesInserted, d->removed});
}

void TextBuffer::keepRemoved(int start, int end)
{
    d->removed.resize(static_cast<size_t>(end - start));
    d->text.copyOut(start, end - start, d->removed.data());
}

// ---- selection ---------------------------------------------------------------------------

void TextBuffer::getSel(int* start, int* end) const
{
    if (start)
        *start = std::min(m_anchor, m_caret);
    if (end)
        *end = std::max(m_anchor, m_caret);
}

void TextBuffer::setSel(int start, int end)
{
    const int size = d->text.size();
    const int oldAnchor = m_anchor, oldCaret = m_caret;
    if (start == -1) {
        m_anchor = m_caret;
    } else if (start == 0 && end == -1) {
        m_anchor = 0;
        m_caret = size;
    } else {
        m_anchor = std::clamp(start, 0, size);
        m_caret = std::clamp(end, 0, size);
    }
    selectionMovedFrom(oldAnchor, oldCaret);
}

void TextBuffer::selectionMovedFrom(int anchor, int caret)
{
    if (m_selectionListener && (anchor != m_anchor || caret != m_caret))
        m_selectionListener();
}

void TextBuffer::replaceSel(std::u16string_view text)
{
    int start = 0;
    int end = 0;
    getSel(&start, &end);
    replace(start, end, text);
    m_anchor = m_caret = start + static_cast<int>(text.size());
}

void TextBuffer::clearSel()
{
    int start = 0;
    int end = 0;
    getSel(&start, &end);
    if (start == end)
        return;
    replace(start, end, {});
    m_anchor = m_caret = start;
}

std::u16string TextBuffer::selectedText() const
{
    int start = 0;
    int end = 0;
    getSel(&start, &end);
    return textRange(start, end - start);
}

// ---- typing ------------------------------------------------------------------------------

std::u16string_view TextBuffer::typedText(const char16_t& c)
{
    if (c == kCR || c == kLF)
        return u"\r\n";   // the only line end the text knows
    if (c < 0x20 && c != u'\t')
        return {};
    return std::u16string_view(&c, 1);
}

// ---- lines -------------------------------------------------------------------------------

int TextBuffer::lineCount() const
{
    return d->lines.count();
}

int TextBuffer::lineIndex(int line) const
{
    if (line == -1)
        line = d->lines.lineOf(m_caret);
    if (line < 0 || line >= d->lines.count())
        return -1;
    return d->lines.start(line);
}

int TextBuffer::lineFromChar(int pos) const
{
    if (pos == -1)
        pos = std::min(m_anchor, m_caret);
    return d->lines.lineOf(std::max(pos, 0));
}

int TextBuffer::lineEnd(int line) const
{
    if (line < 0 || line >= d->lines.count())
        return -1;
    if (line + 1 < d->lines.count())
        return d->lines.start(line + 1) - 2;
    return d->text.size();
}

int TextBuffer::lineLength(int pos) const
{
    if (pos == -1) {
        int start = 0;
        int end = 0;
        getSel(&start, &end);
        const int firstLine = d->lines.lineOf(start);
        const int lastLine = d->lines.lineOf(end);
        // An end inside the closing CR LF leaves nothing unselected after it.
        return (start - d->lines.start(firstLine))
             + std::max(0, lineEnd(lastLine) - end);
    }
    const int line = lineFromChar(pos);
    return lineEnd(line) - d->lines.start(line);
}

// ---- code points -------------------------------------------------------------------------

int TextBuffer::codePointCount() const
{
    return length() - (d->surrogatePairs.count() - 1);
}

int TextBuffer::codePointsBefore(int pos) const
{
    pos = std::clamp(pos, 0, length());
    if (pos > 0 && pos < length() && isSurrogatePair(at(pos - 1), at(pos)))
        --pos;
    // lineOf gives the number of pairs that end at or before pos.
    return pos - d->surrogatePairs.lineOf(pos);
}

int TextBuffer::posOfCodePoint(int n) const
{
    n = std::clamp(n, 0, codePointCount());
    // Pair j (entry j, ending at e) holds code point e - 2 - (j - 1); it lies before code
    // point n when e - j <= n, which grows with j. The last such j is the number of pairs
    // before n, each a unit more than its one code point.
    const detail::LineStarts& pairs = d->surrogatePairs;
    int low = 0;
    int high = pairs.count() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (pairs.start(middle) - middle <= n)
            low = middle;
        else
            high = middle - 1;
    }
    return n + low;
}

// ---- observers ---------------------------------------------------------------------------

int TextBuffer::addObserver(Observer observer)
{
    const int id = m_nextObserverId++;
    m_observers.emplace_back(id, std::move(observer));
    return id;
}

void TextBuffer::removeObserver(int id)
{
    auto it = std::find_if(m_observers.begin(), m_observers.end(),
                           [id](const auto& entry) { return entry.first == id; });
    if (it == m_observers.end())
        return;
    if (d->notifying > 0) {
        // The list is being walked; blank the entry now and erase it when the walk ends.
        it->second = nullptr;
        d->observersRemoved = true;
        return;
    }
    m_observers.erase(it);
}

void TextBuffer::notify(const Change& change)
{
    ++d->notifying;
    // By index and through a copy: an observer may add or remove observers while it runs.
    for (size_t i = 0; i < m_observers.size(); ++i) {
        if (!m_observers[i].second)
            continue;
        Observer observer = m_observers[i].second;
        observer(change);
    }
    if (--d->notifying == 0 && d->observersRemoved) {
        std::erase_if(m_observers, [](const auto& entry) { return !entry.second; });
        d->observersRemoved = false;
    }
    // The removed text was told; a large deletion should not pin its copy.
    if (d->notifying == 0 && d->removed.capacity() > 4096)
        std::u16string().swap(d->removed);
}

// ---- memory ------------------------------------------------------------------------------

std::size_t TextBuffer::memoryBytes() const
{
    return sizeof(*this) + sizeof(Impl)
         + sizeof(char16_t) * static_cast<std::size_t>(d->text.capacity())
         + d->lines.memoryBytes() + d->surrogatePairs.memoryBytes()
         + sizeof(int) * d->scratchStarts.capacity()
         + sizeof(char16_t) * (d->wordCache.window.capacity() + d->sentenceCache.window.capacity()
                               + d->removed.capacity());
}

// ---- invariant ---------------------------------------------------------------------------

namespace {

// The pairs whose first unit lies in [from, to) are exactly the entries of index that end in
// [from + 2, to + 1], and those entries ascend. Pairs of either kind never overlap, so the
// pairs found from `from` on are the text's own.
template <typename IsPair>
bool pairsIndexedBetween(const detail::LineStarts& index, const TextBuffer& buffer, int from,
                         int to, IsPair isPair)
{
    from = std::max(from, 0);
    to = std::min(to, buffer.length());
    int entry = index.lineOf(from + 1) + 1;
    for (int i = from; i < to; ++i) {
        if (!isPair(buffer.at(i), buffer.at(i + 1)))
            continue;
        if (entry >= index.count() || index.start(entry) != i + 2)
            return false;
        ++entry;
        ++i;
    }
    if (entry < index.count() && index.start(entry) <= to + 1)
        return false;   // an entry where the text has no pair
    return entry >= index.count() || index.start(entry) > index.start(entry - 1);
}

} // namespace

bool TextBuffer::checkEdit(int start, int inserted) const
{
    const int size = length();
    // Two units either side: a pair the edit made or broke at its edges included.
    const int from = start - 2;
    const int to = start + inserted + 2;
    return d->text.gapInBounds() && d->lines.consistent() && d->surrogatePairs.consistent()
        && d->lines.start(d->lines.count() - 1) <= size
        && pairsIndexedBetween(d->lines, *this, from, to, isCrLf)
        && pairsIndexedBetween(d->surrogatePairs, *this, from, to, isSurrogatePair)
        && m_anchor >= 0 && m_anchor <= size && m_caret >= 0 && m_caret <= size;
}

bool TextBuffer::checkInvariant() const
{
    const std::u16string whole = text();
    if (d->lines.all() != pairEnds(whole, isCrLf)
        || d->surrogatePairs.all() != pairEnds(whole, isSurrogatePair))
        return false;
    const int size = static_cast<int>(whole.size());
    return m_anchor >= 0 && m_anchor <= size && m_caret >= 0 && m_caret <= size;
}

} // namespace platform
