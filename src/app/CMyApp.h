#pragma once
// The application: start-up (settings file, recent files, the document type, the command
// line) and the About box.

#include "platform/fx/App.h"

#include <QPrinterInfo>
#include <QStringList>

class CMyApp : public platform::fx::App {
    Q_OBJECT
public:
    // arguments: the command line without the program's name.
    explicit CMyApp(QStringList arguments);
    ~CMyApp() override;

    bool initInstance() override;
    void OnAppAbout();
    // Once the window is up: when the settings file can be neither read nor written, says
    // that this run's settings will not be kept.
    void AnnounceUnwritableSettings();

    static const platform::fx::CommandMap& classCommands();
    const platform::fx::CommandMap& commandMap() const override { return classCommands(); }

    // What the command line asks for.
    struct CommandLine {
        enum class Action { New, Open, Print, PrintTo };
        Action action = Action::New;
        QString fileName;
        QString printerName, driverName, portName;
    };
    static CommandLine ParseCommandLine(const QStringList& arguments);
    // The printer a print request of the command line goes to: the one "pt" names, else the
    // default printer; a null printer when there is none such.
    static QPrinterInfo PrinterFor(const CommandLine& cmd);

    // Whether the main window was ever shown (start-up may end before).
    bool mainWindowShown() const { return m_shown; }

private:
    // Prints the opened file on the printer the command line names (or the default);
    // a missing printer is reported. True when the pages went to the printer.
    bool PrintFromCommandLine(const CommandLine& cmd);
    QStringList m_arguments;
    bool m_shown = false;
};
