#pragma once
// The input method's composition, shown at the caret over whatever layout the caret's line
// has: the line's kind lays the line out with the composition in it (LineLayout::compose),
// once per change of the composition or the caret, and that is drawn in place of the line's
// own rows until the composition ends. The composition shown before stays until the next one
// is laid out, so that rows showing the same text keep their layouts and are not drawn again.

#include "platform/editctl/layout/LineLayout.h"

#include <memory>

namespace platform {

class CompositionOverlay {
public:
    const Preedit& preedit() const { return m_preedit; }
    bool isEmpty() const { return m_preedit.text.isEmpty(); }

    // Shows `text` from now on; an empty text ends the composition.
    void set(const QString& text, const QList<QTextLayout::FormatRange>& formats);
    // The text changed under the composition: what it showed can no longer be kept.
    void textChanged() { retire(false); }
    // The layouts changed wholesale (font, tabs, wrapping): nothing shown is kept.
    void clear();

    // The caret's line as drawn with the composition at `caret`, caretOffset units into
    // `line`, laid out by `kind` when nothing is laid out for that caret yet; nullptr
    // without a composition.
    ComposedLine* at(LineLayout& kind, int line, int caretOffset, int caret);

private:
    void retire(bool textKept);

    Preedit m_preedit;
    std::unique_ptr<ComposedLine> m_shown;
    int m_shownCaret = -1;
    std::unique_ptr<ComposedLine> m_replaced;
    int m_replacedCaret = -1;
    bool m_replacedTextKept = false;
};

} // namespace platform
