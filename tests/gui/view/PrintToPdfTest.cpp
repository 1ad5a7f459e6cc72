// Printing through the real view into a PDF file, read back with pdftotext: the pages the
// engine counts are the pages printed, each with its header, rule texts and number. Places
// on a page are judged from the words' coordinates (-bbox), never from a text dump's columns,
// which depend on the fonts of the machine.

#include "../shell/ShellTestSupport.h"

#include "platform/fx/FrameworkIds.h"
#include "platform/fx/PrintSetupDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPageRanges>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QProcess>
#include <QXmlStreamReader>

#include <algorithm>

namespace quillet_test {
namespace {

// A word of a printed page and its box, in points from the page's top left.
struct Word {
    QString text;
    double left = 0, top = 0, right = 0, bottom = 0;
};
// The words of one printed line, left to right.
using PrintedLine = QList<Word>;
using PrintedPage = QList<PrintedLine>;

QString joined(const PrintedLine& line)
{
    QStringList words;
    for (const Word& w : line)
        words << w.text;
    return words.join(QLatin1Char(' '));
}

QString joined(const PrintedPage& page)
{
    QStringList lines;
    for (const PrintedLine& line : page)
        lines << joined(line);
    return lines.join(QLatin1Char('\n'));
}

class PrintToPdf : public ShellTest {
protected:
    // The pages of the PDF, each as its lines top to bottom: words whose boxes share a top.
    QList<PrintedPage> printedPages(const QString& pdf)
    {
        QProcess tool;
        tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(tool.waitForFinished(60000)) << "pdftotext (poppler-utils) did not run";
        QList<QList<Word>> pageWords;
        QXmlStreamReader xml(tool.readAllStandardOutput());
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("page")) {
                pageWords.append(QList<Word>());
            } else if (xml.name() == QLatin1String("word") && !pageWords.isEmpty()) {
                const auto at = [&](const char* name) {
                    return xml.attributes().value(QLatin1String(name)).toDouble();
                };
                Word w{{}, at("xMin"), at("yMin"), at("xMax"), at("yMax")};
                // pdftotext names some glyphs by compatibility characters: a ligature of "ff"
                // in a random folder name as U+FB00, a CJK character as its radical. NFKC
                // folds them back.
                w.text = xml.readElementText().normalized(QString::NormalizationForm_KC);
                pageWords.last().append(w);
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        QList<PrintedPage> pages;
        for (QList<Word>& words : pageWords) {
            std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
                return a.top < b.top - 0.5 || (std::abs(a.top - b.top) <= 0.5 && a.left < b.left);
            });
            PrintedPage page;
            for (const Word& w : words) {
                if (page.isEmpty() || std::abs(page.last().first().top - w.top) > 0.5)
                    page.append(PrintedLine());
                page.last().append(w);
            }
            pages.append(page);
        }
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
    const QList<PrintedPage> pages = printedPages(pdf);
    ASSERT_GT(expected, 4u);
    ASSERT_EQ(unsigned(pages.size()), expected);
    QString all;
    int tabbedLines = 0;
    for (int i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const PrintedPage& page = pages[i];
        ASSERT_GE(page.size(), 2);
        EXPECT_EQ(joined(page.first()), path);
        // The footer: the program's name at the left, the page number at the right.
        const PrintedLine& footer = page.last();
        EXPECT_EQ(joined(footer), QStringLiteral("Quillet ") + QString::number(i + 1));
        EXPECT_GT(footer.last().left, page.first().first().right) << "the number stands right of the header";
        all += joined(page) + QLatin1Char('\n');
        // Tabs stop every four Latin letters of the body's monospaced face: "line 1" (six
        // letters) and "line 10" go on to the eighth, "line 100" to the twelfth.
        for (const PrintedLine& line : page) {
            if (line.size() != 3 || line[0].text != QLatin1String("line") || line[2].text != QLatin1String("column"))
                continue;
            ++tabbedLines;
            const double letter = (line[2].right - line[2].left) / 6;
            const qsizetype letters = 5 + line[1].text.size();
            const qsizetype stop = (letters / 4 + 1) * 4;
            EXPECT_NEAR(line[2].left - line[0].left, stop * letter, letter / 20) << joined(line).toStdString();
        }
    }
    EXPECT_EQ(tabbedLines, 150);
    EXPECT_TRUE(all.contains(QStringLiteral("LASTWORD")));
    EXPECT_TRUE(all.contains(QStringLiteral("日本語")));
    EXPECT_TRUE(all.contains(QStringLiteral("line 150 column")));
    EXPECT_TRUE(all.contains(QStringLiteral("after")));
    // The long line wrapped instead of running off the page: every word is there.
    EXPECT_TRUE(all.contains(QStringLiteral("w2999")));
    EXPECT_TRUE(all.contains(QStringLiteral("w1500")));
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
        for (const PrintedPage& page : printedPages(pdf))
            footers << page.last().last().text;
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
    const QString pdf = filePath(QStringLiteral("preview.pdf"));
    toPdf(printer, pdf);
    const unsigned pages = view()->CountPages(printer);
    ASSERT_GE(pages, 4u);
    // Which lines each page holds, as printed.
    ASSERT_TRUE(view()->PrintPages(printer));
    const QList<PrintedPage> printed = printedPages(pdf);
    ASSERT_EQ(unsigned(printed.size()), pages);
    for (const unsigned caretPage : {1u, 3u, pages}) {
        SCOPED_TRACE(caretPage);
        // A caret on the middle line of the page.
        const PrintedPage& page = printed[int(caretPage) - 1];
        const PrintedLine& middle = page[page.size() / 2];
        ASSERT_EQ(middle.first().text, QStringLiteral("line"));
        const int at = int(text().find(u"line " + middle[1].text.toStdU16String() + u"\r"));
        ASSERT_GE(at, 0);
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

// Printer set-up chooses the printer as well as the page, among the system's printers and
// with what the system says of each; the preview and the print command then start from that
// printer and page for the rest of the session. Opened again it shows the choice, and Cancel
// keeps it. A printer object takes only the names of printers the system has: the printer
// chosen is one of this machine's where it has any, else a listed one it lacks (then only
// the page is followed).
TEST_F(PrintToPdf, PrinterSetUpChoosesThePrinterThatPreviewAndPrintUse)
{
    using platform::fx::PrinterEntry;
    const QList<PrinterEntry> system = platform::fx::installedPrinters();
    const QPageSize label(QSizeF(62, 100), QPageSize::Millimeter, QStringLiteral("62 x 100 mm"));
    QList<PrinterEntry> listed{
        {QStringLiteral("Quillet Test Office"), QStringLiteral("待機中"), QStringLiteral("Generic PDF"),
         QStringLiteral("2F"), QStringLiteral("Office queue"), {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter)},
         QPageSize(QPageSize::Letter)},
        {QStringLiteral("Quillet Test Labels"), QStringLiteral("印刷中"), QStringLiteral("Label maker"),
         QStringLiteral("Desk"), QStringLiteral("Small labels"), {QPageSize(QPageSize::A6), label}, QPageSize(QPageSize::A6)},
    };
    listed += system;
    platform::fx::setInstalledPrintersForTesting([&listed] { return listed; });
    const int target = int(listed.size()) - 1;
    const bool real = !system.isEmpty();
    ASSERT_TRUE(start());
    QPrinter& printer = CMyView::CurrentPrinter();
    const QPrinter::OutputFormat format = printer.outputFormat();
    const QString output = printer.outputFileName();
    const QString printerName = printer.printerName();
    const QPageLayout page = printer.pageLayout();

    QStringList names, details, sizes;
    QPageSize chosenSize;
    ui.answerModal([&](QDialog& dialog) {
        auto* name = dialog.findChild<QComboBox*>(QStringLiteral("printerName"));
        auto* size = dialog.findChild<QComboBox*>(QStringLiteral("pageSize"));
        if (!name || !size) {
            ADD_FAILURE() << "the set-up offers no printer to choose";
            return int(QDialog::Rejected);
        }
        for (int i = 0; i < name->count(); ++i)
            names << name->itemText(i);
        name->setCurrentIndex(1);
        for (const char* field : {"status", "type", "location", "comment"})
            details << dialog.findChild<QLabel*>(QLatin1String(field))->text();
        for (int i = 0; i < size->count(); ++i)
            sizes << size->itemText(i);
        EXPECT_EQ(size->currentText(), QPageSize(QPageSize::A6).name()) << "the printer's own default";
        name->setCurrentIndex(target);
        size->setCurrentIndex(size->count() - 1);
        chosenSize = size->currentData().value<QPageSize>();
        dialog.findChild<QRadioButton*>(QStringLiteral("landscape"))->click();
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("marginLeft"))->setValue(12.5);
        dialog.findChild<QPushButton*>(QString::number(platform::fx::ids::IDOK))->click();
        return dialog.result();
    });
    frame()->executeCommand(res::ID_FILE_PRINT_SETUP);
    QStringList expectedNames;
    for (const PrinterEntry& entry : listed)
        expectedNames << entry.name;
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(details, (QStringList{QStringLiteral("印刷中"), QStringLiteral("Label maker"), QStringLiteral("Desk"),
                                    QStringLiteral("Small labels")}));
    EXPECT_EQ(sizes, (QStringList{QPageSize(QPageSize::A6).name(), label.name()}));
    const auto expectChosen = [&](QPrinter& p, const char* where) {
        EXPECT_EQ(&p, &printer) << where;
        if (real) {
            EXPECT_EQ(p.printerName(), listed[target].name) << where;
        }
        EXPECT_TRUE(p.pageLayout().pageSize().isEquivalentTo(chosenSize)) << where;
        EXPECT_EQ(p.pageLayout().orientation(), QPageLayout::Landscape) << where;
        EXPECT_NEAR(p.pageLayout().margins(QPageLayout::Millimeter).left(), 12.5, 0.05) << where;
    };
    expectChosen(printer, "set-up");

    // The preview starts from that printer and page.
    ui.answerModal([&](QDialog& dialog) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
        EXPECT_NE(preview, nullptr);
        if (preview)
            expectChosen(*preview->printer(), "preview");
        return int(QDialog::Rejected);
    });
    frame()->executeCommand(res::ID_FILE_PRINT_PREVIEW);

    // Opened again the set-up shows the choice; what Cancel leaves behind changes nothing.
    QString shown;
    bool landscape = false;
    ui.answerModal([&](QDialog& dialog) {
        auto* name = dialog.findChild<QComboBox*>(QStringLiteral("printerName"));
        if (!name)
            return int(QDialog::Rejected);
        shown = name->currentText();
        landscape = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"))->isChecked();
        name->setCurrentIndex(0);
        dialog.findChild<QRadioButton*>(QStringLiteral("portrait"))->click();
        return int(QDialog::Rejected);
    });
    frame()->executeCommand(res::ID_FILE_PRINT_SETUP);
    if (real) {
        EXPECT_EQ(shown, listed[target].name);
    }
    EXPECT_TRUE(landscape);
    expectChosen(printer, "after Cancel");

    // So does Ctrl+P.
    ui.answerModal([&](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        if (print)
            expectChosen(*print->printer(), "print dialog");
        return int(QDialog::Rejected);
    });
    QTest::keyClick(frame(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ui.pendingAnswers(), 0) << "Ctrl+P opened the print dialog";

    platform::fx::setInstalledPrintersForTesting({});
    // The printer lives on for the session: the next test finds it as it was.
    printer.setOutputFormat(format);
    printer.setPrinterName(printerName);
    printer.setOutputFileName(output);
    printer.setPageLayout(page);
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
    const QList<PrintedPage> pages = printedPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(joined(pages.first()), QStringLiteral("無題\nQuillet 1"));

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
