#pragma once
// Routes a command to the first target that has it, in the order the targets were given
// (the view, the document, the frame, the application). A command that no target has is
// disabled, and a disabled command is never run, whether it came from a menu, a toolbar
// button or an accelerator.

#include "platform/fx/Command.h"

#include <QList>
#include <functional>

namespace platform::fx {

class CommandRouter {
public:
    // Returns the targets to ask, first first; asked anew on every routing, because the
    // view can be replaced while the program runs.
    using TargetList = std::function<QList<CommandTarget*>()>;

    explicit CommandRouter(TargetList targets) : m_targets(std::move(targets)) {}

    // Runs the update handlers for id: enabled, check mark and text. Disabled when no
    // target has the command.
    CmdUI update(unsigned id) const;
    // Runs id when its update handler enables it. Returns whether it ran.
    bool execute(unsigned id) const;
    // Runs id without asking its update handler (for commands a program sends itself).
    bool send(unsigned id) const;

    // The row of target's table chain that serves id, or nullptr: the one place where
    // command tables are searched.
    static const CommandEntry* find(const CommandTarget& target, unsigned id);

private:
    TargetList m_targets;
};

} // namespace platform::fx
