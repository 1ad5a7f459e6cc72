#pragma once
// The edit control on one very long line, for the benchmarks: a million units of the Japanese
// working text with a lone LF every 30 to 60 units (a file from another system), so the
// whole text is one line; a shown control of 800 x 600 pixels, key presses, painting, and
// timing of each step.

#include "WorkingText.h"

#include "platform/editctl/EditControl.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline constexpr size_t kLongLineUnits = 1000000;

inline QFont benchFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSize(12);
    return font;
}

inline const std::u16string& longLineText()
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

inline double rssMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

inline void prepare(platform::EditControl& edit, const std::u16string& text)
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
inline void paint(platform::EditControl& edit)
{
    edit.viewport()->repaint();
}

// Lets the control repaint what the step marked as changed, as the event loop does.
inline void paintPending()
{
    QApplication::processEvents();
}

inline void press(platform::EditControl& edit, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString())
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&edit, &event);
}

inline double threadCpuSeconds()
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

} // namespace bench
