#pragma once
// Layouts of stretches of a long line shaped alone, each one row: a piece of an unwrapped
// line, or a wrapped row; either may show a part of a composition.
//
// A tab's width depends on the x it starts at, so a piece is shaped with the line's tab grid
// shifted by the x it starts at (its phase), and rows start on the grid. The shaper takes a
// tab that stands a hair short of a stop on to the next one; a piece whose tabs would stop
// elsewhere on the shifted grid is shaped again with each tab's own stop, so that its tabs
// stop where they would in a layout of the whole line. (A piece shaped with a composition in
// it keeps the shifted grid: for as long as the composition is shown, one of its tabs may
// stop a stop away.)

#include <QtGlobal>

#include <memory>

class QTextLayout;

namespace platform {

struct LayoutContext;
struct Preedit;

enum class Segment { Piece, WrappedRow };

// The part [from, to) of a composition (to < 0: up to its end), shown `at` units into a
// segment.
struct PreeditPart {
    const Preedit* preedit = nullptr;
    int at = 0;
    int from = 0;
    int to = -1;
};

// A layout of the buffer's text [start, start + length) alone, placed for the row grid; a
// piece starts `phase` pixels past a tab stop of its line.
std::unique_ptr<QTextLayout> layoutSegment(LayoutContext& context, int start, int length, qreal phase, Segment kind,
                                           const PreeditPart* preedit = nullptr);

} // namespace platform
