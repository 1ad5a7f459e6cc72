#pragma once
// Commands by number, as the menus, toolbar and accelerators name them, and the tables that
// bind them to handlers: the stand-in for a message map. Every class that handles commands
// keeps a static table of {first id, last id, handler, update handler} chained to its base
// class's; nothing else decides which code a command runs. Routing (CommandRouter) asks the
// targets in order (view, document, frame, application) and the first table that has the
// id wins.

#include <QString>
#include <optional>
#include <span>
#include <type_traits>

namespace platform::fx {

// What an update handler may say about one command.
class CmdUI {
public:
    explicit CmdUI(unsigned id) : m_id(id) {}
    unsigned id() const { return m_id; }

    void enable(bool on = true) { m_enabled = on; }
    void setCheck(bool on = true) { m_checked = on; }
    void setText(const QString& text) { m_text = text; }
    // Status-bar panes: make the pane exactly as wide as its text.
    void fitToText() { m_fitToText = true; }

    bool enabled() const { return m_enabled; }
    std::optional<bool> checked() const { return m_checked; }
    std::optional<QString> text() const { return m_text; }
    bool fitsToText() const { return m_fitToText; }

private:
    unsigned m_id;
    bool m_enabled = true;
    std::optional<bool> m_checked;
    std::optional<QString> m_text;
    bool m_fitToText = false;
};

struct CommandMap;

// Something that can take commands: a class with a command table. The router looks ids up
// in the table (and its base classes' tables); onCommand and onUpdate do that for this one
// target and return false when it has no entry for the id.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual const CommandMap& commandMap() const = 0;
    virtual bool onCommand(unsigned id);
    virtual bool onUpdate(CmdUI& ui);
};

// One row of a class's command table, serving first..last. A row without a handler is a
// status-bar pane's; a row without an update handler leaves the command enabled.
struct CommandEntry {
    unsigned first;
    unsigned last;
    void (*handler)(CommandTarget& target, unsigned id) = nullptr;
    void (*update)(CommandTarget& target, CmdUI& ui) = nullptr;
};

// A class's table and the table of the class it derives from (nullptr for none); rows of
// the derived class come first.
struct CommandMap {
    const CommandMap* base;
    std::span<const CommandEntry> entries;
};

namespace detail {

template <class M>
struct MemberOf;
template <class T, class R, class... A>
struct MemberOf<R (T::*)(A...)> {
    using type = T;
};

template <auto Handler>
void runHandler(CommandTarget& target, unsigned id)
{
    using T = typename MemberOf<decltype(Handler)>::type;
    T& self = static_cast<T&>(target);
    if constexpr (std::is_invocable_v<decltype(Handler), T&, unsigned>)
        (self.*Handler)(id);
    else
        (self.*Handler)();
}

template <auto Update>
void runUpdate(CommandTarget& target, CmdUI& ui)
{
    using T = typename MemberOf<decltype(Update)>::type;
    (static_cast<T&>(target).*Update)(ui);
}

} // namespace detail

// A command with its handler (void()) and optional update handler (void(CmdUI&)). Whether
// there is one is asked of Update's type: comparing a member pointer with nullptr is no
// constant expression under the undefined-behaviour sanitizer.
template <auto Handler, auto Update = nullptr>
constexpr CommandEntry onCommand(unsigned id)
{
    if constexpr (std::is_null_pointer_v<decltype(Update)>)
        return CommandEntry{id, id, &detail::runHandler<Handler>, nullptr};
    else
        return CommandEntry{id, id, &detail::runHandler<Handler>, &detail::runUpdate<Update>};
}

// A range of commands with one handler, given the id (void(unsigned)).
template <auto Handler, auto Update = nullptr>
constexpr CommandEntry onCommandRange(unsigned first, unsigned last)
{
    if constexpr (std::is_null_pointer_v<decltype(Update)>)
        return CommandEntry{first, last, &detail::runHandler<Handler>, nullptr};
    else
        return CommandEntry{first, last, &detail::runHandler<Handler>, &detail::runUpdate<Update>};
}

// An update handler with no command handler: for status-bar panes.
template <auto Update>
constexpr CommandEntry onUpdateOnly(unsigned id)
{
    return CommandEntry{id, id, nullptr, &detail::runUpdate<Update>};
}

} // namespace platform::fx
