#pragma once
// What TextBuffer keeps behind its public header; shared by its .cpp files only.

#include "platform/editctl/GapVector.h"
#include "platform/editctl/LineStarts.h"
#include "platform/editctl/TextBuffer.h"

#include <memory>
#include <string>
#include <vector>

#include <unicode/brkiter.h>

namespace platform {

inline constexpr char16_t kCR = u'\r';
inline constexpr char16_t kLF = u'\n';

namespace detail {

// Word rules (for Ctrl+arrows and double-click) or sentence rules, made once: creating them
// costs far more than a lookup. They run over a copy of a bounded window of text around the
// position, which is kept until the text changes or another window is needed.
struct SegmentCache {
    std::unique_ptr<icu::BreakIterator> iterator;
    std::u16string window;
    int windowStart = -1;
    std::uint64_t revision = 0;
};

} // namespace detail

struct TextBuffer::Impl {
    detail::GapVector<char16_t> text;
    detail::LineStarts lines;
    // The position after every surrogate pair, kept as the line starts are (behind a 0).
    detail::LineStarts surrogatePairs;
    std::vector<int> scratchStarts;  // pair ends found by the current edit
    std::u16string removed;          // what the current edit removed, while it is told
    detail::SegmentCache wordCache;
    detail::SegmentCache sentenceCache;

    int notifying = 0;             // depth of observer calls in progress
    bool observersRemoved = false; // some were removed meanwhile and await erasing
};

} // namespace platform
