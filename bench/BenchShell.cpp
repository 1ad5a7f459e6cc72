// The application shell's two waits the user feels: opening the largest file the program
// takes until its text is painted, and starting the program until its empty window is
// painted. Settings go to a fresh folder; no dialog can appear (a scripted host answers).
#include "WorkingText.h"

#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "doc/CMyDoc.h"
#include "platform/fx/ScriptedUiHost.h"
#include "platform/profile/Profile.h"
#include "platform/profile/SettingsPath.h"
#include "view/CMyView.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One settings folder and one copy of the working text for the whole run.
struct ShellBenchEnvironment {
    QTemporaryDir config;
    QTemporaryDir state;
    QTemporaryDir files;
    QString workingTextPath;

    ShellBenchEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        // The start-up looks through an empty recovery folder, never the user's.
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        // The language question would stop every open; the working text is Shift_JIS.
        platform::profile::IniFile settings(platform::profile::GetSettingsFilePath("quillet"));
        settings.writeInt(u"Settings", u"LangSelect", 0);
        settings.writeInt(u"Settings", u"CodePage", 932);
        workingTextPath = files.filePath(QStringLiteral("working.txt"));
        QFile file(workingTextPath);
        if (file.open(QIODevice::WriteOnly)) {
            const std::string& bytes = bench::workingTextShiftJis();
            file.write(bytes.data(), qint64(bytes.size()));
        }
    }
};

ShellBenchEnvironment& environment()
{
    static ShellBenchEnvironment env;
    return env;
}

// A started program: initInstance done, window shown. Ends it as run() would.
class RunningProgram {
public:
    bool start()
    {
        m_app = std::make_unique<CMyApp>(QStringList());
        return m_app->initInstance();
    }
    ~RunningProgram()
    {
        if (!m_app)
            return;
        auto* frame = static_cast<CMainFrame*>(m_app->mainFrame());
        auto* document = m_app->document();
        if (frame)
            frame->destroyWindow();
        m_app->exitInstance();
        delete frame;
        delete document;
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CMyApp& app() { return *m_app; }
    CMainFrame* frame() { return static_cast<CMainFrame*>(m_app->mainFrame()); }

    // Lets the window system show the window, then paints the text area at once.
    void paint()
    {
        QCoreApplication::processEvents();
        frame()->GetView()->viewport()->repaint();
    }

private:
    std::unique_ptr<CMyApp> m_app;
};

// The open command's path for the 1,048,575-byte Shift_JIS text: read, decode, hand the
// text to the view, then the first paint of it.
void BM_OpenDocument(benchmark::State& state)
{
    ShellBenchEnvironment& env = environment();
    platform::fx::ScriptedUiHost host;
    RunningProgram program;
    if (!program.start()) {
        state.SkipWithError("the program did not start");
        return;
    }
    program.paint();
    for (auto _ : state) {
        if (!program.app().openDocumentFile(env.workingTextPath)) {
            state.SkipWithError("the working text did not open");
            break;
        }
        program.paint();
        state.PauseTiming();
        // An empty text between runs, so each open replaces a small one as at start-up.
        program.app().newDocument();
        program.paint();
        state.ResumeTiming();
    }
    CMyView* view = program.frame()->GetView();
    program.app().openDocumentFile(env.workingTextPath);
    state.counters["units"] = view->textLength();
    state.counters["lines"] = view->lineCount();
    if (!host.shown().isEmpty())
        state.SkipWithError("a box or dialog appeared");
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Start-up to the first painted empty window, inside one process: the application object,
// initInstance (settings, frame, menus, bars, view, placement) and the first paint.
void BM_StartToFirstPaint(benchmark::State& state)
{
    environment();
    platform::fx::ScriptedUiHost host;
    for (auto _ : state) {
        auto program = std::make_unique<RunningProgram>();
        if (!program->start()) {
            state.SkipWithError("the program did not start");
            break;
        }
        program->paint();
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
    if (!host.shown().isEmpty())
        state.SkipWithError("a box or dialog appeared");
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
