// The main frame's command table.

#include "app/CMainFrame.h"

#include "res/Resource.h"

const platform::fx::CommandMap& CMainFrame::classCommands()
{
    using F = CMainFrame;
    using platform::fx::onCommand;
    using platform::fx::onCommandRange;
    static const platform::fx::CommandEntry entries[] = {
        onCommand<&F::OnReadme>(res::ID_README),
        onCommand<&F::OnClipboardHistory>(res::ID_CLIP_HISTORY),
        onCommand<&F::OnCreateShortcut>(res::ID_CREATE_SHORTCUT),
        onCommand<&F::OnAddTemplate, &F::OnUpdateAddTemplate>(res::ID_ADD_TEMPLATE),
        onCommand<&F::OnOrganizeTemplates, &F::OnUpdateOrganizeTemplates>(
            res::ID_ORGANIZE_TEMPLATES),
        // Template items take every number below the program's own commands.
        onCommandRange<&F::OnTemplateItem, &F::OnUpdateTemplateItem>(
            res::ID_TEMPLATE_FIRST, res::ID_OWN_COMMAND_FIRST - 1),
    };
    static const platform::fx::CommandMap map{&Frame::classCommands(), entries};
    return map;
}
