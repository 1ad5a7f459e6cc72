// The shortcut command of the main frame.

#include "app/CMainFrame.h"

#include "dialogs/CShortcutDlg.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/SettingsPath.h"
#include "platform/shell/DesktopDatabase.h"
#include "platform/shell/DesktopShortcut.h"
#include "res/AppId.h"
#include "res/Resource.h"

void CMainFrame::OnCreateShortcut()
{
    namespace shell = platform::shell;
    const auto places = shell::ShortcutInputs::fromProcess();
    // The shortcuts start the program that runs now, wherever it lies and whatever its name.
    const std::string program = platform::profile::SettingsPathInputs::fromProcess().programPath;
    // The menu's shortcut bears the installed entry's file name: a desktop shows one entry
    // of a name, the user's own before the system's, so the two never both appear.
    CShortcutDlg dialog({res::IDC_SHORTCUT_DESKTOP, shell::desktopFolder(places), false},
                        {res::IDC_SHORTCUT_PROGRAMS, shell::applicationsFolder(places), true,
                         std::string(res::kAppId) + ".desktop"},
                        {res::IDC_SHORTCUT_SENDTO, shell::sendToFolder(places), true}, program,
                        this);
    // The folder's cache follows the shortcut, or "Open with" would lose the program: the
    // shortcut hides the installed entry together with its listing in the system's cache.
    if (platform::fx::UiHost::current().runModal(dialog) == QDialog::Accepted)
        shell::refreshDesktopDatabase(shell::applicationsFolder(places));
}
