#pragma once
// The main window: menus, toolbar and status bar around the one view, the window placement
// kept between runs, and the readme command. The clipboard history and the template menu
// live here too.

#include "doc/ClipHistory.h"
#include "platform/fx/Frame.h"

#include <QStringList>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CMyDoc;
class CMyView;
class CRecoveryKeeper;

class CMainFrame : public platform::fx::Frame {
    Q_OBJECT
public:
    explicit CMainFrame(CMyDoc* document);
    ~CMainFrame() override;

    CMyView* GetView() const { return m_pView; }
    // The keeper of the text's recovery record (made with the view).
    CRecoveryKeeper* Recovery() const { return m_pRecovery.get(); }
    // After the view's initial update: a text taken back from its recovery record replaces
    // the file's.
    void initialUpdate() override;

    // Reads "Settings"/"Window" and places the window; tells whether it should come up
    // maximized. Runs when the frame is created, before anything can show it.
    bool RestoreWindowPlacement();
    void SaveWindowPlacement();
    // Whether the stored placement asks for the first showing to be maximized.
    bool StartsMaximized() const { return m_bStartMaximized; }
    void OnReadme();

    static const platform::fx::CommandMap& classCommands();
    const platform::fx::CommandMap& commandMap() const override { return classCommands(); }

    // The readme of the program that runs (see below).
    static QString ReadmePath();
    // The readme of programPath: the file beside it, its path with the extension ".htm",
    // else the one an installation puts in <prefix>/share/doc/quillet for a program in
    // <prefix>/bin; the path beside the program when neither is there.
    static QString ReadmePath(const std::string& programPath);

    // ---- clipboard history (CMainFrameClipboard.cpp) ------------------------------------------
    // Told of every change of the clipboard (not the selection) from here on; the text
    // already there becomes the first entry.
    void JoinClipboardViewers();
    void LeaveClipboardViewers();
    // Captures the clipboard's text, when it has any, at the head of the history.
    void OnDrawClipboard();
    // Shows the history; the chosen entry replaces the selection, undoably.
    void OnClipboardHistory();

    // ---- templates (CMainFrameTemplates.cpp) ---------------------------------------------------
    // The folder the templates live in (see doc/TemplateFiles.h).
    static std::string TemplateFolder();
    // Lists the template folder again into m_templateNames and the template menu.
    void RebuildTemplateMenu();
    // A template menu item: inserts the template it names.
    void OnTemplateItem(unsigned id);
    void OnUpdateTemplateItem(platform::fx::CmdUI& ui);
    // Reads template name and puts its text in place of the selection, undoably.
    void InsertTemplate(const std::u16string& name);
    void OnAddTemplate();
    void OnUpdateAddTemplate(platform::fx::CmdUI& ui);
    void OnOrganizeTemplates();
    void OnUpdateOrganizeTemplates(platform::fx::CmdUI& ui);

    // ---- shortcuts (CMainFrameShortcut.cpp) -----------------------------------------------------
    // The shortcut dialog over the desktop, the applications menu and "Send To".
    void OnCreateShortcut();

    // The clipboard history, newest first, at most 100 entries.
    doc::ClipHistory m_clipHistory;
    // The template names in menu order; name i belongs to command 200 + i.
    std::vector<std::u16string> m_templateNames;
    // One past the last command number given to a template menu item.
    unsigned m_nTemplateIdEnd = 200;

protected:
    bool OnCreate() override;
    void onDestroy() override;
    void onInitMenu() override;
    void showEvent(QShowEvent* event) override;

private:
    CMyView* m_pView = nullptr;
    // The names the template items show, in order; changed only with the items.
    std::vector<std::u16string> m_templateMenuNames;
    std::unique_ptr<CRecoveryKeeper> m_pRecovery;
    bool m_bStartMaximized = false;
    // A frame that was never shown (a print from the command line, a file that failed to
    // open at start-up) stores the placement it was given, maximized state included.
    bool m_bEverShown = false;
};
