#include "dialogs/CClipHistoryDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "doc/LogFontQt.h"
#include "res/Resource.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace {

// Every line as wide as the list's scrolling extent, so that the list scrolls sideways as far
// as that and the widest line is drawn whole.
class ExtentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int m_nExtent = 0;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(m_nExtent);
        return size;
    }
};

} // namespace

CClipHistoryDlg::CClipHistoryDlg(const doc::ClipHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history)
{
    setWindowTitle(resourceText(res::IDS_CLIP_HISTORY_CAPTION));
    platform::fx::nameControl(this, res::IDD_CLIP_HISTORY);
    const platform::fx::DialogUnits units(font());

    auto* label = new QLabel(resourceText(res::IDS_CLIP_HISTORY_LABEL), this);
    m_list = new QListWidget(this);
    platform::fx::nameControl(m_list, res::IDC_LIST);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setUniformItemSizes(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setItemDelegate(new ExtentDelegate(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    platform::fx::labelControl(label, m_list);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* paste = platform::fx::makePushButton(
        this, resourceText(res::IDS_CLIP_HISTORY_PASTE), res::IDOK);
    auto* cancel = platform::fx::makePushButton(
        this, resourceText(res::IDS_BUTTON_CANCEL), res::IDCANCEL);
    paste->setDefault(true);
    connect(paste, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    platform::fx::sizeButtonsAlike({paste, cancel}, units);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(paste);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.y(4));
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    // The list comes first in the tab order.
    setTabOrder(m_list, paste);
    setTabOrder(paste, cancel);

    resize(units.size(227, 143).expandedTo(layout->minimumSize()));
}

CClipHistoryDlg::~CClipHistoryDlg() = default;

void CClipHistoryDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CClipHistoryDlg::OnInitDialog()
{
    // The face of the editor's font at 9 points, whatever size the editor uses; the other
    // properties of the editor's font are not taken.
    const QFont editorFont = doc::fontFromLogFont(m_logFont);
    m_font = QFont();
    m_font.setFamilies(editorFont.families().isEmpty() ? QStringList{editorFont.family()}
                                                       : editorFont.families());
    m_font.setPointSize(9);
    m_list->setFont(m_font);

    // A copy, so that clipboard changes while the dialog is open leave the list alone.
    m_entries.assign(m_history.entries().begin(), m_history.entries().end());
    // The list scrolls sideways to its widest line and 10 pixels more.
    const QFontMetrics metrics(m_font, m_list);
    int widest = 0;
    auto* delegate = static_cast<ExtentDelegate*>(m_list->itemDelegate());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const QString line = platform::toQString(doc::clipHistoryLine(long(i), m_entries[i]));
        m_list->addItem(line);
        const int width = metrics.horizontalAdvance(line);
        if (width > widest) {
            widest = width;
            delegate->m_nExtent = width + 10;
        }
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    m_list->setFocus();
}

void CClipHistoryDlg::accept()
{
    m_strSelected.clear();
    const int row = m_list->currentRow();
    if (row >= 0 && std::size_t(row) < m_entries.size() && m_list->item(row)->isSelected())
        m_strSelected = m_entries[std::size_t(row)];
    QDialog::accept();
}
