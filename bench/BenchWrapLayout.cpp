// Display rows of the whole working text with word wrap on: the cost of turning wrap on (or
// of a new window width) for the largest file the program opens, and of one keystroke after.
#include "WorkingText.h"

#include "platform/editctl/EditControl.h"

#include <QApplication>
#include <QFont>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWrapWidth = 800;

QFont benchFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSize(12);
    return font;
}

// A shown control holding the working text, sized so that its text is `width` pixels wide.
void prepare(platform::EditControl& edit, int width)
{
    edit.setFont(benchFont());
    edit.setText(bench::workingTextUtf16());
    edit.resize(width + 100, 600);
    edit.show();
    QApplication::processEvents();
    edit.resize(edit.width() + width - edit.formattingRect().width(), 600);
    QApplication::processEvents();
}

// At 800 pixels every line of the working text fits one row; at 400 most lines wrap and
// must be shaped, the dearer case.
void BM_WrapLayout(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, static_cast<int>(state.range(0)));
    int rows = 0;
    for (auto _ : state) {
        edit.setWordWrap(true);
        rows = edit.lineCount();   // every row of every line
        benchmark::DoNotOptimize(rows);
        state.PauseTiming();
        edit.setWordWrap(false);
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["lines"] = edit.buffer().lineCount();
    state.counters["width"] = edit.formattingRect().width();
}
BENCHMARK(BM_WrapLayout)->Arg(kWrapWidth)->Arg(400)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One character typed in the middle of the wrapped text, with the row count asked after it
// as the status bar does.
void BM_WrapTypeKeystroke(benchmark::State& state)
{
    platform::EditControl edit;
    prepare(edit, kWrapWidth);
    edit.setWordWrap(true);
    edit.lineCount();
    const int middle = edit.lineIndex(edit.lineCount() / 2);
    for (auto _ : state) {
        edit.setSel(middle, middle);
        edit.replaceSel(u"x");
        benchmark::DoNotOptimize(edit.lineCount());
        edit.setSel(middle, middle + 1);
        edit.clear();
        benchmark::DoNotOptimize(edit.lineCount());
    }
}
BENCHMARK(BM_WrapTypeKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
