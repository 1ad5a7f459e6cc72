#pragma once
// The print set-up dialog ("プリンタの設定"): which printer prints, on what paper, which way
// round and within which margins. The choice goes into the one printer object the program
// prints with, so the print command and the preview start from it, for the rest of the
// session, as the framework keeps its printer.

#include <QDialog>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QRadioButton;

namespace platform::fx {

// An installed printer as the dialog shows it.
struct PrinterEntry {
    QString name;
    QString status;     // "待機中", "印刷中", ...
    QString type;       // make and model
    QString location;
    QString comment;
    QList<QPageSize> pageSizes;
    QPageSize defaultPageSize;
};

// The printers the system has (its print queues), in its order.
QList<PrinterEntry> installedPrinters();
// Replaces the system's list for tests; an empty function gives it back.
void setInstalledPrintersForTesting(std::function<QList<PrinterEntry>()> list);

class PrintSetupDialog : public QDialog {
public:
    // Shows the printer's current choice among printers.
    PrintSetupDialog(const QPrinter& printer, QList<PrinterEntry> printers, QWidget* parent = nullptr);

    // The printer chosen (empty when the system has none), and the page.
    QString printerName() const;
    QPageLayout pageLayout() const;

    // Puts the choice into printer: a printer of the system prints on its queue (no longer
    // into a file the print dialog named); paper, orientation and margins follow.
    void applyTo(QPrinter& printer) const;

private:
    void showPrinter(int index);
    // The entry of the paper list for size; -1 when the printer shown does not take it.
    int sizeIndex(const QPageSize& size) const;

    QList<PrinterEntry> m_printers;
    QComboBox* m_name = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_type = nullptr;
    QLabel* m_location = nullptr;
    QLabel* m_comment = nullptr;
    QComboBox* m_size = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QDoubleSpinBox* m_margins[4] = {};   // left, top, right, bottom, in millimetres
};

} // namespace platform::fx
