#include "platform/fx/CommandRouter.h"

namespace platform::fx {

CmdUI CommandRouter::update(unsigned id) const
{
    CmdUI ui(id);
    for (CommandTarget* target : m_targets()) {
        if (target && target->onUpdate(ui))
            return ui;
    }
    ui.enable(false);
    return ui;
}

bool CommandRouter::execute(unsigned id) const
{
    if (!update(id).enabled())
        return false;
    return send(id);
}

bool CommandRouter::send(unsigned id) const
{
    for (CommandTarget* target : m_targets()) {
        if (target && target->onCommand(id))
            return true;
    }
    return false;
}

} // namespace platform::fx
