// Find and replace of the edit view: the modeless dialog, F3 and Shift+F3, and the
// replacements, each made through ReplaceSelWithUndo so that undo takes them back.
#include "edit/CMyEditView.h"

#include "dialogs/FindReplaceDlg.h"
#include "edit/FindMatcher.h"
#include "edit/FindReplaceState.h"
#include "platform/Utf16.h"
#include "platform/fx/WaitCursor.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

using platform::fx::CmdUI;
using platform::utf16View;

FindReplaceState& findReplaceState()
{
    static FindReplaceState state;
    return state;
}

void CMyEditView::OpenFindReplace(bool bFindOnly)
{
    FindReplaceState& state = findReplaceState();
    if (state.pDialog) {
        if (state.bFindOnly == bFindOnly) {
            state.pDialog->show();
            state.pDialog->raise();
            state.pDialog->activateWindow();
            return;
        }
        state.pDialog->close();
    }
    // Only the first line of a selection that spans lines is proposed.
    QString find;
    GetSelectionText(find);
    if (const qsizetype cr = find.indexOf(QChar(u'\r')); cr >= 0)
        find.truncate(cr);
    if (find.isEmpty())
        find = state.strFind;

    auto* dialog = new CFindReplaceDialog(bFindOnly, find, state.strReplace, state.bNext, state.bCase, this);
    connect(dialog, &CFindReplaceDialog::findReplaceCmd, this, &CMyEditView::OnFindReplaceCmd);
    state.pDialog = dialog;
    state.bFindOnly = bFindOnly;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CMyEditView::OnFindReplaceCmd()
{
    FindReplaceState& state = findReplaceState();
    auto* dialog = qobject_cast<CFindReplaceDialog*>(sender());
    if (!dialog)
        dialog = state.pDialog;
    if (!dialog)
        return;
    if (dialog->IsTerminating()) {
        if (state.pDialog == dialog)
            state.pDialog = nullptr;
    } else if (dialog->FindNext()) {
        OnFindNext(dialog->GetFindString(), dialog->SearchDown(), dialog->MatchCase());
    } else if (dialog->ReplaceCurrent()) {
        OnReplaceSel(dialog->GetFindString(), dialog->SearchDown(), dialog->MatchCase(),
                     dialog->GetReplaceString());
    } else if (dialog->ReplaceAll()) {
        OnReplaceAll(dialog->GetFindString(), dialog->GetReplaceString(), dialog->MatchCase());
    }
}

void CMyEditView::focusFindDialog()
{
    if (CFindReplaceDialog* dialog = findReplaceState().pDialog) {
        dialog->activateWindow();
        dialog->raise();
    }
}

void CMyEditView::OnFindNext(const QString& find, bool bNext, bool bCase)
{
    FindReplaceState& state = findReplaceState();
    state.strFind = find;
    state.bNext = bNext;
    state.bCase = bCase;
    if (!FindText(state.strFind, bNext, bCase)) {
        OnTextNotFound(state.strFind);
        focusFindDialog();
    }
}

void CMyEditView::OnEditFindNext()
{
    const FindReplaceState& state = findReplaceState();
    if (!FindText(state.strFind, true, state.bCase))
        OnTextNotFound(state.strFind);
}

void CMyEditView::OnEditFindPrevious()
{
    const FindReplaceState& state = findReplaceState();
    if (!FindText(state.strFind, false, state.bCase))
        OnTextNotFound(state.strFind);
}

bool CMyEditView::SameAsSelected(const QString& find, bool bCase) const
{
    int start = 0, end = 0;
    getSel(&start, &end);
    return edit::SelectionMatches(buffer(), edit::FindMatcher(utf16View(find), bCase), start, end);
}

bool CMyEditView::FindText(const QString& find, bool bNext, bool bCase)
{
    int start = 0, end = 0;
    getSel(&start, &end);
    if (!bNext && start == 0)
        return false;
    platform::fx::WaitCursor wait;
    const int at = edit::FindInBuffer(buffer(), edit::FindMatcher(utf16View(find), bCase), start, end, bNext);
    if (at < 0)
        return false;
    setSel(at, at + int(find.size()));
    scrollCaret();
    return true;
}

bool CMyEditView::InitializeReplace()
{
    const FindReplaceState& state = findReplaceState();
    int start = 0, end = 0;
    getSel(&start, &end);
    if (start != end && SameAsSelected(state.strFind, state.bCase))
        return true;
    if (!FindText(state.strFind, state.bNext, state.bCase)) {
        OnTextNotFound(state.strFind);
        focusFindDialog();
    }
    return false;
}

void CMyEditView::OnReplaceSel(const QString& find, bool bNext, bool bCase, const QString& replacement)
{
    FindReplaceState& state = findReplaceState();
    state.strFind = find;
    state.strReplace = replacement;
    state.bCase = bCase;
    state.bNext = bNext;
    if (!InitializeReplace())
        return;
    if (!ReplaceSelWithUndo(state.strReplace))
        return;
    FindText(state.strFind, bNext, bCase);
}

void CMyEditView::OnReplaceAll(const QString& find, const QString& replacement, bool bCase)
{
    FindReplaceState& state = findReplaceState();
    state.strFind = find;
    state.strReplace = replacement;
    state.bCase = bCase;
    state.bNext = true;
    platform::fx::WaitCursor wait;
    if (!InitializeReplace() && !SameAsSelected(state.strFind, bCase))
        return;
    // One repaint and one scroll at the end, not one per replacement. Each search starts
    // after the replacement just inserted, so a replacement that contains the search
    // string is never searched again and the loop ends at the end of the text.
    setRedraw(false);
    m_bBatchReplace = true;
    const edit::FindMatcher matcher(utf16View(state.strFind), bCase);
    const std::u16string_view text = utf16View(state.strReplace);
    while (ReplaceSelWithUndo(text)) {
        int start = 0, end = 0;
        buffer().getSel(&start, &end);
        const int at = edit::FindInBuffer(buffer(), matcher, start, end, true);
        if (at < 0)
            break;
        // Straight on the buffer: the control takes up the selection once, below.
        buffer().setSel(at, at + matcher.length());
    }
    m_bBatchReplace = false;
    setSel(buffer().anchor(), buffer().caret());
    setRedraw(true);
    scrollCaret();
}

void CMyEditView::OnTextNotFound(const QString& find)
{
    const std::u16string text = res::formatString1(res::loadString(res::IDP_EDIT_TEXT_NOT_FOUND), utf16View(find));
    platform::fx::showMessage(this, platform::toQString(text), platform::fx::MsgIcon::Information);
}

void CMyEditView::OnUpdateNeedFind(CmdUI& ui)
{
    ui.enable(textLength() != 0 && !findReplaceState().strFind.isEmpty());
}
