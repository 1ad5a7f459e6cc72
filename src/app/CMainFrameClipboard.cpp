// The clipboard history of the main frame. Qt is told of every change of the clipboard:
// on X11 of every program's copies, on Wayland only of those made while one of the
// program's windows has the focus (the compositor keeps the rest to itself).

#include "app/CMainFrame.h"

#include "dialogs/CClipHistoryDlg.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "view/CMyView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void CMainFrame::JoinClipboardViewers()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::dataChanged, this, &CMainFrame::OnDrawClipboard,
            Qt::UniqueConnection);
    OnDrawClipboard();
}

void CMainFrame::LeaveClipboardViewers()
{
    disconnect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
               &CMainFrame::OnDrawClipboard);
}

void CMainFrame::OnDrawClipboard()
{
    // A picture or a list of files without a text form adds nothing.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data && data->hasText())
        m_clipHistory.add(platform::toU16String(data->text()));
}

void CMainFrame::OnClipboardHistory()
{
    if (!m_pView)
        return;
    CClipHistoryDlg dialog(m_clipHistory, this);
    dialog.m_logFont = m_pView->m_logFont;
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    // An empty choice still deletes the selection, as pasting nothing does.
    m_pView->ReplaceSelWithUndo(std::u16string_view(dialog.m_strSelected));
}
