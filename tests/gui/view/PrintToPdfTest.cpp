// Printing through the real view into a PDF file, read back with pdftotext: the pages the
// engine counts are the pages printed, each with its header, rule texts and number.

#include "../shell/ShellTestSupport.h"

#include <QDialog>
#include <QPageRanges>
#include <QPageSize>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>

namespace quillet_test {
namespace {

class PrintToPdf : public ShellTest {
protected:
    // The pages of the PDF as text, one entry a page.
    QStringList printedPages(const QString& pdf)
    {
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(tool.waitForFinished(60000)) << "pdftotext (poppler-utils) did not run";
        // pdftotext names some glyphs by compatibility characters: a ligature of "ff" in a
        // random folder name as U+FB00, a CJK character as its radical. NFKC folds them back.
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput())
                                .normalized(QString::NormalizationForm_KC)
                                .split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
    void toPdf(QPrinter& printer, const QString& pdf)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
};

TEST_F(PrintToPdf, PagesMatchTheEngineAndEachCarriesHeaderNumberAndFooter)
{
    QByteArray bytes;
    for (int i = 1; i <= 150; ++i)
        bytes += "line " + QByteArray::number(i) + "\tcolumn\r\n";
    bytes += "\x93\xfa\x96\x7b\x8c\xea\r\n";  // 日本語 in Shift_JIS
    for (int i = 0; i < 3000; ++i)
        bytes += "w" + QByteArray::number(i) + " ";
    bytes += "LASTWORD\r\nafter";
    const QString path = writeFile(QStringLiteral("print.txt"), bytes);
    ASSERT_TRUE(start({path}));

    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = filePath(QStringLiteral("out.pdf"));
    toPdf(printer, pdf);
    const unsigned expected = view()->CountPages(printer);
    ASSERT_TRUE(view()->PrintPages(printer));
    EXPECT_EQ(printer.docName(), QStringLiteral("print.txt"));  // the job's name in the queue
    const QStringList pages = printedPages(pdf);
    ASSERT_GT(expected, 4u);
    ASSERT_EQ(unsigned(pages.size()), expected);
    for (int i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        QStringList lines = pages[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.first().trimmed(), path);
        const QStringList footer = lines.last().simplified().split(QLatin1Char(' '));
        EXPECT_EQ(footer, (QStringList{QStringLiteral("Quillet"), QString::number(i + 1)}));
    }
    const QString all = pages.join(QString());
    EXPECT_TRUE(all.contains(QStringLiteral("LASTWORD")));
    EXPECT_TRUE(all.contains(QStringLiteral("日本語")));
    EXPECT_TRUE(all.contains(QStringLiteral("line 150")));
    EXPECT_TRUE(all.contains(QStringLiteral("after")));
    // The long line wrapped instead of running off the page: every word is there.
    EXPECT_TRUE(all.contains(QStringLiteral("w2999")));
    EXPECT_TRUE(all.contains(QStringLiteral("w1500")));
    // Tabs expand to one column: the second field starts at the same place in every line.
    const QStringList first = pages.first().split(QLatin1Char('\n'));
    QList<qsizetype> columns;
    for (const QString& line : first)
        if (line.contains(QStringLiteral("column")) && line.contains(QStringLiteral("line ")))
            columns << line.indexOf(QStringLiteral("column")) - line.indexOf(QStringLiteral("line "));
    ASSERT_GT(columns.size(), 20);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns.first()), columns.size());
    quit();
}

TEST_F(PrintToPdf, OnlyThePagesNamedInThePrintDialogPrint)
{
    QByteArray bytes;
    for (int i = 1; i <= 300; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(start({writeFile(QStringLiteral("pages.txt"), bytes)}));
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = filePath(QStringLiteral("pages.pdf"));
    toPdf(printer, pdf);
    const unsigned count = view()->CountPages(printer);
    ASSERT_GE(count, 5u);
    const QString last = QString::number(count);
    const struct {
        QString ranges;
        QStringList footers;
    } cases[] = {
        {QStringLiteral("1,3"), {QStringLiteral("1"), QStringLiteral("3")}},
        {QStringLiteral("2-3,5"), {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5")}},
        {QStringLiteral("4,") + last + QStringLiteral("-99"), {QStringLiteral("4"), last}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ranges.toStdString());
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(c.ranges));
        ASSERT_TRUE(view()->PrintPages(printer));
        QStringList footers;
        for (const QString& page : printedPages(pdf))
            footers << page.split(QLatin1Char('\n'), Qt::SkipEmptyParts).last().simplified().section(u' ', -1);
        EXPECT_EQ(footers, c.footers);
    }
    quit();
}

TEST_F(PrintToPdf, ThePreviewFillsTheWindowAndOpensAtTheCaretsPage)
{
    QByteArray bytes;
    for (int i = 1; i <= 400; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(start({writeFile(QStringLiteral("preview.txt"), bytes)}));
    frame()->setGeometry(40, 50, 700, 560);
    QPrinter& printer = CMyView::CurrentPrinter();
    toPdf(printer, filePath(QStringLiteral("preview.pdf")));
    const unsigned pages = view()->CountPages(printer);
    ASSERT_GE(pages, 4u);
    for (const unsigned caretPage : {1u, 3u, pages}) {
        SCOPED_TRACE(caretPage);
        // A caret in the middle of the page: its line's share of the text.
        const int line = int((caretPage - 0.5) * 400 / pages);
        const int at = int(text().find(u"line " + QString::number(line).toStdU16String() + u"\r"));
        view()->setSel(at, at);
        QRect geometry;
        int shownPage = 0, pageCount = 0;
        ui.answerModal([&](QDialog& dialog) {
            geometry = dialog.geometry();
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            if (widget) {
                widget->updatePreview();
                QApplication::processEvents();
                shownPage = widget->currentPage();
                pageCount = widget->pageCount();
            }
            return int(QDialog::Rejected);
        });
        view()->OnFilePrintPreview();
        EXPECT_EQ(geometry, frame()->geometry());
        EXPECT_EQ(pageCount, int(pages));
        EXPECT_EQ(shownPage, int(caretPage));
    }
    quit();
}

TEST_F(PrintToPdf, AnEmptyTextIsOnePageAndAPageWithoutRoomIsReported)
{
    ASSERT_TRUE(start());
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = filePath(QStringLiteral("empty.pdf"));
    toPdf(printer, pdf);
    ASSERT_TRUE(view()->PrintPages(printer));
    EXPECT_EQ(printer.docName(), QStringLiteral("無題"));
    const QStringList pages = printedPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages.first().contains(QStringLiteral("無題")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("Quillet")));

    // A label-sized page: the header and footer leave the body nothing.
    printer.setPageSize(QPageSize(QSizeF(12, 12), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    EXPECT_FALSE(view()->PrintPages(printer));
    EXPECT_EQ(messageTexts(),
              QStringList{QStringLiteral("用紙が小さすぎて本文を印刷できません。余白やフォントを小さくしてください。")});
    quit();
}

} // namespace
} // namespace quillet_test
