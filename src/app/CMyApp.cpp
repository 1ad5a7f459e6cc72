#include "app/CMyApp.h"

#include "dialogs/AboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CRecoveryKeeper.h"
#include "doc/CMyDoc.h"
#include "view/CMyView.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/SettingsPath.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

using platform::toQString;

// A switch begins with '-'; "/p" and "/pt" are taken as switches too, for habit's sake,
// while any other argument beginning with '/' is an absolute path.
bool isSwitch(const QString& arg, QString* name)
{
    if (arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
        *name = arg.mid(1);
        return true;
    }
    if (arg == QLatin1String("/p") || arg == QLatin1String("/pt")) {
        *name = arg.mid(1);
        return true;
    }
    return false;
}

} // namespace

CMyApp::CMyApp(QStringList arguments) : m_arguments(std::move(arguments)) {}

CMyApp::~CMyApp() = default;

CMyApp::CommandLine CMyApp::ParseCommandLine(const QStringList& arguments)
{
    CommandLine cmd;
    bool printTo = false;
    int paramsAfterPrintTo = 0;
    for (const QString& arg : arguments) {
        QString name;
        if (isSwitch(arg, &name)) {
            // Compared with exact case.
            if (name == QLatin1String("p")) {
                cmd.action = CommandLine::Action::Print;
            } else if (name == QLatin1String("pt")) {
                cmd.action = CommandLine::Action::PrintTo;
                printTo = true;
            }
            continue;
        }
        if (cmd.fileName.isEmpty()) {
            cmd.fileName = arg;
            if (cmd.action == CommandLine::Action::New)
                cmd.action = CommandLine::Action::Open;
            continue;
        }
        if (printTo) {
            switch (paramsAfterPrintTo++) {
            case 0: cmd.printerName = arg; break;
            case 1: cmd.driverName = arg; break;
            case 2: cmd.portName = arg; break;
            default: break;
            }
        }
    }
    // A print switch without a file name has nothing to print: a new text, as without it.
    if (cmd.fileName.isEmpty())
        cmd.action = CommandLine::Action::New;
    return cmd;
}

bool CMyApp::initInstance()
{
    setProfilePath(platform::profile::GetSettingsFilePath("quillet"));
    loadStdProfileSettings(4);

    const CommandLine cmd = ParseCommandLine(m_arguments);
    // A file printed from the command line is printed as it is on disk.
    const bool printing = cmd.action == CommandLine::Action::Print ||
                          cmd.action == CommandLine::Action::PrintTo;
    addDocTemplate(DocTemplate{
        [] { return static_cast<platform::fx::Document*>(new CMyDoc); },
        [printing](platform::fx::Document* doc) -> platform::fx::Frame* {
            auto* frame = new CMainFrame(static_cast<CMyDoc*>(doc));
            if (!frame->create()) {
                delete frame;
                return nullptr;
            }
            frame->Recovery()->SetOffering(!printing);
            return frame;
        },
    });

    switch (cmd.action) {
    case CommandLine::Action::New:
        if (!newDocument())
            return false;
        break;
    case CommandLine::Action::Open:
        if (!openDocumentFile(cmd.fileName))
            return false;
        break;
    case CommandLine::Action::Print:
    case CommandLine::Action::PrintTo:
        // The file is printed without the window and the program ends; the exit status
        // says whether it was printed.
        if (openDocumentFile(cmd.fileName) && PrintFromCommandLine(cmd))
            setStartupExitCode(0);
        return false;
    }

    auto* frame = static_cast<CMainFrame*>(mainFrame());
    if (frame->StartsMaximized())
        frame->showMaximized();
    else
        frame->show();
    m_shown = true;
    frame->setAcceptDrops(true);
    AnnounceUnwritableSettings();
    // Records that a program which died left, offered once the window is there to show them.
    if (cmd.action == CommandLine::Action::New)
        frame->Recovery()->OfferAtStart();
    return true;
}

bool CMyApp::PrintFromCommandLine(const CommandLine& cmd)
{
    auto message = [](unsigned id, const QString& arg = {}) {
        QString text = toQString(res::loadString(id));
        if (!arg.isNull())
            text = text.arg(arg);
        platform::fx::showMessage(nullptr, text, platform::fx::MsgIcon::Exclamation);
        return false;
    };
    const bool named = cmd.action == CommandLine::Action::PrintTo && !cmd.printerName.isEmpty();
    const QPrinterInfo info = PrinterFor(cmd);
    if (info.isNull()) {
        if (named)
            return message(res::IDP_PRINT_UNKNOWN_PRINTER, cmd.printerName);
        return message(res::IDP_PRINT_NO_PRINTER);
    }
    auto* frame = static_cast<CMainFrame*>(mainFrame());
    auto* view = frame ? dynamic_cast<CMyView*>(frame->view()) : nullptr;
    if (!view)
        return false;
    QPrinter& printer = CMyView::CurrentPrinter();
    printer.setPrinterName(info.printerName());
    return view->PrintPages(printer);
}

QPrinterInfo CMyApp::PrinterFor(const CommandLine& cmd)
{
    // Driver and port name nothing here; the printer is found by its name alone. A "pt"
    // that names no printer prints on the default one, as "p" does.
    if (cmd.action == CommandLine::Action::PrintTo && !cmd.printerName.isEmpty())
        return QPrinterInfo::printerInfo(cmd.printerName);
    return QPrinterInfo::defaultPrinter();
}

void CMyApp::OnAppAbout()
{
    CAboutDlg dialog(mainFrame());
    platform::fx::UiHost::current().runModal(dialog);
}

const platform::fx::CommandMap& CMyApp::classCommands()
{
    static const platform::fx::CommandEntry entries[] = {
        platform::fx::onCommand<&CMyApp::OnAppAbout>(res::ID_APP_ABOUT),
    };
    static const platform::fx::CommandMap map{&App::classCommands(), entries};
    return map;
}
