// Character and word boundaries of TextBuffer: where Backspace, Delete, the arrows,
// Ctrl+arrows and double-click stop.
//
// Word stops are the starts of ICU word segments that are not horizontal space, the start
// of every line, the CR of every CR LF, and both ends of the text. ICU runs over a copy of a
// bounded window of the position's line, never over the whole text; the window grows only
// when an answer lies too close to a cut it made inside the line. Sentences are found the
// same way with ICU's sentence rules.

#include "platform/editctl/TextBuffer.h"
#include "platform/editctl/TextBuffer_p.h"

#include <algorithm>

#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utext.h>

namespace platform {

namespace {


// Horizontal space between words, which Ctrl+arrows pass over; line ends are never blank.
bool isBlank(char16_t c)
{
    return c != kCR && c != kLF && u_isblank(c);
}

// First window: this many units each side of the position.
constexpr int kInitialRadius = 512;
// A boundary this close to a cut inside the line may be an artefact of the cut (a word or a
// number split in two), so the window is widened before it is believed.
constexpr int kTrustMargin = 64;

int growRadius(int radius)
{
    return radius > (1 << 28) ? 1 << 30 : radius * 4;
}

// Sentences are looked for no further than this from the position; a longer run without a
// sentence end is cut there rather than copied and scanned whole.
constexpr int kSentenceRadius = 1 << 16;

enum class Segments { Words, Sentences };

} // namespace

// A window [start, end) of one line that ICU has been given. A side is "hard" when it is a
// real edge of the line, where boundaries are final.
struct WordWindow {
    int start;
    int end;
    bool hardStart;
    bool hardEnd;
};

// ---- characters --------------------------------------------------------------------------

int TextBuffer::prevCharBoundary(int pos) const
{
    pos = std::clamp(pos, 0, length());
    if (pos == 0)
        return 0;
    if (pos >= 2) {
        const char16_t last = at(pos - 1);
        const char16_t before = at(pos - 2);
        if ((last == kLF && before == kCR) || (U16_IS_TRAIL(last) && U16_IS_LEAD(before)))
            return pos - 2;
    }
    return pos - 1;
}

int TextBuffer::nextCharBoundary(int pos) const
{
    const int size = length();
    pos = std::clamp(pos, 0, size);
    if (pos == size)
        return size;
    if (pos + 2 <= size) {
        const char16_t first = at(pos);
        const char16_t second = at(pos + 1);
        if ((first == kCR && second == kLF) || (U16_IS_LEAD(first) && U16_IS_TRAIL(second)))
            return pos + 2;
    }
    return pos + 1;
}

void TextBuffer::keyDeletionRange(bool forward, int* start, int* end) const
{
    getSel(start, end);
    if (*start != *end)
        return;
    if (forward)
        *end = nextCharBoundary(*start);
    else
        *start = prevCharBoundary(*end);
}

// ---- words -------------------------------------------------------------------------------

namespace {

// Loads the part of line around pos, radius units each side, into the break iterator.
// Cuts never fall inside a surrogate pair.
WordWindow loadWindow(const TextBuffer& buffer, detail::SegmentCache& d, Segments kind, int pos,
                      int radius)
{
    const int line = buffer.lineFromChar(pos);
    const int lineStart = buffer.lineIndex(line);
    const int lineEnd = buffer.lineEnd(line);
    int start = pos - std::min(radius, pos - lineStart);
    int end = pos + std::min(radius, lineEnd - pos);
    if (start > lineStart && U16_IS_TRAIL(buffer.at(start))
        && U16_IS_LEAD(buffer.at(start - 1)))
        --start;
    if (end < lineEnd && U16_IS_TRAIL(buffer.at(end)) && U16_IS_LEAD(buffer.at(end - 1)))
        ++end;

    UErrorCode status = U_ZERO_ERROR;
    if (!d.iterator) {
        d.iterator.reset(kind == Segments::Words
                             ? icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status)
                             : icu::BreakIterator::createSentenceInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status))
            d.iterator.reset();
    }
    const bool same = d.revision == buffer.revision() && d.windowStart == start
                   && static_cast<int>(d.window.size()) == end - start;
    if (d.iterator && !same) {
        d.window = buffer.textRange(start, end - start);
        UText text = UTEXT_INITIALIZER;
        utext_openUChars(&text, d.window.data(), static_cast<int64_t>(d.window.size()), &status);
        d.iterator->setText(&text, status);  // keeps a shallow clone; the window outlives it
        utext_close(&text);
        d.windowStart = start;
        d.revision = buffer.revision();
    }
    return {start, end, start == lineStart, end == lineEnd};
}

// A window that had to grow over a long line is not kept: it could cost as much memory as
// the text. The iterator is pointed at nothing before the copy goes.
void releaseLargeWindow(detail::SegmentCache& d)
{
    constexpr size_t kKeptUnits = 1 << 16;
    if (d.window.capacity() <= kKeptUnits)
        return;
    if (d.iterator) {
        static const char16_t nothing[1] = {0};
        UErrorCode status = U_ZERO_ERROR;
        UText text = UTEXT_INITIALIZER;
        utext_openUChars(&text, nothing, 0, &status);
        d.iterator->setText(&text, status);
        utext_close(&text);
    }
    std::u16string().swap(d.window);
    d.windowStart = -1;
}

bool trustedAfter(const WordWindow& window, int boundary)
{
    return window.hardEnd || boundary < window.end - kTrustMargin;
}

bool trustedBefore(const WordWindow& window, int boundary)
{
    return window.hardStart || boundary > window.start + kTrustMargin;
}

} // namespace

int TextBuffer::nextWordBoundary(int pos) const
{
    const int size = length();
    pos = std::clamp(pos, 0, size);
    if (pos == size)
        return size;
    // The CR LF is a stop of its own, and so is the start of the line behind it.
    if (at(pos) == kCR && at(pos + 1) == kLF)
        return pos + 2;
    if (at(pos) == kLF && pos > 0 && at(pos - 1) == kCR)
        return pos + 1;

    for (int radius = kInitialRadius;; radius = growRadius(radius)) {
        const WordWindow window = loadWindow(*this, d->wordCache, Segments::Words, pos, radius);
        icu::BreakIterator* words = d->wordCache.iterator.get();
        if (!words)
            return nextCharBoundary(pos);
        int boundary = window.start + words->following(pos - window.start);
        while (boundary < window.end && isBlank(at(boundary)))
            boundary = window.start + words->next();
        if (trustedAfter(window, boundary)) {
            releaseLargeWindow(d->wordCache);
            return boundary;
        }
    }
}

int TextBuffer::prevWordBoundary(int pos) const
{
    pos = std::clamp(pos, 0, length());
    if (pos == 0)
        return 0;
    if (pos >= 2 && at(pos - 1) == kLF && at(pos - 2) == kCR)
        return pos - 2;
    if (at(pos) == kLF && at(pos - 1) == kCR)
        return pos - 1;

    for (int radius = kInitialRadius;; radius = growRadius(radius)) {
        const WordWindow window = loadWindow(*this, d->wordCache, Segments::Words, pos, radius);
        icu::BreakIterator* words = d->wordCache.iterator.get();
        if (!words)
            return prevCharBoundary(pos);
        int boundary = window.start + words->preceding(pos - window.start);
        while (boundary > window.start && isBlank(at(boundary)))
            boundary = window.start + words->previous();
        if (trustedBefore(window, boundary)) {
            releaseLargeWindow(d->wordCache);
            return boundary;
        }
    }
}

namespace {

// The segment of the given kind around pos within its line; at or past the line's end, the
// one that ends the line; nothing on an empty line.
void segmentAround(const TextBuffer& buffer, detail::SegmentCache& cache, Segments kind, int pos,
                   int maxRadius, int* start, int* end)
{
    int first = 0;
    int last = 0;
    const int line = buffer.lineFromChar(std::clamp(pos, 0, buffer.length()));
    const int lineStart = buffer.lineIndex(line);
    const int lineStop = buffer.lineEnd(line);
    if (lineStart == lineStop) {
        // An empty line holds no segment; its line end is never selected as one.
        first = last = lineStart;
    } else {
        // The unit before the line's end may be the low half of a pair; ICU is asked about
        // code points only (inside a pair it would answer from before the window).
        int probe = std::clamp(pos, lineStart, lineStop - 1);
        if (probe > lineStart && U16_IS_TRAIL(buffer.at(probe)) && U16_IS_LEAD(buffer.at(probe - 1)))
            --probe;
        for (int radius = kInitialRadius;; radius = std::min(growRadius(radius), maxRadius)) {
            const WordWindow window = loadWindow(buffer, cache, kind, probe, radius);
            icu::BreakIterator* segments = cache.iterator.get();
            if (!segments) {
                first = probe;
                last = buffer.nextCharBoundary(probe);
                break;
            }
            const int offset = probe - window.start;
            first = window.start + (segments->isBoundary(offset) ? offset : segments->preceding(offset));
            last = window.start + segments->following(offset);
            if ((trustedBefore(window, first) && trustedAfter(window, last)) || radius >= maxRadius)
                break;
        }
        releaseLargeWindow(cache);
    }
    if (start)
        *start = first;
    if (end)
        *end = last;
}

} // namespace

void TextBuffer::wordAt(int pos, int* start, int* end) const
{
    segmentAround(*this, d->wordCache, Segments::Words, pos, 1 << 30, start, end);
}

void TextBuffer::sentenceAt(int pos, int* start, int* end) const
{
    segmentAround(*this, d->sentenceCache, Segments::Sentences, pos, kSentenceRadius, start, end);
}

} // namespace platform
