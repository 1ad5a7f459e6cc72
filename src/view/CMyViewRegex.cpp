// Regular-expression replace over the whole text: the dialog, then one replace of the whole
// text, undone in two steps (the new text, then the old one).

#include "view/CMyView.h"

#include "dialogs/RegexReplaceDlg.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "view/RegexReplace.h"
#include "platform/fx/WaitCursor.h"

#include <QDialog>

void CMyView::OnRegexReplace()
{
    CRegexReplaceDlg dialog(window());
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    view::RegexReplaceRequest request;
    request.pattern = platform::toU16String(dialog.m_strPattern);
    request.replacement = dialog.m_bEscape
                              ? view::UnescapeReplacement(platform::toU16String(dialog.m_strReplace))
                              : platform::toU16String(dialog.m_strReplace);
    request.global = dialog.m_bGlobal != 0;
    request.ignoreCase = dialog.m_bIgnoreCase != 0;
    request.multiline = dialog.m_bMultiline != 0;
    RegexReplaceWholeText(request);
}

void CMyView::RegexReplaceWholeText(const view::RegexReplaceRequest& request)
{
    platform::fx::WaitCursor wait;
    const std::u16string whole = text();

    setRedraw(false);
    setSel(0, -1);
    scrollCaret();
    view::RegexReplaceOutcome outcome = view::RunRegexReplace(request, whole);
    if (outcome.message) {
        // The text stays as it was, still selected, and is drawn again.
        setRedraw(true);
        wait.restore();
        platform::fx::showMessage(window(), platform::toQString(*outcome.message),
                                  platform::fx::MsgIcon::Exclamation);
        return;
    }
    // Also when nothing matched: the whole text is replaced and the caret ends at its end.
    ReplaceSelWithUndo(outcome.text);
    setRedraw(true);
}
