// The edit view's recording and its undo history on the working text.
//
// BM_TypeRun and BM_UndoRedoAll measure the recording and the history on the text model,
// exactly the work the view adds to every keystroke, undo and redo. The *InView variants
// send the same input through the widget, where the edit control's own per-change layout
// and scrolling come on top; they show what a user waits for.
#include "WorkingText.h"

#include "edit/CMyEditView.h"
#include "edit/TypedCharacter.h"
#include "edit/UndoHistory.h"
#include "platform/editctl/TextBuffer.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
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

// ---- typing -------------------------------------------------------------------------------------

// What the view does for one typed unit, on the model: the control's text for it, the record
// (merged into the run), then the control's insertion.
void typeUnit(platform::TextBuffer& buffer, CUndoHistory& history, char16_t c)
{
    const std::u16string_view text = platform::TextBuffer::typedText(c);
    history.RecordDeleteSelection();
    history.RecordInsert(text, edit::extendsTypingRun(c));
    buffer.replaceSel(text);
}

// 100,000 printable characters typed at the end of the working text; one record.
void BM_TypeRun(benchmark::State& state)
{
    constexpr int kKeys = 100000;
    platform::TextBuffer buffer;
    CUndoHistory history;
    history.SetBuffer(&buffer);
    for (auto _ : state) {
        state.PauseTiming();
        buffer.setText(bench::workingTextUtf16());
        buffer.setSel(buffer.length(), buffer.length());
        history.Clear();
        state.ResumeTiming();
        for (int i = 0; i < kKeys; ++i)
            typeUnit(buffer, history, static_cast<char16_t>(u'a' + i % 26));
    }
    if (history.count() != 1 || history.records()[0].length() != kKeys)
        state.SkipWithError("the run was not recorded as one record");
    state.counters["records"] = history.count();
    state.counters["historyBytes"] = static_cast<double>(history.memoryBytes());
}
BENCHMARK(BM_TypeRun)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly();

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

// The same run as key presses on the widget, at the end of the text. The edit control lays
// out the whole growing line at every key, so the cost per key grows with the run; the
// argument is the number of keys.
void BM_TypeRunInView(benchmark::State& state)
{
    const int keys = static_cast<int>(state.range(0));
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
        for (int i = 0; i < keys; ++i)
            QApplication::sendEvent(&view, letters[static_cast<size_t>(i % 26)].get());
        QApplication::processEvents();
    }
    if (view.undoHistory().count() != 1 || view.textLength() != end + keys)
        state.SkipWithError("the run was not recorded as one record");
}
BENCHMARK(BM_TypeRunInView)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- undo and redo --------------------------------------------------------------------------

// Where the next edit goes: near the previous one, as in an editing session, with one
// jump in a hundred to anywhere; or (scattered) anywhere every time.
class EditPlaces {
public:
    EditPlaces(bool scattered, int length) : m_scattered(scattered), m_pos(length / 2) {}
    int next(int length)
    {
        if (m_scattered || pick(100) == 0)
            m_pos = pick(length);
        else
            m_pos = std::clamp(m_pos + pick(4001) - 2000, 0, length);
        return m_pos;
    }
    int pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

private:
    bool m_scattered;
    int m_pos;
    std::mt19937 m_rng{4242u};
};

// 10,000 records of every kind, as the view makes them: typed words, line ends, Backspace
// and Delete, cleared and replaced selections, pasted lines.
void makeMixedHistory(platform::TextBuffer& buffer, CUndoHistory& history, bool scattered)
{
    EditPlaces places(scattered, buffer.length());
    while (history.count() < 10000) {
        const int pos = places.next(buffer.length());
        switch (places.pick(6)) {
        case 0:
            buffer.setSel(pos, pos);
            for (char16_t c : std::u16string_view(u"変換した漢字"))
                typeUnit(buffer, history, c);
            break;
        case 1:
            buffer.setSel(pos, pos);
            typeUnit(buffer, history, u'\r');
            break;
        case 2: {
            buffer.setSel(pos, pos);
            const bool forward = places.pick(2) != 0;
            history.RecordKeyDelete(forward ? CUndoHistory::kKeyDelete : CUndoHistory::kKeyBackspace);
            if (forward)
                buffer.replace(pos, buffer.nextCharBoundary(pos), u"");
            else
                buffer.replace(buffer.prevCharBoundary(pos), pos, u"");
            break;
        }
        case 3:
            buffer.setSel(pos, pos + places.pick(40));
            history.RecordDeleteSelection();
            buffer.clearSel();
            break;
        case 4:
            buffer.setSel(pos, pos + places.pick(20));
            history.RecordDeleteSelection();
            history.RecordInsert(u"置換後のテキスト", false);
            buffer.replaceSel(u"置換後のテキスト");
            break;
        default:
            buffer.setSel(pos, pos);
            history.RecordInsert(u"貼り付け\r\npasted line\r\n", false);
            buffer.replaceSel(u"貼り付け\r\npasted line\r\n");
            break;
        }
    }
}

// 10,000 mixed records undone, then redone. Reports the milliseconds of each way and the
// bytes the history holds with every record applied and with every record undone.
// Argument 0: edits near each other, as in an editing session; 1: scattered over the text,
// so that every step moves the buffer's gap far.
void BM_UndoRedoAll(benchmark::State& state)
{
    platform::TextBuffer buffer;
    buffer.setText(bench::workingTextUtf16());
    CUndoHistory history;
    history.SetBuffer(&buffer);
    makeMixedHistory(buffer, history, state.range(0) != 0);
    const int records = history.count();
    const std::u16string edited = buffer.text();
    const std::size_t appliedBytes = history.memoryBytes();
    std::size_t undoneBytes = 0;
    double undoMs = 0;
    double redoMs = 0;
    for (auto _ : state) {
        const Clock::time_point undoStart = Clock::now();
        while (history.Undo()) {
        }
        undoMs += millisecondsSince(undoStart);
        undoneBytes = history.memoryBytes();
        const Clock::time_point redoStart = Clock::now();
        while (history.Redo()) {
        }
        redoMs += millisecondsSince(redoStart);
    }
    if (history.top() != records || buffer.text() != edited)
        state.SkipWithError("undo and redo did not restore the edited text");
    const double n = static_cast<double>(state.iterations());
    state.counters["undoMs"] = undoMs / n;
    state.counters["redoMs"] = redoMs / n;
    state.counters["bytesApplied"] = static_cast<double>(appliedBytes);
    state.counters["bytesUndone"] = static_cast<double>(undoneBytes);
    state.counters["records"] = records;
    state.counters["bytesPerRecord"] =
        static_cast<double>(std::max(appliedBytes, undoneBytes)) / static_cast<double>(records);
}
BENCHMARK(BM_UndoRedoAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(5)->ReportAggregatesOnly();

// The same kinds of records made through the view: key presses, Clear and replacements.
void makeMixedHistory(CMyEditView& view, bool scattered)
{
    EditPlaces places(scattered, view.textLength());
    const auto press = [&view](Qt::Key key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&view, &event);
    };
    while (view.undoHistory().count() < 10000) {
        const int pos = places.next(view.textLength());
        switch (places.pick(6)) {
        case 0:
            view.setSel(pos, pos);
            for (QChar c : QStringLiteral("変換した漢字"))
                press(Qt::Key_unknown, QString(c));
            break;
        case 1:
            view.setSel(pos, pos);
            press(Qt::Key_Return, QStringLiteral("\r"));
            break;
        case 2:
            view.setSel(pos, pos);
            press(places.pick(2) ? Qt::Key_Delete : Qt::Key_Backspace, QString());
            break;
        case 3:
            view.setSel(pos, pos + places.pick(40));
            view.OnEditClear();
            break;
        case 4:
            view.setSel(pos, pos + places.pick(20));
            view.ReplaceSelWithUndo(QStringLiteral("置換後のテキスト"));
            break;
        default:
            view.setSel(pos, pos);
            view.ReplaceSelWithUndo(QStringLiteral("貼り付け\r\npasted line\r\n"));
            break;
        }
    }
}

// 10,000 mixed records undone and redone with the view's commands, which also update the
// control (its layout cache, scroll bars, caret) and scroll the caret into view.
void BM_UndoRedoAllInView(benchmark::State& state)
{
    CMyEditView view;
    prepare(view);
    makeMixedHistory(view, state.range(0) != 0);
    QApplication::processEvents();
    const std::u16string edited = view.text();
    const int records = view.undoHistory().count();
    double undoMs = 0;
    double redoMs = 0;
    for (auto _ : state) {
        const Clock::time_point undoStart = Clock::now();
        for (int i = 0; i < records; ++i)
            view.OnEditUndo();
        QApplication::processEvents();
        undoMs += millisecondsSince(undoStart);
        const Clock::time_point redoStart = Clock::now();
        for (int i = 0; i < records; ++i)
            view.OnEditRedo();
        QApplication::processEvents();
        redoMs += millisecondsSince(redoStart);
    }
    if (view.undoHistory().top() != records || view.text() != edited)
        state.SkipWithError("undo and redo did not restore the edited text");
    const double n = static_cast<double>(state.iterations());
    state.counters["undoMs"] = undoMs / n;
    state.counters["redoMs"] = redoMs / n;
}
BENCHMARK(BM_UndoRedoAllInView)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
