#pragma once
// The replacement text of one match as JavaScript's GetSubstitution builds it.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::regexp {

struct MatchView {
    std::u16string_view subject;
    std::size_t start;
    std::size_t end;
    // Group N at index N - 1: start and end, or npos for a group that did not take part.
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    const std::vector<std::pair<std::u16string, int>>* names;  // empty: no named groups
};

// Appends the expansion of replacement for match to out. Returns false, leaving out at
// most limit units long, as soon as out would grow past limit.
bool appendSubstitution(std::u16string& out, std::u16string_view replacement,
                        const MatchView& match, std::size_t limit);

} // namespace platform::regexp
