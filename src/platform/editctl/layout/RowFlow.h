#pragma once
// Where the wrapped rows of a long line begin, found without shaping: the widths a piece not
// shaped yet counts with (UnitWidths) are added up from row start to row start, and a row
// breaks at the last line-break opportunity before the wrap width (a cluster or a word of a
// joining script goes on a row whole unless it is wider than a row). Where shaping measures
// a word otherwise than its units, a row may end a little before or after the wrap width
// (it is drawn clipped to it).

#include "platform/editctl/LinePieces.h"

#include <QtGlobal>

#include <string_view>

namespace platform {

class UnitWidths;

class RowFlow {
public:
    RowFlow(UnitWidths& widths, int wrapWidth, qreal tabDistance);

    // A window of text wide enough for one row, however narrow its units are.
    static constexpr int kWindow = pieces::kPieceMax * 2 + 8;

    // Where the row that starts at `start` ends: the last line-break opportunity before the
    // units reach the wrap width (white space hangs past it), else the last safe cut, and
    // never more than kPieceMax units on, so that a row of zero-width units stays short too.
    // `text` holds the line's offsets [textOffset, textOffset + text.size()) of a line of
    // lineLength units.
    int nextRowStart(std::u16string_view text, int lineLength, int start, int textOffset);

private:
    UnitWidths& m_widths;
    int m_wrapWidth;
    qreal m_tab;
};

} // namespace platform
