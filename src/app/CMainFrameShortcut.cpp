// The shortcut command of the main frame.

#include "app/CMainFrame.h"

#include "dialogs/CShortcutDlg.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/SettingsPath.h"
#include "platform/shell/DesktopShortcut.h"
#include "res/Resource.h"

void CMainFrame::OnCreateShortcut()
{
    namespace shell = platform::shell;
    const auto places = shell::ShortcutInputs::fromProcess();
    // The shortcuts start the program that runs now, wherever it lies and whatever its name.
    const std::string program = platform::profile::SettingsPathInputs::fromProcess().programPath;
    CShortcutDlg dialog({res::IDC_SHORTCUT_DESKTOP, shell::desktopFolder(places), false},
                        {res::IDC_SHORTCUT_PROGRAMS, shell::applicationsFolder(places), true},
                        {res::IDC_SHORTCUT_SENDTO, shell::sendToFolder(places), true}, program,
                        this);
    platform::fx::UiHost::current().runModal(dialog);
}
