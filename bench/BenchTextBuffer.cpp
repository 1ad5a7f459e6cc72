// TextBuffer on the working text: loading it, typing into it, and a forward walk of
// replacements such as Replace All makes.

#include "WorkingText.h"

#include "platform/editctl/TextBuffer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using platform::TextBuffer;

// The whole decoded text into a buffer, line index included.
void BM_SetText(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    TextBuffer buffer;
    for (auto _ : state) {
        buffer.setText(text);
        benchmark::DoNotOptimize(buffer.lineCount());
    }
    state.counters["units"] = static_cast<double>(buffer.length());
    state.counters["lines"] = buffer.lineCount();
    state.counters["bytesPerUnit"] =
        static_cast<double>(buffer.memoryBytes()) / static_cast<double>(buffer.length());
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// One keystroke in the middle of the text, followed by the line queries the status bar and
// the widget make after it.
void BM_TypeInMiddle(benchmark::State& state)
{
    TextBuffer buffer;
    buffer.setText(bench::workingTextUtf16());
    buffer.setSel(buffer.length() / 2, buffer.length() / 2);
    for (auto _ : state) {
        buffer.replaceSel(u"\u3042");
        const int line = buffer.lineFromChar(-1);
        benchmark::DoNotOptimize(buffer.lineIndex(line) + buffer.lineLength(-1));
    }
}
BENCHMARK(BM_TypeInMiddle)->Unit(benchmark::kMicrosecond)->Repetitions(9)
    ->ReportAggregatesOnly();

// The first keystroke after the caret jumped half the text away: the gap and the pending
// line shift both move that far. This is the worst single keystroke, not the typical one.
void BM_TypeAfterCaretJump(benchmark::State& state)
{
    TextBuffer buffer;
    buffer.setText(bench::workingTextUtf16());
    bool low = false;
    for (auto _ : state) {
        low = !low;
        const int pos = low ? buffer.length() / 4 : buffer.length() * 3 / 4;
        buffer.setSel(pos, pos);
        buffer.replaceSel(u"x");
        benchmark::DoNotOptimize(buffer.lineFromChar(-1));
    }
}
BENCHMARK(BM_TypeAfterCaretJump)->Unit(benchmark::kMicrosecond)->Repetitions(9)
    ->ReportAggregatesOnly();

// 50,000 steps of select-then-replace walking from the start to the end of the text, as
// Replace All does; some of the selections cut a CR LF in two.
void BM_ReplaceForward(benchmark::State& state)
{
    constexpr int kSteps = 50000;
    const std::u16string& text = bench::workingTextUtf16();
    const int stride = static_cast<int>(text.size()) / kSteps;
    const std::u16string replacement = u"\u7f6e\u63db\u5f8c";  // one unit longer than replaced
    TextBuffer buffer;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.setText(text);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) {
            const int start = step * (stride + 1);  // each step made the text one unit longer
            buffer.setSel(start, start + 2);
            buffer.replaceSel(replacement);
        }
        benchmark::DoNotOptimize(buffer.lineCount());
    }
}
BENCHMARK(BM_ReplaceForward)->Unit(benchmark::kMillisecond)->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace
