// The drop geometry of the edit view, asked on every pointer move while dragging: the boundary
// under the middle of the window on a line of a million units scrolled to its middle, and the
// hit test of a point in the middle of a 10,000-line selection.
#include "edit/CMyEditView.h"

#include <QApplication>
#include <QFont>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void prepare(CMyEditView& view, const std::u16string& text)
{
    view.OnCreate();
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSize(12);
    view.setFont(font);
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    view.setText(text);
    view.onInitialUpdate();
}

void BM_CharFromPointLongLine(benchmark::State& state)
{
    const std::u16string unit = u"かな漢字 mixed text\t12345 ";
    std::u16string line;
    while (line.size() < 1000000)
        line += unit;
    line.resize(1000000);
    CMyEditView view;
    prepare(view, line);
    view.setSel(500000, 500000);
    view.scrollCaret();
    view.viewport()->repaint();
    const QRect fr = view.formattingRect();
    // The one line is the first row; the middle of the window across it.
    const int y = fr.top() + view.lineHeight() / 2;
    int x = fr.center().x();
    if (view.CharFromPoint(x, y) < 400000 || view.CharFromPoint(x, y) > 600000)
        state.SkipWithError("not at the middle of the line");
    for (auto _ : state) {
        // A pointer moving by a pixel, as it does while dragging.
        benchmark::DoNotOptimize(view.CharFromPoint(x, y));
        x = x == fr.center().x() ? x + 1 : fr.center().x();
    }
}
BENCHMARK(BM_CharFromPointLongLine)->Unit(benchmark::kMicrosecond);

void BM_IsPointInSelectionMultiLine(benchmark::State& state)
{
    std::u16string text;
    for (int i = 0; i < 10000; ++i)
        text += u"line of the selection " + std::u16string(i % 40, u'x') + u"\r\n";
    CMyEditView view;
    prepare(view, text);
    view.setSel(view.lineIndex(5000), view.lineIndex(5000));
    view.scrollCaret();
    view.setSel(0, view.lineIndex(9999));
    view.viewport()->repaint();
    const QRect fr = view.formattingRect();
    if (!view.IsPointInSelection(fr.left() + 20, fr.center().y(), false))
        state.SkipWithError("the point is not in the selection");
    for (auto _ : state)
        benchmark::DoNotOptimize(view.IsPointInSelection(fr.left() + 20, fr.center().y(), false));
}
BENCHMARK(BM_IsPointInSelectionMultiLine)->Unit(benchmark::kMicrosecond);

} // namespace
