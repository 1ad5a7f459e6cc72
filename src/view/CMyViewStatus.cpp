// The two status-bar panes of the view: the code page the text is saved in, and where the
// caret is.

#include "view/CMyView.h"

#include "platform/Utf16.h"
#include "platform/nls/CodePages.h"
#include "view/CaretPosition.h"

using platform::fx::CmdUI;

void CMyView::OnUpdateCodePagePane(CmdUI& ui)
{
    ui.enable(true);
    QString name = platform::toQString(platform::nls::codePageName(m_nCodePage));
    // A page the system does not know (a hand-edited setting) is shown by its number.
    if (name.isEmpty())
        name = QString::number(m_nCodePage);
    ui.setText(name);
    FitPaneToText(ui, name);
}

void CMyView::OnUpdatePositionPane(CmdUI& ui)
{
    long line = 0, column = 0, count = 0;
    const std::uint16_t shownCode = m_chAtCaret;
    GetCaretPosition(line, column, count);
    // The code counts too: Delete, Undo or a replacement can change the character after a
    // caret that stays where it was, and the pane must not go on naming the old one.
    if (line == m_nCurLine && column == m_nCurColumn && count == m_nLineCount && m_chAtCaret == shownCode)
        return;
    m_nCurLine = std::int32_t(line);
    m_nCurColumn = std::int32_t(column);
    m_nLineCount = std::int32_t(count);
    const QString text = platform::toQString(view::formatPositionPane(
        view::CaretPosition{line, column, count, char16_t(m_chAtCaret)}));
    ui.enable(true);
    ui.setText(text);
    FitPaneToText(ui, text);
}

void CMyView::GetCaretPosition(long& line, long& column, long& lineCount)
{
    int start = 0, end = 0;
    getSel(&start, &end);
    const int caret = view::inferCaret(start, end, m_caretMemory);
    const int l = lineFromChar(caret);
    line = l + 1;
    column = caret - lineIndex(l) + 1;
    lineCount = this->lineCount();
    // The one unit after the caret, read in place.
    m_chAtCaret = caret < textLength() ? buffer().at(caret) : 0;
}

void CMyView::FitPaneToText(CmdUI& ui, const QString& text)
{
    // The frame measures the pane's text with the status bar's own font.
    Q_UNUSED(text);
    ui.fitToText();
}
