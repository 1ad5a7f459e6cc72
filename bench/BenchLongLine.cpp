// The edit control on one very long line: a million units of the Japanese working text with a
// lone LF every 30 to 60 units (a file from another system), so the whole text is one line.
// Every benchmark goes through the real control and includes the repaint: of the whole window
// where a step changes all of it, else of what the control marks as changed, painted as the
// event loop paints it.
// Counters: rss_mb is the process's resident memory after the run.
#include "WorkingText.h"

#include "platform/editctl/EditControl.h"

#include <QApplication>
#include <QFont>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kLongLineUnits = 1000000;

QFont benchFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSize(12);
    return font;
}

const std::u16string& longLineText()
{
    static const std::u16string text = [] {
        std::u16string prose;
        for (char16_t c : bench::workingTextUtf16()) {
            if (c != u'\r' && c != u'\n')
                prose += c;
        }
        std::mt19937 rng(20261208u);
        std::u16string result;
        result.reserve(kLongLineUnits);
        size_t from = 0;
        while (result.size() < kLongLineUnits) {
            const size_t run = 30 + rng() % 31;
            for (size_t i = 0; i < run && result.size() < kLongLineUnits; ++i, from = (from + 1) % prose.size())
                result += prose[from];
            if (result.size() < kLongLineUnits)
                result += u'\n';
        }
        return result;
    }();
    return text;
}

double rssMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

void prepare(platform::EditControl& edit, const std::u16string& text)
{
    edit.setFont(benchFont());
    edit.resize(800, 600);
    edit.show();
    edit.setFocus();
    QApplication::processEvents();
    edit.setText(text);
    edit.viewport()->repaint();
}

// Repaints the whole window: for steps that change all of it.
void paint(platform::EditControl& edit)
{
    edit.viewport()->repaint();
}

// Lets the control repaint what the step marked as changed, as the event loop does.
void paintPending()
{
    QApplication::processEvents();
}

void press(platform::EditControl& edit, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString())
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&edit, &event);
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times each iteration by hand and reports their median too: a keystroke now and then
// re-cuts a piece or a row more than the usual one.
template <typename Step>
void timeEach(benchmark::State& state, Step step)
{
    std::vector<double> samples;
    std::vector<double> cpuSamples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = threadCpuSeconds();
        step();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(spent.count());
        samples.push_back(spent.count());
        cpuSamples.push_back(threadCpuSeconds() - cpuStart);
    }
    const auto median = [](std::vector<double>& values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2] * 1000;
    };
    state.counters["median_ms"] = median(samples);
    // The machine may be shared: the thread's own CPU time shows the control's cost alone.
    state.counters["median_cpu_ms"] = median(cpuSamples);
}

void BM_LongLineOpen(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, u"");
    for (auto _ : state) {
        edit.setText(longLineText());
        paint(edit);
    }
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineOpen)->Unit(benchmark::kMillisecond);

void BM_LongLineKeystroke(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    const int middle = edit.textLength() / 2;
    edit.setSel(middle, middle);
    edit.scrollCaret();
    paint(edit);
    timeEach(state, [&] {
        press(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        paintPending();
    });
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_LongLineEnd(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    for (auto _ : state) {
        state.PauseTiming();
        edit.setSel(0, 0);
        edit.scrollCaret();
        paint(edit);
        state.ResumeTiming();
        press(edit, Qt::Key_End);
        paint(edit);
    }
    state.counters["scroll_x"] = edit.horizontalScrollBar()->value();
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineEnd)->Unit(benchmark::kMillisecond);

void BM_LongLineSelectAll(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    for (auto _ : state) {
        edit.selectAll();
        paint(edit);
        state.PauseTiming();
        edit.setSel(0, 0);
        paint(edit);
        state.ResumeTiming();
    }
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineSelectAll)->Unit(benchmark::kMillisecond);

void BM_LongLineWrapOn(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    int rows = 0;
    for (auto _ : state) {
        edit.setWordWrap(true);
        rows = edit.lineCount();
        paint(edit);
        state.PauseTiming();
        edit.setWordWrap(false);
        paint(edit);
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineWrapOn)->Unit(benchmark::kMillisecond);

void BM_LongLineWrapKeystroke(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    edit.setWordWrap(true);
    const int middle = edit.textLength() / 2;
    edit.setSel(middle, middle);
    edit.scrollCaret();
    paint(edit);
    timeEach(state, [&] {
        press(edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        benchmark::DoNotOptimize(edit.lineCount());
        paintPending();
    });
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_LongLineWrapKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A composition in the middle, changed at every step, with a caret-rectangle query.
void composeInTheMiddle(benchmark::State& state, bool wrap, const std::vector<QString>& preedits)
{
    platform::EditControl edit;
    prepare(edit, longLineText());
    edit.setWordWrap(wrap);
    const int middle = edit.textLength() / 2;
    edit.setSel(middle, middle);
    edit.scrollCaret();
    if (wrap) {
        // The caret's row in the middle of the window, so that rows the composition
        // re-flows are drawn too.
        edit.verticalScrollBar()->setValue(edit.lineFromChar(middle) - edit.verticalScrollBar()->pageStep() / 2);
    }
    paint(edit);
    size_t turn = 0;
    for (auto _ : state) {
        QInputMethodEvent compose(preedits[turn++ % preedits.size()], {});
        QApplication::sendEvent(&edit, &compose);
        benchmark::DoNotOptimize(edit.inputMethodQuery(Qt::ImCursorRectangle));
        paintPending();
    }
    QInputMethodEvent done;
    QApplication::sendEvent(&edit, &done);
    state.counters["rss_mb"] = rssMegabytes();
}

// A candidate of the same length at every step.
void BM_LongLineCompose(benchmark::State& state)
{
    composeInTheMiddle(state, false, {QStringLiteral("にほん"), QStringLiteral("日本語")});
}
BENCHMARK(BM_LongLineCompose)->Unit(benchmark::kMillisecond);

// With wrapping, a composition typed on one kana at a time: at every step it re-flows the
// rows after it (in this text they line up again only far below), and those in the window
// are drawn again.
void BM_LongLineWrapCompose(benchmark::State& state)
{
    composeInTheMiddle(state, true, {QStringLiteral("に"), QStringLiteral("にほ"), QStringLiteral("にほん"),
                                     QStringLiteral("にほんご")});
}
BENCHMARK(BM_LongLineWrapCompose)->Unit(benchmark::kMillisecond);

// The working text as it is (20,000 CR LF lines): Ctrl+End from the top.
void BM_ManyLinesCtrlEnd(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, bench::workingTextUtf16());
    for (auto _ : state) {
        state.PauseTiming();
        press(edit, Qt::Key_Home, Qt::ControlModifier);
        paint(edit);
        state.ResumeTiming();
        press(edit, Qt::Key_End, Qt::ControlModifier);
        paint(edit);
    }
    state.counters["rss_mb"] = rssMegabytes();
}
BENCHMARK(BM_ManyLinesCtrlEnd)->Unit(benchmark::kMillisecond);

} // namespace
