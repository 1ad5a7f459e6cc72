#pragma once
// The main frame of the framework: a window with a menu bar, a toolbar and a status bar
// built from the resource tables, the document's view in the middle, and command routing:
// view, document, frame, application. Update handlers run before a menu opens and when
// the program becomes idle; an accelerator runs its command only when enabled.

#include "platform/fx/Command.h"
#include "platform/fx/CommandRouter.h"

#include <QHash>
#include <QMainWindow>
#include <span>

class QLabel;
class QMenu;
class QToolBar;

namespace res { struct MenuItem; struct Accelerator; }

namespace platform::fx {

class Document;
class View;

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
    // The view's initial update after a new or opened document, then the caption.
    void initialUpdate();
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
    QMenu* buildPopup(std::span<const res::MenuItem> items, QWidget* parent);

    bool onCommand(unsigned id) override;
    bool onUpdate(CmdUI& ui) override;

protected:
    // The program's frame adds its bars here; false aborts creation.
    virtual bool onCreate();
    // Called once before the window goes away for good (placement store and the like).
    virtual void onDestroy() {}
    // Before a top-level menu opens (after the update handlers ran).
    virtual void onInitMenuPopup(QMenu* menu) { Q_UNUSED(menu); }
    virtual void onInitMenu() {}

    // Building blocks for onCreate.
    void buildMenuBar(std::span<const res::MenuItem> items);
    bool createToolBar(std::span<const unsigned> buttons);
    bool createStatusBar(std::span<const unsigned> paneIds);
    void installAccelerators(std::span<const res::Accelerator> accelerators);
    // The caption: "<title> - <application name>".
    void updateTitle();
    // The menu items that show the recent files.
    void rebuildRecentFileMenu(QMenu* menu);

    // An action that runs command id through the routing; owner: the object it belongs to,
    // the frame when nullptr.
    QAction* makeAction(unsigned id, const QString& text, QObject* owner = nullptr);

    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // owner: where items of a menu built for one use (a context menu) belong, so that they
    // go with it; nullptr for the frame's own menus, whose actions the frame keeps.
    void fillMenu(QMenu* menu, std::span<const res::MenuItem> items, QObject* owner = nullptr);
    void showPrompt(unsigned id);
    void scheduleIdle();
    void updateKeyStatePane(CmdUI& ui);

    Document* m_document;
    View* m_view = nullptr;
    CommandRouter m_router;
    QHash<unsigned, QAction*> m_actions;      // menu and toolbar actions by command
    QHash<unsigned, QLabel*> m_panes;         // status-bar panes by id
    QList<unsigned> m_paneOrder;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    bool m_idlePending = false;
    bool m_idleDirty = true;
    bool m_destroyed = false;
};

} // namespace platform::fx
