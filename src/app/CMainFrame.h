#pragma once
// The main window: menus, toolbar and status bar around the one view, the window placement
// kept between runs, and the readme command. The clipboard history and the template menu
// live here too.

#include "platform/fx/Frame.h"

#include <QStringList>

class CMyDoc;
class CMyView;

class CMainFrame : public platform::fx::Frame {
    Q_OBJECT
public:
    explicit CMainFrame(CMyDoc* document);
    ~CMainFrame() override;

    CMyView* GetView() const { return m_pView; }

    // Reads "Settings"/"Window" and places the window; tells whether it should come up
    // maximized.
    bool RestoreWindowPlacement();
    void SaveWindowPlacement();
    void OnReadme();

    static const platform::fx::CommandMap& classCommands();
    const platform::fx::CommandMap& commandMap() const override { return classCommands(); }

    // The readme file beside the program: its path with the extension ".htm".
    static QString ReadmePath();

    // The clipboard history, newest first, at most 100 entries.
    QStringList m_clipHistory;
    // One past the last command number given to a template menu item.
    unsigned m_nTemplateIdEnd = 200;

protected:
    bool OnCreate() override;
    void onDestroy() override;

private:
    CMyView* m_pView = nullptr;
};
