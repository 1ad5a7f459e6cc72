// Printing the working text: paginating it for A4 at 600 dpi, and opening a preview on the
// caret's page (pagination, then that one page painted).
#include "WorkingText.h"

#include "view/CMyView.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct PrintBench {
    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
    CMyView view;

    PrintBench()
    {
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("bench.pdf")));
        QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
        font.setPointSize(12);
        view.m_font = font;
        view.setFont(font);
        view.setText(bench::workingTextUtf16());
    }
};

void BM_Paginate1MiB(benchmark::State& state)
{
    PrintBench b;
    unsigned pages = 0;
    for (auto _ : state) {
        pages = b.view.CountPages(b.printer);
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Paginate1MiB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PreviewFirstPage(benchmark::State& state)
{
    PrintBench b;
    const unsigned total = b.view.CountPages(b.printer);
    // The caret inside page 100 (pages hold about the same number of units).
    const int at = int(qint64(b.view.text().size()) * 995 / (10 * qint64(total)));
    b.view.setSel(at, at);
    unsigned page = 0;
    for (auto _ : state) {
        QPainter dc(&b.printer);
        CPrintInfo info;
        info.m_bPreview = true;
        info.m_rectDraw = QRect(0, 0, b.printer.width(), b.printer.height());
        b.view.OnBeginPrinting(dc, info);
        page = info.m_nCurPage;
        b.view.OnPrint(dc, info);
        b.view.OnEndPrinting(dc, info);
        dc.end();
    }
    state.counters["page"] = page;
    state.counters["pages"] = total;
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
