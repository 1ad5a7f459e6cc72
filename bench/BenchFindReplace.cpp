// Find, replace and the word-wrap switch on the 1 MiB working text, in the real view of a
// started program on the offscreen platform. Boxes go to a scripted host (a failed search
// shows one), settings to a fresh folder.
#include "WorkingText.h"

#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "doc/CMyDoc.h"
#include "edit/FindReplaceState.h"
#include "platform/fx/ScriptedUiHost.h"
#include "view/CMyView.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A started program with its window shown, ended as run() ends it.
class Program {
public:
    Program()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_app = std::make_unique<CMyApp>(QStringList());
        m_ok = m_app->initInstance();
        QCoreApplication::processEvents();
    }
    ~Program()
    {
        auto* frame = static_cast<CMainFrame*>(m_app->mainFrame());
        auto* document = m_app->document();
        if (frame)
            frame->destroyWindow();
        m_app->exitInstance();
        delete frame;
        delete document;
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        findReplaceState() = FindReplaceState{};
    }
    bool ok() const { return m_ok && view(); }
    CMyView* view() const
    {
        auto* frame = static_cast<CMainFrame*>(m_app->mainFrame());
        return frame ? frame->GetView() : nullptr;
    }
    // A new text in the view, as an opened document gets it: empty history, caret at 0.
    void load(const std::u16string& text)
    {
        view()->setText(text);
        view()->onInitialUpdate();
        view()->viewport()->repaint();
    }

private:
    QTemporaryDir m_config;
    platform::fx::ScriptedUiHost m_host;
    std::unique_ptr<CMyApp> m_app;
    bool m_ok = false;
};

// Six characters of the working text's own kinds that never occur in it.
const QString kAbsent = QStringLiteral("検索置換漢字");

void findNoMatch(benchmark::State& state, bool matchCase)
{
    Program program;
    if (!program.ok())
        return state.SkipWithError("the program did not start");
    CMyView* view = program.view();
    program.load(bench::workingTextUtf16());
    if (bench::workingTextUtf16().find(kAbsent.toStdU16String()) != std::u16string::npos)
        return state.SkipWithError("the search string occurs");
    findReplaceState().strFind = kAbsent;
    findReplaceState().bCase = matchCase;
    for (auto _ : state) {
        view->setSel(0, 0);
        view->OnEditFindNext();  // F3: the whole text, then the not-found box
    }
    int start = -1, end = -1;
    view->getSel(&start, &end);
    if (start != 0 || end != 0)
        state.SkipWithError("something was found");
}

void BM_FindNoMatch(benchmark::State& state)
{
    findNoMatch(state, false);
}
BENCHMARK(BM_FindNoMatch)->Unit(benchmark::kMillisecond);

void BM_FindNoMatchCase(benchmark::State& state)
{
    findNoMatch(state, true);
}
BENCHMARK(BM_FindNoMatchCase)->Unit(benchmark::kMillisecond);

// Shift+F3 from the end of the text to the one match, 100 units from the start.
void BM_FindPreviousFromEnd(benchmark::State& state)
{
    Program program;
    if (!program.ok())
        return state.SkipWithError("the program did not start");
    CMyView* view = program.view();
    std::u16string text = bench::workingTextUtf16();
    text.replace(100, size_t(kAbsent.size()), kAbsent.toStdU16String());
    program.load(text);
    findReplaceState().strFind = kAbsent;
    for (auto _ : state) {
        view->setSel(view->textLength(), view->textLength());
        view->OnEditFindPrevious();
    }
    int start = -1;
    view->getSel(&start, nullptr);
    if (start != 100)
        state.SkipWithError("the match was not found");
}
BENCHMARK(BM_FindPreviousFromEnd)->Unit(benchmark::kMillisecond);

// The working text with 50,000 occurrences of a two-character word spread over it, each
// written over two characters of a line (line ends stay whole).
const std::u16string& textWithWords()
{
    static const std::u16string text = [] {
        std::u16string t = bench::workingTextUtf16();
        const size_t step = t.size() / 50001;
        int placed = 0;
        for (size_t at = step; placed < 50000 && at + 2 < t.size(); at += step) {
            size_t p = at;
            while (p + 2 < t.size() && (t[p] == u'\r' || t[p] == u'\n' || t[p + 1] == u'\r' || t[p + 1] == u'\n'))
                ++p;
            t[p] = u'Ｑ';
            t[p + 1] = u'ｑ';
            ++placed;
        }
        return t;
    }();
    return text;
}

// Replace All of the 50,000 words by three characters: the search, the replacements with
// their undo records, and the one repaint at the end.
void replaceAll(Program& program)
{
    program.view()->OnReplaceAll(QStringLiteral("ＱＱ"), QStringLiteral("ＲＲＲ"), false);
    program.view()->viewport()->repaint();
}

void BM_ReplaceAll50k(benchmark::State& state)
{
    Program program;
    if (!program.ok())
        return state.SkipWithError("the program did not start");
    CMyView* view = program.view();
    for (auto _ : state) {
        state.PauseTiming();
        program.load(textWithWords());
        state.ResumeTiming();
        replaceAll(program);
    }
    const int records = view->undoHistory().count();
    state.counters["records"] = records;
    state.counters["historyMB"] = double(view->undoHistory().memoryBytes()) / (1024.0 * 1024.0);
    if (records != 100000 || view->textLength() != int(textWithWords().size()) + 50000)
        state.SkipWithError("not every word was replaced");
}
BENCHMARK(BM_ReplaceAll50k)->Unit(benchmark::kMillisecond)->Iterations(5);

// One undo step after that Replace All (redone, untimed, before the next).
void BM_UndoAfterReplaceAll(benchmark::State& state)
{
    Program program;
    if (!program.ok())
        return state.SkipWithError("the program did not start");
    CMyView* view = program.view();
    program.load(textWithWords());
    replaceAll(program);
    for (auto _ : state) {
        view->OnEditUndo();
        state.PauseTiming();
        view->OnEditRedo();
        state.ResumeTiming();
    }
    if (view->undoHistory().top() != 100000)
        state.SkipWithError("the history is not where it was");
}
BENCHMARK(BM_UndoAfterReplaceAll)->Unit(benchmark::kMicrosecond);

// Word wrap switched on (argument 1) or off (0) with the first paint after it.
void BM_WordWrapToggle(benchmark::State& state)
{
    Program program;
    if (!program.ok())
        return state.SkipWithError("the program did not start");
    CMyView* view = program.view();
    program.load(bench::workingTextUtf16());
    const bool on = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        view->SetWordWrap(!on);
        view->viewport()->repaint();
        state.ResumeTiming();
        view->OnWordWrap();
        view->viewport()->repaint();
    }
    if (view->IsWordWrap() != on)
        state.SkipWithError("the switch did not happen");
}
BENCHMARK(BM_WordWrapToggle)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
