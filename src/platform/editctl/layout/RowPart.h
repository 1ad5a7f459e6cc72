#pragma once

#include <QtGlobal>

class QTextLayout;

namespace platform {

// A layout that draws part of a display row. Its QTextLine layoutRow is the row; the
// layout's origin lies at x, and layoutRow rows above the row's top.
struct RowPart {
    const QTextLayout* layout = nullptr;
    int layoutRow = 0;
    int textStart = 0;          // buffer position of the layout's first unit
    int length = 0;             // buffer units the layout shows
    qreal x = 0;
    int compositionAt = -1;     // offset of the composition in the layout's text, or -1
    int compositionLength = 0;
};

} // namespace platform
