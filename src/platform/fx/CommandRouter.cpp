#include "platform/fx/CommandRouter.h"

namespace platform::fx {

const CommandEntry* CommandRouter::find(const CommandTarget& target, unsigned id)
{
    for (const CommandMap* map = &target.commandMap(); map; map = map->base) {
        for (const CommandEntry& e : map->entries) {
            if (id >= e.first && id <= e.last)
                return &e;
        }
    }
    return nullptr;
}

bool CommandTarget::onCommand(unsigned id)
{
    const CommandEntry* e = CommandRouter::find(*this, id);
    if (!e || !e->handler)
        return false;
    e->handler(*this, id);
    return true;
}

bool CommandTarget::onUpdate(CmdUI& ui)
{
    const CommandEntry* e = CommandRouter::find(*this, ui.id());
    if (!e)
        return false;
    if (e->update)
        e->update(*this, ui);
    else
        ui.enable(true);
    return true;
}

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
