// The main frame's command table.

#include "app/CMainFrame.h"

#include "res/Resource.h"

using platform::fx::CommandEntry;

std::span<const CommandEntry<CMainFrame>> CMainFrame::commandMap()
{
    using F = CMainFrame;
    static const CommandEntry<F> map[] = {
        platform::fx::onCommand<F>(res::ID_README, &F::OnReadme),
        platform::fx::onCommand<F>(res::ID_CLIP_HISTORY, &F::OnClipboardHistory),
        platform::fx::onCommand<F>(res::ID_CREATE_SHORTCUT, &F::OnCreateShortcut),
        platform::fx::onCommand<F>(res::ID_ADD_TEMPLATE, &F::OnAddTemplate,
                                   &F::OnUpdateAddTemplate),
        platform::fx::onCommand<F>(res::ID_ORGANIZE_TEMPLATES, &F::OnOrganizeTemplates,
                                   &F::OnUpdateOrganizeTemplates),
        // Template items take every number below the program's own commands.
        platform::fx::onCommandRange<F>(res::ID_TEMPLATE_FIRST, res::ID_OWN_COMMAND_FIRST - 1,
                                        &F::OnTemplateItem, &F::OnUpdateTemplateItem),
    };
    return map;
}
