// Printing: the page frame (margins, header, footer, rules) around a body laid out by
// view/PrintLayout. The screen is not touched: printed lines always wrap at the body width,
// whatever the screen does, and the view's state is the same afterwards.

#include "view/CMyView.h"

#include "platform/AverageCharWidth.h"
#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/Document.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"
#include "platform/fx/PrintSetupDialog.h"
#include "platform/fx/UiHost.h"
#include "platform/fx/WaitCursor.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "doc/LogFontQt.h"
#include "view/PrintLayout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <algorithm>

namespace {

using platform::toQString;

// Widths in the body font on the printer.
class FontMeasure : public view::Measure {
public:
    FontMeasure(const QFont& font, QPaintDevice* device)
        : m_metrics(font, device), m_average(platform::averageCharWidth(font, device))
    {
    }
    double advance(std::u16string_view span) const override
    {
        return m_metrics.horizontalAdvance(platform::rawQString(span));
    }
    int lineHeight() const override { return int(std::ceil(m_metrics.lineSpacing())); }
    // Tab stops on paper count the same characters as on the screen.
    double averageCharWidth() const override { return m_average; }

private:
    QFontMetricsF m_metrics;
    qreal m_average;
};

void report(QWidget* view, unsigned id, const QString& arg = {})
{
    QString text = toQString(res::loadString(id));
    if (!arg.isNull())
        text = text.arg(arg);
    platform::fx::showMessage(platform::fx::dialogParentOf(view), text, platform::fx::MsgIcon::Exclamation);
}

// The job carries the text's title, so the print queue (and a PDF printer's file name)
// tells one job from another; the print dialog offers it as the name of a PDF file too.
void nameJob(QPrinter& printer)
{
    if (auto* app = platform::fx::App::instance(); app && app->document())
        printer.setDocName(app->document()->title());
}

} // namespace

// What one print run holds between OnBeginPrinting and OnEndPrinting.
struct CPrintJob {
    std::u16string text;
    QFont bodyFont;
    QFont frameFont;
    int frameTextHeight = 0;
    std::unique_ptr<FontMeasure> measure;
    std::unique_ptr<view::PageLayout> layout;
    view::PageFrame frame;
    std::vector<int> pageStarts;
};

QPrinter& CMyView::CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void CMyView::OnBeginPrinting(QPainter& dc, CPrintInfo& info)
{
    auto job = std::make_shared<CPrintJob>();
    job->text = text();
    QPaintDevice* device = dc.device();
    // The view's font, scaled from the screen's resolution to the printer's.
    job->bodyFont = QFont(m_font, device);
    if (m_font.pixelSize() > 0) {
        const int screenDpi = std::max(1, doc::screenLogPixelsY());
        job->bodyFont.setPixelSize(
            std::max(1, int(qint64(m_font.pixelSize()) * device->logicalDpiY() / screenDpi)));
    }
    // Header and footer use the device's default font.
    job->frameFont = QFont(QApplication::font(), device);
    job->frameTextHeight = int(std::ceil(QFontMetricsF(job->frameFont, device).height()));
    job->frame = view::makePageFrame(
        {info.m_rectDraw.left(), info.m_rectDraw.top(), info.m_rectDraw.left() + info.m_rectDraw.width(),
         info.m_rectDraw.top() + info.m_rectDraw.height()},
        job->frameTextHeight);
    job->measure = std::make_unique<FontMeasure>(job->bodyFont, device);
    job->layout = std::make_unique<view::PageLayout>(*job->measure, job->frame.body,
                                                      std::max(1, int(m_nTabStops)));
    {
        platform::fx::WaitCursor wait;
        job->pageStarts = job->layout->paginate(job->text);
    }
    info.m_nLastPage = job->layout->hasRoom() ? unsigned(job->pageStarts.size()) : 0;
    if (info.m_bPreview) {
        // The preview opens at the page that holds the selection start.
        int start = 0, end = 0;
        getSel(&start, &end);
        const auto after = std::upper_bound(job->pageStarts.begin(), job->pageStarts.end(), start);
        info.m_nCurPage = unsigned(std::max<std::ptrdiff_t>(1, after - job->pageStarts.begin()));
    }
    m_printJob = std::move(job);
}

void CMyView::OnPrint(QPainter& dc, CPrintInfo& info)
{
    CPrintJob* job = m_printJob.get();
    if (!job || !job->layout->hasRoom() || info.m_nCurPage < 1 || info.m_nCurPage > job->pageStarts.size())
        return;
    const view::PageFrame& f = job->frame;
    auto toQRect = [](const view::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); };

    dc.save();
    dc.setFont(job->frameFont);
    QPen pen = dc.pen();
    pen.setWidth(std::max(1, dc.device()->logicalDpiY() / 150));
    dc.setPen(pen);
    // Header: the full path, or the title of a text that has none, shortened in the middle.
    QString header;
    if (auto* app = platform::fx::App::instance(); app && app->document()) {
        header = app->document()->pathName();
        if (header.isEmpty())
            header = app->document()->title();
    }
    if (header.isEmpty())
        header = toQString(platform::fx::frameworkString(platform::fx::ids::AFX_IDS_UNTITLED));
    const QFontMetrics frameMetrics(job->frameFont, dc.device());
    dc.drawText(toQRect(f.header), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                frameMetrics.elidedText(header, Qt::ElideMiddle, f.header.width()));
    dc.drawLine(f.header.left, f.headerRuleY, f.header.right, f.headerRuleY);

    // Body.
    dc.setFont(job->bodyFont);
    const view::PageRows page = job->layout->layoutPage(job->text, job->pageStarts[info.m_nCurPage - 1]);
    const int lineHeight = job->measure->lineHeight();
    const int ascent = int(std::ceil(QFontMetricsF(job->bodyFont, dc.device()).ascent()));
    int y = f.body.top;
    const std::u16string_view text = job->text;
    for (const view::Row& row : page.rows) {
        job->layout->forEachSpan(text, row, [&](double x, int from, int to) {
            dc.drawText(QPointF(f.body.left + x, y + ascent),
                        toQString(text.substr(size_t(from), size_t(to - from))));
        });
        y += lineHeight;
    }

    // Footer: rule, the page number at the right, the program's name at the left.
    dc.setFont(job->frameFont);
    dc.drawLine(f.footer.left, f.footerRuleY, f.footer.right, f.footerRuleY);
    dc.drawText(toQRect(f.footer), Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine,
                QString::asprintf("%lu ", static_cast<unsigned long>(info.m_nCurPage)));
    dc.drawText(toQRect(f.footer), Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                QStringLiteral(" ") + toQString(res::loadString(res::AFX_IDS_APP_TITLE)));
    dc.restore();
}

void CMyView::OnEndPrinting(QPainter&, CPrintInfo&)
{
    m_printJob.reset();
}

bool CMyView::PrintPages(QPrinter& printer, bool preview)
{
    nameJob(printer);
    QPainter dc;
    if (!dc.begin(&printer)) {
        report(this, res::IDP_PRINT_FAILED);
        return false;
    }
    CPrintInfo info;
    info.m_bPreview = preview;
    info.m_rectDraw = QRect(0, 0, printer.width(), printer.height());
    OnBeginPrinting(dc, info);
    if (info.m_nLastPage == 0) {
        OnEndPrinting(dc, info);
        dc.end();
        report(this, res::IDP_PRINT_NO_ROOM);
        return false;
    }
    // The print dialog's page field takes a list ("1,3,5-7"); only the pages named print.
    const QPageRanges ranges = !preview && printer.printRange() == QPrinter::PageRange
                                   ? printer.pageRanges()
                                   : QPageRanges();
    bool printedAny = false;
    for (unsigned page = 1; page <= info.m_nLastPage; ++page) {
        if (!ranges.isEmpty() && !ranges.contains(int(page)))
            continue;
        if (printedAny)
            printer.newPage();
        printedAny = true;
        info.m_nCurPage = page;
        OnPrint(dc, info);
    }
    OnEndPrinting(dc, info);
    if (!printedAny) {
        // None of the pages named exists: nothing goes to the printer, not even a blank sheet.
        printer.abort();
        dc.end();
        return true;
    }
    // A printer that went away while the pages were sent reports an error state.
    if (!dc.end() || printer.printerState() == QPrinter::Error) {
        report(this, res::IDP_PRINT_FAILED);
        return false;
    }
    return true;
}

unsigned CMyView::CountPages(QPrinter& printer)
{
    QPainter dc;
    if (!dc.begin(&printer))
        return 0;
    CPrintInfo info;
    info.m_rectDraw = QRect(0, 0, printer.width(), printer.height());
    OnBeginPrinting(dc, info);
    OnEndPrinting(dc, info);
    dc.end();
    return info.m_nLastPage;
}

void CMyView::OnFilePrint()
{
    QPrinter& printer = CurrentPrinter();
    nameJob(printer);
    QPrintDialog dialog(&printer, platform::fx::dialogParentOf(this));
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    PrintPages(printer);
}

void CMyView::OnFilePrintDirect()
{
    PrintPages(CurrentPrinter());
}

void CMyView::OnFilePrintPreview()
{
    QPrinter& printer = CurrentPrinter();
    QPrintPreviewDialog dialog(&printer, platform::fx::dialogParentOf(this));
    // The preview takes the main window's place and size, where its pages can be read,
    // instead of a small window of its own.
    if (const QWidget* top = window(); top && top->isVisible())
        dialog.setGeometry(top->geometry());
    unsigned openAt = 1;
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* p) {
        // The preview's print button asks for the pages on the real printer: they print as
        // through the print command, with the pages chosen in its dialog.
        if (!p->paintEngine() || p->paintEngine()->type() != QPaintEngine::Picture) {
            PrintPages(*p);
            return;
        }
        // The preview paints its own pages; the page of the selection is found with them.
        QPainter dc;
        if (!dc.begin(p))
            return;
        CPrintInfo info;
        info.m_bPreview = true;
        info.m_rectDraw = QRect(0, 0, p->width(), p->height());
        OnBeginPrinting(dc, info);
        openAt = info.m_nCurPage;
        for (unsigned page = 1; page <= info.m_nLastPage; ++page) {
            if (page > 1)
                p->newPage();
            info.m_nCurPage = page;
            OnPrint(dc, info);
        }
        OnEndPrinting(dc, info);
        if (info.m_nLastPage == 0)
            report(this, res::IDP_PRINT_NO_ROOM);
    });
    if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) {
        connect(widget, &QPrintPreviewWidget::previewChanged, this,
                [widget, &openAt] {
                    if (openAt > 0) {
                        widget->setCurrentPage(int(openAt));
                        openAt = 0;
                    }
                });
    }
    platform::fx::UiHost::current().runModal(dialog);
}

void CMyView::OnFilePrintSetup()
{
    QPrinter& printer = CurrentPrinter();
    platform::fx::PrintSetupDialog dialog(printer, platform::fx::installedPrinters(),
                                          platform::fx::dialogParentOf(this));
    if (platform::fx::UiHost::current().runModal(dialog) == QDialog::Accepted)
        dialog.applyTo(printer);
}
