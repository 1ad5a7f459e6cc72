#pragma once
// Where a long line may be cut into pieces that are shaped one by one, and where a wrapped
// row may end. Qt-free: both answers depend only on the units around the cut.
//
// A piece of a long line is laid out on its own, so a cut must not change what is drawn:
// it never falls inside a surrogate pair or a grapheme cluster, and it prefers a place where
// a shaper would not join the two sides anyway (after white space or a control box, between
// two CJK characters). Pieces have a bounded length; where no such place is found within it
// (a run of a million combining marks, one endless word of a joining script) the cut is
// forced at a code-point boundary, and only there can the drawing differ from shaping the
// line at once: the two sides of the cut are shaped apart, and a bidirectional run is
// ordered within its piece. The caret is never affected: it moves by the text's own
// boundaries, which a forced cut still respects.

#include <string_view>
#include <vector>

namespace platform::pieces {

// Lines longer than this are laid out in pieces; shorter ones as one layout.
inline constexpr int kLongLine = 1024;
// A piece holds at most this many units, and at least kPieceMin unless the line ends first.
inline constexpr int kPieceMax = 256;
inline constexpr int kPieceMin = 96;

// Whether a cut between units text[at - 1] and text[at] keeps code points and grapheme
// clusters whole. The ends of the text are always safe.
bool isSafeCut(std::u16string_view text, size_t at);
// Whether a safe cut at `at` is also one a shaper never joins across.
bool isPreferredCut(std::u16string_view text, size_t at);

// Appends to `starts` the starts of the pieces of text[from, to): from itself, then every
// later cut. Cuts are chosen only from text[from, to), so the edges of a range stay where
// they are whatever the text around it.
void splitIntoPieces(std::u16string_view text, size_t from, size_t to, std::vector<int>& starts);

// Whether a wrapped row may end between text[at - 1] and text[at] (a line-break
// opportunity: after white space or a control box, around CJK characters unless kinsoku
// forbids it).
bool canBreakBefore(std::u16string_view text, size_t at);

} // namespace platform::pieces
