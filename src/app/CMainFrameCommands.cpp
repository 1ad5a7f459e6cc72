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
    };
    return map;
}
