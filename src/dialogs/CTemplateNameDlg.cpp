#include "dialogs/CTemplateNameDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "res/Resource.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kNameLimit = 255;

} // namespace

CTemplateNameDlg::CTemplateNameDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_TEMPLATE_NAME_CAPTION));
    platform::fx::nameControl(this, res::IDD_TEMPLATE_NAME);
    const platform::fx::DialogUnits units(font());

    auto* label = new QLabel(resourceText(res::IDS_TEMPLATE_NAME_LABEL), this);
    m_edit = new QLineEdit(this);
    platform::fx::nameControl(m_edit, res::IDC_EDIT);
    m_edit->setMaxLength(kNameLimit);
    platform::fx::labelControl(label, m_edit);

    auto* buttons = platform::fx::makeOkCancelRow(this, units);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.y(4));
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    resize(units.size(142, 61).expandedTo(layout->minimumSize()));
}

CTemplateNameDlg::~CTemplateNameDlg() = default;

void CTemplateNameDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        m_edit->setText(m_strName.left(kNameLimit));
        m_edit->selectAll();
        m_edit->setFocus();
    }
    QDialog::showEvent(event);
}

void CTemplateNameDlg::accept()
{
    m_strName = m_edit->text();
    QDialog::accept();
}
