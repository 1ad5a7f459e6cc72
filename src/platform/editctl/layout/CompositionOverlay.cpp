#include "platform/editctl/layout/CompositionOverlay.h"

namespace platform {

void CompositionOverlay::set(const QString& text, const QList<QTextLayout::FormatRange>& formats)
{
    m_preedit.text = text;
    m_preedit.formats = formats;
    retire(true);
}

void CompositionOverlay::clear()
{
    m_shown.reset();
    m_replaced.reset();
    m_shownCaret = -1;
    m_replacedCaret = -1;
}

void CompositionOverlay::retire(bool textKept)
{
    if (m_shown) {
        m_replaced = std::move(m_shown);
        m_replacedCaret = m_shownCaret;
        m_replacedTextKept = true;
        m_shownCaret = -1;
    }
    if (!textKept)
        m_replacedTextKept = false;
}

ComposedLine* CompositionOverlay::at(LineLayout& kind, int line, int caretOffset, int caret)
{
    if (isEmpty())
        return nullptr;
    if (m_shown && m_shownCaret == caret)
        return m_shown.get();
    const ReplacedComposition replaced{m_replaced.get(), m_replaced && m_replacedTextKept && m_replacedCaret == caret};
    auto made = kind.compose(line, caretOffset, m_preedit, replaced);
    m_replaced.reset();
    m_shown = std::move(made);
    m_shownCaret = caret;
    return m_shown.get();
}

} // namespace platform
