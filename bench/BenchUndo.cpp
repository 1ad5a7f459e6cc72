// The edit view's recording and its history on the working text: a long run typed through
// the keyboard path, and a history of mixed records unwound and rewound.
#include "WorkingText.h"

#include "edit/CMyEditView.h"
#include "res/Resource.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A shown view, created as the frame creates it, holding the working text.
void prepare(CMyEditView& view)
{
    view.OnCreate();
    view.resize(800, 600);
    view.show();
    view.setText(bench::workingTextUtf16());
    view.onInitialUpdate();
    QApplication::processEvents();
}

// 100,000 printable characters typed at the end of the text, each a key press that goes
// through the view's recording and the control's insertion; the run is one record.
void BM_TypeRun(benchmark::State& state)
{
    const int kKeys = static_cast<int>(state.range(0));
    CMyEditView view;
    prepare(view);
    const int end = view.textLength();
    std::vector<std::unique_ptr<QKeyEvent>> letters;
    for (char c = 'a'; c <= 'z'; ++c)
        letters.push_back(std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A + (c - 'a'),
                                                      Qt::NoModifier, QString(QChar(c))));
    for (auto _ : state) {
        state.PauseTiming();
        view.setText(bench::workingTextUtf16());
        view.onInitialUpdate();
        view.setSel(end, end);
        QApplication::processEvents();
        state.ResumeTiming();
        for (int i = 0; i < kKeys; ++i)
            QApplication::sendEvent(&view, letters[i % 26].get());
        QApplication::processEvents();   // the deferred repaint and selection updates
    }
    if (view.undoHistory().count() != 1 || view.textLength() != end + kKeys)
        state.SkipWithError("the run was not recorded as one record");
    state.counters["records"] = view.undoHistory().count();
    state.counters["historyBytes"] = static_cast<double>(view.undoHistory().memoryBytes());
}
BENCHMARK(BM_TypeRun)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1)
    ->ReportAggregatesOnly();

// Makes 10,000 records of every kind at random places of the text: typed words, line
// ends, Backspace and Delete, replaced selections, pastes of a few lines.
void makeMixedHistory(CMyEditView& view, int records)
{
    std::mt19937 rng(4242u);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    while (view.undoHistory().count() < records) {
        const int pos = pick(view.textLength());
        switch (pick(6)) {
        case 0:
            view.setSel(pos, pos);
            for (int i = 0; i < 6; ++i) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("漢"));
                QApplication::sendEvent(&view, &key);
            }
            break;
        case 1: {
            view.setSel(pos, pos);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(&view, &enter);
            break;
        }
        case 2: {
            view.setSel(pos, pos);
            QKeyEvent del(QEvent::KeyPress, pick(2) ? Qt::Key_Delete : Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(&view, &del);
            break;
        }
        case 3:
            view.setSel(pos, pos + pick(40));
            view.OnEditClear();
            break;
        case 4:
            view.setSel(pos, pos + pick(20));
            view.ReplaceSelWithUndo(QStringLiteral("置換後のテキスト"));
            break;
        default:
            view.setSel(pos, pos);
            view.ReplaceSelWithUndo(QStringLiteral("貼り付け\r\npasted line\r\n"));
            break;
        }
    }
}

// The 10,000 records undone one command at a time, then redone; each command also brings
// the caret into view. Reports the milliseconds of each way and the history's bytes.
void BM_UndoRedoAll(benchmark::State& state)
{
    constexpr int kRecords = 10000;
    CMyEditView view;
    prepare(view);
    view.setSel(0, 0);
    makeMixedHistory(view, kRecords);
    const int records = view.undoHistory().count();
    const std::u16string edited = view.text();
    QApplication::processEvents();

    double undoMs = 0;
    double redoMs = 0;
    std::size_t appliedBytes = view.undoHistory().memoryBytes();
    std::size_t undoneBytes = 0;
    for (auto _ : state) {
        const Clock::time_point undoStart = Clock::now();
        for (int i = 0; i < records; ++i)
            view.OnEditUndo();
        QApplication::processEvents();
        undoMs += millisecondsSince(undoStart);
        undoneBytes = view.undoHistory().memoryBytes();

        const Clock::time_point redoStart = Clock::now();
        for (int i = 0; i < records; ++i)
            view.OnEditRedo();
        QApplication::processEvents();
        redoMs += millisecondsSince(redoStart);
    }
    if (view.undoHistory().top() != records || view.text() != edited)
        state.SkipWithError("undo and redo did not restore the edited text");
    const double n = static_cast<double>(state.iterations());
    state.counters["records"] = records;
    state.counters["undoMs"] = undoMs / n;
    state.counters["redoMs"] = redoMs / n;
    state.counters["bytesApplied"] = static_cast<double>(appliedBytes);
    state.counters["bytesUndone"] = static_cast<double>(undoneBytes);
}
BENCHMARK(BM_UndoRedoAll)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
