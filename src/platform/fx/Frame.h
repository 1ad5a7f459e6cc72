#pragma once
// The main frame of the framework: a window with a menu bar, a toolbar and a status bar
// built from the tables, icons and strings the program gives it, the document's view in the
// middle, and command routing:
// view, document, frame, application. Update handlers run before a menu opens and when
// the program becomes idle; an accelerator runs its command only when enabled.

#include "platform/fx/Command.h"
#include "platform/fx/CommandRouter.h"
#include "platform/fx/FrameworkStrings.h"
#include "platform/fx/MenuItem.h"
#include "platform/fx/StatusPane.h"

#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <span>

class QLabel;
class QMenu;
class QToolBar;

namespace platform::fx {

class Document;
class View;

// A key combination and the command it runs.
struct KeyBinding {
    QKeySequence keys;
    unsigned command;
};
using IconLoader = std::function<QIcon(unsigned command)>;

class Frame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit Frame(Document* document);
    ~Frame() override;

    Document* document() const { return m_document; }
    View* view() const { return m_view; }
    // Puts view in the middle of the frame (not owned: the view's widget belongs to the
    // frame as its central widget).
    void setView(View* view);

    const CommandRouter& router() const { return m_router; }
    // Runs command id as if the user chose it (only when enabled).
    bool executeCommand(unsigned id) { return m_router.execute(id); }

    // Creates the frame's window contents; false means the frame could not be made.
    bool create();
    // Takes the window down without asking to save: the frame's and the view's clean-up
    // run once, then the window closes.
    void destroyWindow();
    // The view's initial update after a new or opened document, then the caption. A frame
    // that has more to do once the text is in place overrides it and calls it first.
    virtual void initialUpdate();
    // Runs the update handlers of the toolbar and status bar now (what idle does).
    void updateIdle();
    // Runs the update handlers of one menu's items (what opening it does).
    void updateMenu(QMenu* menu);

    QMenu* popupMenu(int index) const;  // a top-level popup of the menu bar
    QToolBar* toolBar() const { return m_toolBar; }
    QLabel* pane(unsigned id) const { return m_panes.value(id); }
    QAction* action(unsigned id) const { return m_actions.value(id); }
    // Builds a context menu from resource items; its items route and update like the
    // main menu's.
    QMenu* buildPopup(std::span<const MenuItem> items, QWidget* parent);

    // Toolbar and status bar shown or hidden; the lock-key panes.
    void onViewToolBar();
    void onViewStatusBar();
    void onUpdateViewToolBar(CmdUI& ui);
    void onUpdateViewStatusBar(CmdUI& ui);
    void onUpdateKeyIndicator(CmdUI& ui);
    static const CommandMap& classCommands();
    const CommandMap& commandMap() const override { return classCommands(); }

protected:
    // The program's frame adds its bars here; false aborts creation.
    virtual bool OnCreate();
    // Called once before the window goes away for good (placement store and the like).
    virtual void onDestroy() {}
    // Before a top-level menu opens (after the update handlers ran).
    virtual void onInitMenuPopup(QMenu* menu) { Q_UNUSED(menu); }
    virtual void onInitMenu() {}

    // Building blocks for OnCreate.
    void buildMenuBar(std::span<const MenuItem> items);
    // icons gives each button's picture (none: the button shows its tooltip text).
    bool createToolBar(std::span<const unsigned> buttons, const IconLoader& icons);
    bool createStatusBar(std::span<const unsigned> paneIds);
    void installAccelerators(std::span<const KeyBinding> accelerators);
    // The program's strings: the application title, command prompts and pane width samples;
    // the framework's own strings until the program gives its table.
    void setStrings(StringLoader strings) { m_strings = strings; }
    // The caption: "<title> - <application name>"; the view's accessible name: the title.
    void updateTitle();
    // The menu items that show the recent files.
    void rebuildRecentFileMenu(QMenu* menu);

    // An action that runs command id through the routing; owner: the object it belongs to,
    // the frame when nullptr.
    QAction* makeAction(unsigned id, const QString& text, QObject* owner = nullptr);

    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Something the update handlers show may have changed: they run when the program is next
    // idle.
    void markIdleDirty();

private:
    // owner: where items of a menu built for one use (a context menu) belong, so that they
    // go with it; nullptr for the frame's own menus, whose actions the frame keeps.
    void fillMenu(QMenu* menu, std::span<const MenuItem> items, QObject* owner = nullptr);
    void showPrompt(unsigned id);
    void scheduleIdle();

    Document* m_document;
    StringLoader m_strings = &frameworkString;
    View* m_view = nullptr;
    CommandRouter m_router;
    QHash<unsigned, QAction*> m_actions;      // menu and toolbar actions by command
    QHash<unsigned, StatusPane*> m_panes;         // status-bar panes by id
    QList<unsigned> m_paneOrder;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    bool m_idlePending = false;
    bool m_idleDirty = true;
    bool m_destroyed = false;
};

} // namespace platform::fx
