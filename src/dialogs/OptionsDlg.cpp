#include "dialogs/OptionsDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "res/Resource.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <span>

namespace {

// A group box whose controls stand in one row, 7 units in from its left edge.
QGroupBox* makeGroup(QWidget* parent, unsigned titleId, std::span<QWidget* const> controls,
                     const platform::fx::DialogUnits& units)
{
    auto* group = new QGroupBox(resourceText(titleId), parent);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(units.x(7), units.y(3), units.x(7), units.y(3));
    row->setSpacing(units.x(14));
    for (QWidget* control : controls)
        row->addWidget(control);
    row->addStretch(1);
    return group;
}

// Radio exchange towards the controls: the button at position value is checked, every
// other one cleared, so a value that names no button leaves the group with none checked.
void setRadioGroup(std::span<QRadioButton* const> buttons, std::int32_t value)
{
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        // An exclusive button refuses to be cleared while it is the checked one.
        buttons[i]->setAutoExclusive(false);
        buttons[i]->setChecked(std::int32_t(i) == value);
        buttons[i]->setAutoExclusive(true);
    }
}

// Radio exchange towards the value: the position of the checked button, or -1.
std::int32_t radioGroupValue(std::span<QRadioButton* const> buttons)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return std::int32_t(i);
    return -1;
}

} // namespace

COptionsDlg::COptionsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_OPTIONS_CAPTION));
    platform::fx::nameControl(this, res::IDD_OPTIONS);
    const platform::fx::DialogUnits units(font());

    // Top to bottom in a dialog of 187 x 127 units: three group boxes of 173 x 28 at
    // (7, 7), (7, 39) and (7, 71); OK at (76, 106) and Cancel at (130, 106), 50 x 14.
    m_autoDetect = new QCheckBox(resourceText(res::IDS_OPTIONS_AUTO_DETECT), this);
    platform::fx::nameControl(m_autoDetect, res::IDC_AUTO_DETECT_JA);
    m_radix[0] = new QRadioButton(resourceText(res::IDS_OPTIONS_NCR_DECIMAL), this);
    platform::fx::nameControl(m_radix[0], res::IDC_NCR_DECIMAL);
    m_radix[1] = new QRadioButton(resourceText(res::IDS_OPTIONS_NCR_HEX), this);
    platform::fx::nameControl(m_radix[1], res::IDC_NCR_HEX);
    m_showLangDlg = new QCheckBox(resourceText(res::IDS_OPTIONS_SHOW_LANG_DIALOG), this);
    platform::fx::nameControl(m_showLangDlg, res::IDC_SHOW_LANG_DIALOG);

    QWidget* const japanese[] = {m_autoDetect};
    QWidget* const radix[] = {m_radix[0], m_radix[1]};
    QWidget* const langDialog[] = {m_showLangDlg};

    auto* buttons = platform::fx::makeOkCancelRow(this, units, units.x(4));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.y(4));
    layout->addWidget(makeGroup(this, res::IDS_OPTIONS_GROUP_JAPANESE, japanese, units), 1);
    layout->addWidget(makeGroup(this, res::IDS_OPTIONS_GROUP_NCR, radix, units), 1);
    layout->addWidget(makeGroup(this, res::IDS_OPTIONS_GROUP_LANG_DIALOG, langDialog, units), 1);
    layout->addSpacing(units.y(3));
    layout->addLayout(buttons);

    setFixedSize(units.size(187, 127).expandedTo(layout->minimumSize()));
}

COptionsDlg::~COptionsDlg() = default;

void COptionsDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        UpdateData(false);
    }
    QDialog::showEvent(event);
}

void COptionsDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_bAutoDetect = m_autoDetect->isChecked() ? 1 : 0;
        m_nNcrRadix = radioGroupValue(m_radix);
        m_bShowLangDlg = m_showLangDlg->isChecked() ? 1 : 0;
    } else {
        m_autoDetect->setChecked(m_bAutoDetect != 0);
        setRadioGroup(m_radix, m_nNcrRadix);
        m_showLangDlg->setChecked(m_bShowLangDlg != 0);
    }
}

void COptionsDlg::accept()
{
    UpdateData(true);
    QDialog::accept();
}
