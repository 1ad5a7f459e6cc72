// The edit control on one very long line: a million units of the Japanese working text with a
// lone LF every 30 to 60 units (a file from another system), so the whole text is one line.
// Every benchmark goes through the real control and includes the repaint: of the whole window
// where a step changes all of it, else of what the control marks as changed, painted as the
// event loop paints it.
// Counters: rss_mb is the process's resident memory after the run.
#include "LongLineControl.h"

#include <QInputMethodEvent>
#include <QScrollBar>

namespace {

using namespace bench;

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
