// The view's own commands: tab width, go to line, word wrap, the keys without menu items
// (Ctrl+Tab, Ctrl+Delete, Ctrl+Shift+Delete), and the message of a failed search.
#include "view/CMyView.h"

#include "dialogs/NumberDlg.h"
#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/WaitCursor.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QScrollBar>

#include <algorithm>

using platform::fx::CmdUI;

void CMyView::OnTabWidth()
{
    CNumberDlg dialog(this);
    dialog.m_strCaption = resourceText(res::IDS_TAB_WIDTH_CAPTION);
    dialog.m_nValue = std::uint32_t(m_nTabStops);
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    m_nTabStops = std::int32_t(dialog.m_nValue);
    // Four dialog units are one average character.
    setTabStops(m_nTabStops * 4);
}

void CMyView::OnGotoLine()
{
    CNumberDlg dialog(this);
    dialog.m_strCaption = resourceText(res::IDS_GOTO_LINE_CAPTION);
    dialog.m_nValue = std::uint32_t(std::max(m_nCurLine, 1));
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    // Lines are the control's: display rows while wrapping, as the status bar counts them.
    const int index = lineIndex(int(dialog.m_nValue) - 1);
    if (index < 0) {
        platform::fx::showMessage(this, resourceText(res::IDP_LINE_OUT_OF_RANGE),
                                  platform::fx::MsgIcon::Exclamation);
        return;
    }
    setSel(index, index);
    scrollCaret();
}

bool CMyView::IsWordWrap() const
{
    return wordWrap();
}

bool CMyView::SetWordWrap(bool wrap)
{
    if (IsWordWrap() == wrap)
        return false;
    // The control changes its wrapping in place: text, font, margins, tab stops, focus,
    // text limit, the document's modified state and the undo history all stay as they are.
    // Like a new control, it starts at the top with the caret at the beginning.
    setWordWrap(wrap);
    setSel(0, 0);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->repaint();
    return true;
}

void CMyView::OnWordWrap()
{
    platform::fx::WaitCursor wait;
    SetWordWrap(!IsWordWrap());
    m_bWordWrap = IsWordWrap() ? 1 : 0;
}

void CMyView::OnUpdateWordWrap(CmdUI& ui)
{
    ui.setCheck(IsWordWrap());
}

void CMyView::OnInsertTab()
{
    ReplaceSelWithUndo(std::u16string_view(u"\t"));
}

void CMyView::OnDeleteToLineEnd()
{
    int start = 0, end = 0;
    getSel(&start, &end);
    if (start != end) {
        OnEditClear();
        return;
    }
    // To the end of the caret's line in the text, without its CR LF. While wrapping, that
    // is the end of the logical line the caret's row belongs to, not of the row: what is
    // deleted does not depend on the width of the window.
    const int caret = start;
    const int lineEnd = buffer().lineEnd(buffer().lineFromChar(caret));
    if (lineEnd <= caret)
        return;
    setRedraw(false);
    setSel(caret, lineEnd);
    OnEditClear();
    setRedraw(true);
    setSel(caret, caret);
    scrollCaret();
}

void CMyView::OnNothing()
{
    // Ctrl+Shift+Delete is taken here so that it never reaches the control.
}

void CMyView::OnTextNotFound(const QString& find)
{
    const std::u16string text = res::formatString1(res::loadString(res::IDP_TEXT_NOT_FOUND),
                                                   platform::utf16View(find));
    platform::fx::showMessage(this, platform::toQString(text), platform::fx::MsgIcon::Information);
}
