#include "platform/fx/PrintSetupDialog.h"

#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform::fx {

namespace {

std::function<QList<PrinterEntry>()>& printerListForTesting()
{
    static std::function<QList<PrinterEntry>()> list;
    return list;
}

QString stateText(QPrinter::PrinterState state)
{
    switch (state) {
    case QPrinter::Idle: return QStringLiteral("待機中");
    case QPrinter::Active: return QStringLiteral("印刷中");
    case QPrinter::Aborted: return QStringLiteral("中止");
    case QPrinter::Error: return QStringLiteral("エラー");
    }
    return {};
}

// Paper offered when no printer says what it takes.
QList<QPageSize> commonPageSizes()
{
    QList<QPageSize> sizes;
    for (const QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B4, QPageSize::B5,
                                           QPageSize::Letter, QPageSize::Legal})
        sizes << QPageSize(id);
    return sizes;
}

} // namespace

QList<PrinterEntry> installedPrinters()
{
    if (printerListForTesting())
        return printerListForTesting()();
    QList<PrinterEntry> entries;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        entries.append({info.printerName(), stateText(info.state()), info.makeAndModel(), info.location(),
                        info.description(), info.supportedPageSizes(), info.defaultPageSize()});
    }
    return entries;
}

void setInstalledPrintersForTesting(std::function<QList<PrinterEntry>()> list)
{
    printerListForTesting() = std::move(list);
}

PrintSetupDialog::PrintSetupDialog(const QPrinter& printer, QList<PrinterEntry> printers, QWidget* parent)
    : QDialog(parent), m_printers(std::move(printers))
{
    setWindowTitle(QStringLiteral("プリンタの設定"));
    const DialogUnits units(font());

    // The printer and what the system says of it.
    auto* printerGroup = new QGroupBox(QStringLiteral("プリンタ"), this);
    m_name = new QComboBox(printerGroup);
    m_name->setObjectName(QStringLiteral("printerName"));
    m_name->setMinimumContentsLength(24);
    for (const PrinterEntry& entry : m_printers)
        m_name->addItem(entry.name);
    m_name->setEnabled(!m_printers.isEmpty());
    m_status = new QLabel(printerGroup);
    m_type = new QLabel(printerGroup);
    m_location = new QLabel(printerGroup);
    m_comment = new QLabel(printerGroup);
    m_status->setObjectName(QStringLiteral("status"));
    m_type->setObjectName(QStringLiteral("type"));
    m_location->setObjectName(QStringLiteral("location"));
    m_comment->setObjectName(QStringLiteral("comment"));
    auto* printerForm = new QFormLayout(printerGroup);
    auto* nameLabel = new QLabel(QStringLiteral("プリンタ名(&N):"), printerGroup);
    nameLabel->setBuddy(m_name);
    printerForm->addRow(nameLabel, m_name);
    printerForm->addRow(QStringLiteral("状態:"), m_status);
    printerForm->addRow(QStringLiteral("種類:"), m_type);
    printerForm->addRow(QStringLiteral("場所:"), m_location);
    printerForm->addRow(QStringLiteral("コメント:"), m_comment);

    auto* paperGroup = new QGroupBox(QStringLiteral("用紙"), this);
    m_size = new QComboBox(paperGroup);
    m_size->setObjectName(QStringLiteral("pageSize"));
    auto* paperForm = new QFormLayout(paperGroup);
    auto* sizeLabel = new QLabel(QStringLiteral("サイズ(&Z):"), paperGroup);
    sizeLabel->setBuddy(m_size);
    paperForm->addRow(sizeLabel, m_size);

    auto* orientationGroup = new QGroupBox(QStringLiteral("印刷の向き"), this);
    m_portrait = new QRadioButton(QStringLiteral("縦(&O)"), orientationGroup);
    m_landscape = new QRadioButton(QStringLiteral("横(&A)"), orientationGroup);
    m_portrait->setObjectName(QStringLiteral("portrait"));
    m_landscape->setObjectName(QStringLiteral("landscape"));
    auto* orientationBox = new QVBoxLayout(orientationGroup);
    orientationBox->addWidget(m_portrait);
    orientationBox->addWidget(m_landscape);

    auto* marginGroup = new QGroupBox(QStringLiteral("余白 (mm)"), this);
    auto* marginGrid = new QGridLayout(marginGroup);
    const char* const names[4] = {"marginLeft", "marginTop", "marginRight", "marginBottom"};
    const char* const labels[4] = {"左(&L):", "上(&T):", "右(&R):", "下(&B):"};
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    const qreal values[4] = {margins.left(), margins.top(), margins.right(), margins.bottom()};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = new QDoubleSpinBox(marginGroup);
        m_margins[i]->setObjectName(QString::fromLatin1(names[i]));
        m_margins[i]->setDecimals(1);
        m_margins[i]->setRange(0, 100);
        m_margins[i]->setValue(values[i]);
        auto* label = new QLabel(QString::fromUtf8(labels[i]), marginGroup);
        label->setBuddy(m_margins[i]);
        marginGrid->addWidget(label, i / 2, (i % 2) * 2);
        marginGrid->addWidget(m_margins[i], i / 2, (i % 2) * 2 + 1);
    }

    auto* buttons = makeOkCancelRow(this, units);

    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(paperGroup, 1);
    pageRow->addWidget(orientationGroup);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->addWidget(printerGroup);
    layout->addLayout(pageRow);
    layout->addWidget(marginGroup);
    layout->addLayout(buttons);

    // The printer printed with, else the system's default one, else the first.
    int current = -1;
    for (const QString& name : {printer.printerName(), QPrinterInfo::defaultPrinterName()}) {
        for (int i = 0; current < 0 && !name.isEmpty() && i < m_printers.size(); ++i)
            if (m_printers[i].name == name)
                current = i;
    }
    if (current < 0 && !m_printers.isEmpty())
        current = 0;
    connect(m_name, &QComboBox::currentIndexChanged, this, [this](int index) { showPrinter(index); });
    m_name->setCurrentIndex(current);
    showPrinter(current);

    // The paper and orientation the printer has now, where the printer shown takes it.
    const QPageLayout now = printer.pageLayout();
    if (const int at = sizeIndex(now.pageSize()); at >= 0)
        m_size->setCurrentIndex(at);
    (now.orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
}

void PrintSetupDialog::showPrinter(int index)
{
    const PrinterEntry none;
    const PrinterEntry& entry = index >= 0 && index < m_printers.size() ? m_printers[index] : none;
    m_status->setText(index >= 0 ? entry.status : QStringLiteral("インストールされているプリンタはありません"));
    m_type->setText(entry.type);
    m_location->setText(entry.location);
    m_comment->setText(entry.comment);

    // The paper this printer takes; the size chosen stays chosen where it takes that too,
    // else its own default.
    const QPageSize chosen = m_size->currentData().value<QPageSize>();
    const QList<QPageSize> sizes = entry.pageSizes.isEmpty() ? commonPageSizes() : entry.pageSizes;
    m_size->clear();
    for (const QPageSize& size : sizes)
        m_size->addItem(size.name(), QVariant::fromValue(size));
    int at = chosen.isValid() ? sizeIndex(chosen) : -1;
    if (at < 0)
        at = sizeIndex(entry.defaultPageSize);
    m_size->setCurrentIndex(std::max(at, 0));
}

int PrintSetupDialog::sizeIndex(const QPageSize& size) const
{
    // The paper itself, else the first of the same size ("A4" before "A4 (Borderless)").
    for (int i = 0; i < m_size->count(); ++i)
        if (m_size->itemData(i).value<QPageSize>() == size)
            return i;
    for (int i = 0; i < m_size->count(); ++i)
        if (m_size->itemData(i).value<QPageSize>().isEquivalentTo(size))
            return i;
    return -1;
}

QString PrintSetupDialog::printerName() const
{
    return m_name->currentIndex() >= 0 ? m_printers[m_name->currentIndex()].name : QString();
}

QPageLayout PrintSetupDialog::pageLayout() const
{
    const QMarginsF margins(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(), m_margins[3]->value());
    return QPageLayout(m_size->currentData().value<QPageSize>(),
                       m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

void PrintSetupDialog::applyTo(QPrinter& printer) const
{
    const QString name = printerName();
    if (!name.isEmpty() && !QPrinterInfo::printerInfo(name).isNull()) {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    } else if (!name.isEmpty()) {
        printer.setPrinterName(name);
    }
    const QPageLayout layout = pageLayout();
    if (!printer.setPageLayout(layout)) {
        // A printer that cannot print that close to the edge prints at its least margins.
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
        QPageLayout least = printer.pageLayout();
        least.setUnits(QPageLayout::Millimeter);
        const QMarginsF minimum = least.minimumMargins();
        const QMarginsF wanted = layout.margins();
        printer.setPageMargins(QMarginsF(std::max(wanted.left(), minimum.left()), std::max(wanted.top(), minimum.top()),
                                         std::max(wanted.right(), minimum.right()),
                                         std::max(wanted.bottom(), minimum.bottom())),
                               QPageLayout::Millimeter);
    }
}

} // namespace platform::fx
