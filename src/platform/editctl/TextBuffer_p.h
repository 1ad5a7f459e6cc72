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

// Word rules for Ctrl+arrows and double-click, made once: creating them costs far more than
// a lookup. They run over a copy of a bounded window of text around the position, which is
// kept until the text changes or another window is needed.
struct WordCache {
    std::unique_ptr<icu::BreakIterator> words;
    std::u16string window;
    int windowStart = -1;
    std::uint64_t revision = 0;
};

} // namespace detail

struct TextBuffer::Impl {
    detail::GapVector<char16_t> text;
    detail::LineStarts lines;
    std::vector<int> scratchStarts;  // line starts found by the current edit
    detail::WordCache wordCache;

    int notifying = 0;             // depth of observer calls in progress
    bool observersRemoved = false; // some were removed meanwhile and await erasing
};

} // namespace platform
