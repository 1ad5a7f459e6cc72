#pragma once
// What the layouts of every line share: the text, the font and settings they are laid out
// with, the cache of shaped layouts, the widths unshaped text is counted with, and the
// widest line seen. The edit layout owns it; the parts that lay out lines use it.

#include "platform/editctl/TextBuffer.h"
#include "platform/editctl/layout/LayoutCache.h"
#include "platform/editctl/layout/TabStops.h"
#include "platform/editctl/layout/UnitWidths.h"

#include <QFont>

namespace platform {

struct LayoutContext {
    explicit LayoutContext(const TextBuffer& text)
        : buffer(text)
    {
    }

    const TextBuffer& buffer;
    // Drawn without kerning, as the system's edit control draws: every unit keeps its own
    // advance wherever it stands, so rows can be counted from the advances.
    QFont font;
    int rowHeight = 1;    // the font's height, whatever fallback fonts a line uses
    int ascent = 0;
    qreal tabStop = 0;    // pixels between tab stops, fractions kept; 0: the default distance
    int wrapWidth = 0;    // 0: no wrapping
    LayoutCache cache;
    UnitWidths widths{QFont()};
    // Widest line laid out so far without wrapping.
    qreal widest = 0;

    bool wraps() const { return wrapWidth > 0; }
    qreal tabDistance() const { return tabStop > 0 ? tabStop : tabs::kDefaultDistance; }
    int lineStart(int line) const { return buffer.lineIndex(line); }
    int lineLength(int line) const { return buffer.lineEnd(line) - buffer.lineIndex(line); }
};

} // namespace platform
