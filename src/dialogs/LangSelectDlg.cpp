#include "dialogs/LangSelectDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/nls/CodePages.h"
#include "res/Resource.h"

#include <QBoxLayout>
#include <QListWidget>
#include <QPushButton>

namespace {

// The code page OK gives when no row is selected.
constexpr std::uint32_t kFallbackCodePage = 932;

} // namespace

CLangSelectDlg::CLangSelectDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_LANGUAGE_SELECT_CAPTION));
    platform::fx::nameControl(this, res::IDD_LANGUAGE_SELECT);
    const platform::fx::DialogUnits units(font());

    // The template: list at (7, 7) 183 x 109, OK at (197, 7) and Cancel at (197, 24), each
    // 50 x 14, in a dialog of 254 x 123 units.
    m_list = new QListWidget(this);
    platform::fx::nameControl(m_list, res::IDC_LIST);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setUniformItemSizes(true);
    platform::fx::nameForScreenReaders(m_list, windowTitle());  // no label names the list

    const auto [ok, cancel] = platform::fx::makeOkCancel(this);
    platform::fx::sizeButtonsAlike({ok, cancel}, units);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(units.y(3));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.x(7));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    setFixedSize(units.size(254, 123).expandedTo(layout->minimumSize()));
}

CLangSelectDlg::~CLangSelectDlg() = default;

void CLangSelectDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CLangSelectDlg::OnInitDialog()
{
    namespace nls = platform::nls;
    // Every installed page in the order the system gives them; a page without a valid
    // number or a name is left out.
    for (const nls::CodePage cp : nls::installedCodePages()) {
        if (!nls::isValidCodePage(cp))
            continue;
        const std::u16string name = nls::codePageName(cp);
        if (name.empty())
            continue;
        auto* row = new QListWidgetItem(platform::toQString(name), m_list);
        row->setData(Qt::UserRole, QVariant::fromValue(std::uint32_t(cp)));
    }
    // The first row of the current page is selected; none when it is not listed.
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* row = m_list->item(i);
        if (row->data(Qt::UserRole).value<std::uint32_t>() == m_nCodePage) {
            m_list->setCurrentItem(row);
            m_list->scrollToItem(row, QAbstractItemView::PositionAtCenter);
            break;
        }
    }
}

void CLangSelectDlg::accept()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    m_nCodePage = selected.isEmpty() ? kFallbackCodePage
                                     : selected.front()->data(Qt::UserRole).value<std::uint32_t>();
    QDialog::accept();
}
