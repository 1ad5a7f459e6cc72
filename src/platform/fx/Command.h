#pragma once
// Commands by number, as the menus, toolbar and accelerators name them, and the tables that
// bind them to handlers: the stand-in for a message map. Each class that handles commands
// keeps a static table of {first id, last id, handler, update handler}; routing asks the
// targets in order (view, document, frame, application) and the first table that has the
// id wins.

#include <QString>
#include <optional>
#include <span>

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

// Something that can take commands. onCommand runs the handler and onUpdate the update
// handler of id; both return false when this target has no entry for id.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual bool onCommand(unsigned id) = 0;
    virtual bool onUpdate(CmdUI& ui) = 0;
};

// One row of a class's command table. A row with a range handler serves first..last and is
// given the id; a row without an update handler leaves the command enabled.
template <class T>
struct CommandEntry {
    unsigned first;
    unsigned last;
    void (T::*handler)() = nullptr;
    void (T::*rangeHandler)(unsigned) = nullptr;
    void (T::*update)(CmdUI&) = nullptr;
};

template <class T>
constexpr CommandEntry<T> onCommand(unsigned id, void (T::*handler)(),
                                    void (T::*update)(CmdUI&) = nullptr)
{
    return CommandEntry<T>{id, id, handler, nullptr, update};
}

template <class T>
constexpr CommandEntry<T> onCommandRange(unsigned first, unsigned last,
                                         void (T::*handler)(unsigned),
                                         void (T::*update)(CmdUI&) = nullptr)
{
    return CommandEntry<T>{first, last, nullptr, handler, update};
}

// An update handler with no command handler: for status-bar panes.
template <class T>
constexpr CommandEntry<T> onUpdateOnly(unsigned id, void (T::*update)(CmdUI&))
{
    return CommandEntry<T>{id, id, nullptr, nullptr, update};
}

// Runs the row of table that holds id. Returns false when the table has none.
template <class T>
bool dispatchCommand(T* self, std::span<const CommandEntry<T>> table, unsigned id)
{
    for (const CommandEntry<T>& e : table) {
        if (id < e.first || id > e.last)
            continue;
        if (e.handler) {
            (self->*e.handler)();
            return true;
        }
        if (e.rangeHandler) {
            (self->*e.rangeHandler)(id);
            return true;
        }
    }
    return false;
}

// Runs the update handler of the row that holds id. A row with a handler but no update
// handler counts as enabled. Returns false when the table has no row for id.
template <class T>
bool dispatchUpdate(T* self, std::span<const CommandEntry<T>> table, CmdUI& ui)
{
    for (const CommandEntry<T>& e : table) {
        if (ui.id() < e.first || ui.id() > e.last)
            continue;
        if (e.update)
            (self->*e.update)(ui);
        else
            ui.enable(true);
        return true;
    }
    return false;
}

} // namespace platform::fx
