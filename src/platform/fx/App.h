#pragma once
// The application object of the framework: the settings store reached through the six
// profile operations, the recent-file list, the one document type (document, frame, view)
// and the file commands new and open. The program derives its application from it and
// supplies initInstance.

#include "platform/fx/Command.h"
#include "platform/fx/RecentFileList.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform::profile { class IniFile; }

namespace platform::fx {

// The settings section that the framework and the program keep their own values in.
inline const QString kSettingsSection = QStringLiteral("Settings");

class Document;
class Frame;

class App : public QObject, public CommandTarget {
    Q_OBJECT
public:
    App();
    ~App() override;

    static App* instance();

    // ---- settings store ----------------------------------------------------------------
    // Fixes the settings file for the rest of the run.
    void setProfilePath(const std::string& path);
    std::string profilePath() const;
    int getProfileInt(const QString& section, const QString& key, int defaultValue) const;
    QString getProfileString(const QString& section, const QString& key,
                             const QString& defaultValue = {}) const;
    std::optional<QByteArray> getProfileBinary(const QString& section, const QString& key) const;
    bool writeProfileInt(const QString& section, const QString& key, int value);
    bool writeProfileString(const QString& section, const QString& key, const QString& value);
    bool writeProfileBinary(const QString& section, const QString& key, const QByteArray& bytes);
    // The settings file itself, for lists kept as whole sections; null before
    // setProfilePath.
    profile::IniFile* profileFile() const { return m_profile.get(); }

    // ---- recent files and standard settings ----------------------------------------------
    // Reads the recent-file list ("Recent File List", File1..FileN) and "PreviewPages".
    void loadStdProfileSettings(int recentCount);
    // Writes them back: the list section whole, "PreviewPages" only when not 0.
    void saveStdProfileSettings();
    RecentFileList* recentFiles() { return m_recent.get(); }
    void addToRecentFileList(const QString& path);
    int previewPages() const { return m_previewPages; }
    void setPreviewPages(int pages) { m_previewPages = pages; }

    // ---- the document type ------------------------------------------------------------
    struct DocTemplate {
        std::function<Document*()> createDocument;
        // Creates the frame (with its view) for the document; nullptr when that failed.
        std::function<Frame*(Document*)> createFrame;
    };
    void addDocTemplate(DocTemplate docTemplate) { m_template = std::move(docTemplate); }
    Document* document() const { return m_document; }
    Frame* mainFrame() const { return m_frame; }

    // A new empty document (creating the document and frame the first time).
    bool newDocument();
    // Opens path as the document; false when it could not be opened.
    bool openDocumentFile(const QString& path);

    // ---- running ----------------------------------------------------------------------
    // Start-up; false ends the program at once.
    virtual bool initInstance() = 0;
    virtual int exitInstance();
    // initInstance, the event loop, exitInstance; returns the exit code.
    int run();
    // The end asked for from outside (logout, a signal): the main window closes as by its
    // close box, offering a modified text for saving; false when the user chose to go on.
    bool closeOnRequest();
    // The exit code when start-up ends the program (1 unless a start-up that did its whole
    // job, such as printing from the command line, says 0).
    void setStartupExitCode(int code) { m_startupExitCode = code; }

    // Commands: new, open, the recent files, exit.
    void onFileNew();
    void onFileOpen();
    void onAppExit();
    // The recent file with the command's number; an entry that no longer opens leaves the
    // list.
    void onFileMru(unsigned id);
    void onUpdateFileMru(CmdUI& ui);
    static const CommandMap& classCommands();
    const CommandMap& commandMap() const override { return classCommands(); }

protected:
    // The first document and frame, made at the first new or open.
    bool ensureDocumentAndFrame();

private:
    std::unique_ptr<profile::IniFile> m_profile;
    std::unique_ptr<RecentFileList> m_recent;
    int m_recentCount = 0;
    int m_previewPages = 0;
    DocTemplate m_template;
    Document* m_document = nullptr;
    Frame* m_frame = nullptr;
    int m_startupExitCode = 1;
};

} // namespace platform::fx
