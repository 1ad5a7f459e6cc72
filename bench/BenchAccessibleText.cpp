// What a screen reader asks of the edit control on the line of a million units
// (LongLineControl.h, with an emoji every 500 units so that offsets in characters differ from
// units), through the control's accessible interface, and what a keystroke costs while one
// listens. None of these may copy or measure the whole line; the line itself is the one item
// a screen reader gets whole, so without word wrap only its boundaries are timed.
#include "LongLineControl.h"

#include "platform/editctl/AccessibleText.h"
#include "platform/editctl/EditControlAccessible.h"

#include <QAccessible>

namespace {

using namespace bench;

const std::u16string& lineWithEmoji()
{
    static const std::u16string text = [] {
        std::u16string result = longLineText();
        for (size_t at = 250; at + 1 < result.size(); at += 500)
            result.replace(at, 2, u"\U0001F600");
        return result;
    }();
    return text;
}

struct Reader {
    explicit Reader(bool wrap)
    {
        prepare(edit, lineWithEmoji());
        edit.setWordWrap(wrap);
        const int middle = edit.textLength() / 2;
        edit.setSel(middle, middle);
        edit.scrollCaret();
        paint(edit);
        accessible = QAccessible::queryAccessibleInterface(&edit);
        text = accessible->textInterface();
    }
    platform::EditControl edit;
    QAccessibleInterface* accessible = nullptr;
    QAccessibleTextInterface* text = nullptr;
};

// After a caret move: where the caret is, the character, word and sentence there, its cell
// and the text around it.
void BM_A11yCaretQueries(benchmark::State& state)
{
    Reader reader(false);
    int start = 0;
    int end = 0;
    for (auto _ : state) {
        const int caret = reader.text->cursorPosition();
        benchmark::DoNotOptimize(reader.text->characterCount());
        benchmark::DoNotOptimize(reader.text->textAtOffset(caret, QAccessible::CharBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->textAtOffset(caret, QAccessible::WordBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->textBeforeOffset(caret, QAccessible::WordBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->textAtOffset(caret, QAccessible::SentenceBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->characterRect(caret));
        benchmark::DoNotOptimize(reader.text->text(caret - 40, caret + 40));
    }
}
BENCHMARK(BM_A11yCaretQueries)->Unit(benchmark::kMicrosecond);

// The line and paragraph around the caret, without word wrap: their boundaries only.
void BM_A11yLineBoundaries(benchmark::State& state)
{
    Reader reader(false);
    const platform::LogicalLines lines(reader.edit.buffer());
    const platform::AccessibleText text(reader.edit.buffer(), lines);
    const int caret = reader.text->cursorPosition();
    platform::TextRange range;
    for (auto _ : state) {
        text.item(caret, platform::TextItem::Line, platform::ItemPlace::At, &range);
        benchmark::DoNotOptimize(range);
        text.item(caret, platform::TextItem::Paragraph, platform::ItemPlace::After, &range);
        benchmark::DoNotOptimize(range);
    }
}
BENCHMARK(BM_A11yLineBoundaries)->Unit(benchmark::kMicrosecond);

// With word wrap on, a line is a row: read whole, with the rows before and after it.
void BM_A11yWrappedRows(benchmark::State& state)
{
    Reader reader(true);
    int start = 0;
    int end = 0;
    for (auto _ : state) {
        const int caret = reader.text->cursorPosition();
        benchmark::DoNotOptimize(reader.text->textAtOffset(caret, QAccessible::LineBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->textBeforeOffset(caret, QAccessible::LineBoundary, &start, &end));
        benchmark::DoNotOptimize(reader.text->textAfterOffset(caret, QAccessible::LineBoundary, &start, &end));
    }
}
BENCHMARK(BM_A11yWrappedRows)->Unit(benchmark::kMicrosecond);

// The character under a point, as a screen reader's mouse review asks.
void BM_A11yOffsetAtPoint(benchmark::State& state)
{
    Reader reader(false);
    const QPoint point = reader.edit.viewport()->mapToGlobal(reader.edit.viewport()->rect().center());
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.text->offsetAtPoint(point));
}
BENCHMARK(BM_A11yOffsetAtPoint)->Unit(benchmark::kMicrosecond);

// A keystroke in the middle of the line, with its repaint, while a listener takes every
// event's text (arg 1) and while none listens (arg 0).
void BM_A11yKeystroke(benchmark::State& state)
{
    Reader reader(false);
    qsizetype told = 0;
    if (state.range(0))
        platform::accessibility::setEventSink([&told](QAccessibleEvent& event) {
            if (event.type() == QAccessible::TextInserted)
                told += static_cast<QAccessibleTextInsertEvent&>(event).textInserted().size();
            else if (event.type() == QAccessible::TextCaretMoved)
                told += static_cast<QAccessibleTextCursorEvent&>(event).cursorPosition() > 0;
        });
    timeEach(state, [&] {
        press(reader.edit, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        paintPending();
    });
    platform::accessibility::setEventSink({});
    state.counters["told"] = static_cast<double>(told);
}
BENCHMARK(BM_A11yKeystroke)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
