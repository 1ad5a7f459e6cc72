#pragma once

#include <QtGlobal>

class QTextLayout;
class QTextLine;

namespace platform {

// The caret stop of a laid-out row nearest to x, from the row's start up to rowEnd (an offset
// in the layout's text). QTextLine::xToCursor misplaces points in some rows that hold tabs and
// combining marks (on "a<tab>b<mark>c..." a point on the "b" gave the stop after the next tab),
// so its answer is kept only when neither neighbouring stop lies nearer; otherwise every stop
// of the row is measured, which a click or a drag over one row easily affords.
int cursorAtX(const QTextLayout& layout, const QTextLine& line, qreal x, int rowEnd);

} // namespace platform
