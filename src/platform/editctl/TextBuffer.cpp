// Text, edits, selection, lines and observers of TextBuffer; boundaries live in
// TextBufferBoundaries.cpp.

#include "platform/editctl/TextBuffer.h"
#include "platform/editctl/TextBuffer_p.h"

#include <algorithm>
#include <cassert>

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

// Starts of the lines that follow each CR LF of text, offset by base.
void appendLineStarts(std::u16string_view text, int base, std::vector<int>& starts)
{
    const char16_t* data = text.data();
    const size_t size = text.size();
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] == kCR && data[i + 1] == kLF) {
            starts.push_back(base + static_cast<int>(i) + 2);
            ++i;
        }
    }
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

    std::vector<int> starts{0};
    appendLineStarts(text, 0, starts);
    d->text.assign(text.data(), static_cast<int>(text.size()));
    d->lines.assign(starts);

    m_anchor = m_caret = 0;
    ++m_revision;
    notify({0, oldLength, static_cast<int>(text.size()), oldPairs,
            static_cast<int>(starts.size()) - 1});
}

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

    // A line starts two units after the CR of each CR LF. The pairs this edit can break are
    // those whose CR lies in [start - 1, end - 1]: inside the removed range or straddling one
    // of its edges. Their line starts are therefore the ones in [start + 1, end + 1].
    const int firstLine = d->lines.lineOf(start) + 1;
    const int lastLine = d->lines.lineOf(end + 1);
    const int linesRemoved = std::max(0, lastLine - firstLine + 1);

    d->text.erase(start, end - start);
    d->text.insert(start, text.data(), inserted);

    // The pairs this edit can make have their CR in [start - 1, start + inserted - 1]: at the
    // left edge (CR before, LF first of the new text or of what follows), inside the new
    // text, and at the right edge (CR last of the new text, LF following it).
    std::vector<int>& found = d->scratchStarts;
    found.clear();
    if (start > 0 && at(start - 1) == kCR && at(start) == kLF)
        found.push_back(start + 1);
    appendLineStarts(text, start, found);
    if (inserted > 0 && text.back() == kCR && at(start + inserted) == kLF)
        found.push_back(start + inserted + 1);

    const int delta = inserted - (end - start);
    d->lines.edit(firstLine, linesRemoved, found, delta);
    const int linesInserted = static_cast<int>(found.size());
    if (found.capacity() > 4096)
        std::vector<int>().swap(found);  // a large paste should not pin its scratch space

    m_anchor = movedBy(m_anchor, start, end, inserted);
    m_caret = movedBy(m_caret, start, end, inserted);
    ++m_revision;
    notify({start, end - start, inserted, linesRemoved, linesInserted});
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
}

// ---- memory ------------------------------------------------------------------------------

std::size_t TextBuffer::memoryBytes() const
{
    return sizeof(*this) + sizeof(Impl)
         + sizeof(char16_t) * static_cast<std::size_t>(d->text.capacity())
         + d->lines.memoryBytes()
         + sizeof(int) * d->scratchStarts.capacity()
         + sizeof(char16_t) * d->wordCache.window.capacity();
}

// ---- invariant ---------------------------------------------------------------------------

bool TextBuffer::checkInvariant() const
{
    const std::u16string whole = text();
    std::vector<int> expected{0};
    appendLineStarts(whole, 0, expected);
    if (d->lines.all() != expected)
        return false;
    const int size = static_cast<int>(whole.size());
    return m_anchor >= 0 && m_anchor <= size && m_caret >= 0 && m_caret <= size;
}

} // namespace platform
