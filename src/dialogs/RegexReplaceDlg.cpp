#include "dialogs/RegexReplaceDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/fx/App.h"
#include "res/Resource.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {


platform::fx::App* app()
{
    return platform::fx::App::instance();
}

} // namespace

CDropDownComboBox::CDropDownComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // Typing neither completes from the list nor adds to it; the list is the recent texts.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    lineEdit()->setMaxLength(CRegexReplaceDlg::kMaxChars);
}

void CDropDownComboBox::showPopup()
{
    if (onDropDown)
        onDropDown();
    QComboBox::showPopup();
}

CRegexReplaceDlg::CRegexReplaceDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_REGEX_CAPTION));
    platform::fx::nameControl(this, res::IDD_REGEX_REPLACE);
    const platform::fx::DialogUnits units(font());

    auto label = [&](unsigned textId, QWidget* buddy, QRect r) {
        auto* l = new QLabel(resourceText(textId), this);
        platform::fx::labelControl(l, buddy);
        l->setGeometry(r);
    };
    auto check = [&](unsigned textId, unsigned id, QRect r) {
        auto* c = new QCheckBox(resourceText(textId), this);
        platform::fx::nameControl(c, id);
        c->setGeometry(r.united(QRect(r.topLeft(), c->sizeHint())));
        return c;
    };
    // Positions of the dialog template, in dialog units (265 x 105). The fields are the
    // combo boxes' edit parts; their lists drop down below.
    m_pattern = new CDropDownComboBox(this);
    platform::fx::nameControl(m_pattern, res::IDC_PATTERN);
    m_pattern->setGeometry(QRect(units.x(55), units.y(7), units.x(203),
                                 std::max(units.y(12), m_pattern->sizeHint().height())));
    label(res::IDS_REGEX_PATTERN_LABEL, m_pattern, units.rect(7, 10, 45, 8));
    m_global = check(res::IDS_REGEX_GLOBAL, res::IDC_GLOBAL, units.rect(55, 27, 45, 10));
    m_ignoreCase = check(res::IDS_REGEX_IGNORE_CASE, res::IDC_IGNORE_CASE, units.rect(103, 27, 101, 10));
    m_multiline = check(res::IDS_REGEX_MULTILINE, res::IDC_MULTILINE, units.rect(207, 27, 46, 10));
    m_replace = new CDropDownComboBox(this);
    platform::fx::nameControl(m_replace, res::IDC_REPLACEMENT);
    m_replace->setGeometry(QRect(units.x(55), units.y(45), units.x(203),
                                 std::max(units.y(12), m_replace->sizeHint().height())));
    label(res::IDS_REGEX_REPLACE_LABEL, m_replace, units.rect(7, 48, 46, 8));
    m_escape = check(res::IDS_REGEX_ESCAPE, res::IDC_ESCAPE, units.rect(55, 65, 90, 10));
    // Tab order as the template lists the controls.
    setTabOrder(m_pattern, m_global);
    setTabOrder(m_global, m_ignoreCase);
    setTabOrder(m_ignoreCase, m_multiline);
    setTabOrder(m_multiline, m_replace);
    setTabOrder(m_replace, m_escape);

    const auto [ok, cancel] = platform::fx::makeOkCancel(this);
    platform::fx::sizeButtonsAlike({ok, cancel}, units);
    ok->move(units.x(81), units.y(84));
    cancel->move(units.x(133), units.y(84));
    setTabOrder(m_escape, ok);
    setTabOrder(ok, cancel);

    m_pattern->onDropDown = [this] {
        if (m_pPatternList)
            m_pPatternList->FillComboBox(m_pattern);
    };
    m_replace->onDropDown = [this] {
        if (m_pReplaceList)
            m_pReplaceList->FillComboBox(m_replace);
    };
    int right = units.x(265);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        right = std::max(right, w->geometry().right() + units.x(7));
    setFixedSize(right, std::max(units.y(105), cancel->geometry().bottom() + units.y(7)));
}

CRegexReplaceDlg::~CRegexReplaceDlg() = default;

void CRegexReplaceDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CRegexReplaceDlg::OnInitDialog()
{
    m_pPatternList = std::make_unique<CRecentStringList>(u"Recent Pattern List", u"pattern%d", 10);
    m_pReplaceList = std::make_unique<CRecentStringList>(u"Recent Replace List", u"replace%d", 10);
    if (app() && app()->profileFile()) {
        m_pPatternList->ReadList(*app()->profileFile());
        m_pReplaceList->ReadList(*app()->profileFile());
    }
    if (app()) {
        m_strPattern = app()->getProfileString(platform::fx::kSettingsSection, QStringLiteral("Pattern"));
        m_strReplace = app()->getProfileString(platform::fx::kSettingsSection, QStringLiteral("Replace"));
        m_bGlobal = app()->getProfileInt(platform::fx::kSettingsSection, QStringLiteral("Global"), 1);
        m_bIgnoreCase = app()->getProfileInt(platform::fx::kSettingsSection, QStringLiteral("IgnoreCase"), 1);
        m_bMultiline = app()->getProfileInt(platform::fx::kSettingsSection, QStringLiteral("Multiline"), 0);
        m_bEscape = app()->getProfileInt(platform::fx::kSettingsSection, QStringLiteral("Escape"), 0);
    }
    UpdateData(false);
    // The focus goes to the first control.
    m_pattern->setFocus();
    m_pattern->lineEdit()->selectAll();
}

void CRegexReplaceDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_bEscape = m_escape->isChecked() ? 1 : 0;
        m_bGlobal = m_global->isChecked() ? 1 : 0;
        m_bIgnoreCase = m_ignoreCase->isChecked() ? 1 : 0;
        m_bMultiline = m_multiline->isChecked() ? 1 : 0;
        m_strPattern = m_pattern->currentText();
        m_strReplace = m_replace->currentText();
        return;
    }
    m_escape->setChecked(m_bEscape != 0);
    m_global->setChecked(m_bGlobal != 0);
    m_ignoreCase->setChecked(m_bIgnoreCase != 0);
    m_multiline->setChecked(m_bMultiline != 0);
    // A longer stored text (a damaged settings file) is cut to the field's limit.
    m_pattern->setEditText(m_strPattern.left(kMaxChars));
    m_replace->setEditText(m_strReplace.left(kMaxChars));
}

void CRegexReplaceDlg::accept()
{
    UpdateData(true);
    if (app()) {
        app()->writeProfileString(platform::fx::kSettingsSection, QStringLiteral("Pattern"), m_strPattern);
        app()->writeProfileString(platform::fx::kSettingsSection, QStringLiteral("Replace"), m_strReplace);
        app()->writeProfileInt(platform::fx::kSettingsSection, QStringLiteral("Global"), m_bGlobal);
        app()->writeProfileInt(platform::fx::kSettingsSection, QStringLiteral("IgnoreCase"), m_bIgnoreCase);
        app()->writeProfileInt(platform::fx::kSettingsSection, QStringLiteral("Multiline"), m_bMultiline);
        app()->writeProfileInt(platform::fx::kSettingsSection, QStringLiteral("Escape"), m_bEscape);
    }
    if (!m_pPatternList)
        OnInitDialog();
    m_pPatternList->Add(platform::toU16String(m_strPattern));
    m_pReplaceList->Add(platform::toU16String(m_strReplace));
    if (app() && app()->profileFile()) {
        m_pPatternList->WriteList(*app()->profileFile());
        m_pReplaceList->WriteList(*app()->profileFile());
    }
    QDialog::accept();
}
