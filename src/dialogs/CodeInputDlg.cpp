#include "dialogs/CodeInputDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CCodeInputDlg::CCodeInputDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(resourceText(res::IDS_CODE_INPUT_CAPTION));
    platform::fx::nameControl(this, res::IDD_CODE_INPUT);
    const platform::fx::DialogUnits units(font());

    // 158 x 61 units: the field at (7, 7) 56 x 14, OK at (101, 7) and Cancel at (101, 24),
    // the hint at (7, 27) 90 x 27.
    m_edit = new QLineEdit(this);
    platform::fx::nameControl(m_edit, res::IDC_EDIT);
    m_edit->setMaxLength(kMaxChars);
    m_edit->setGeometry(units.rect(7, 7, 56, 14));

    auto* hint = new QLabel(resourceText(res::IDS_CODE_INPUT_HINT), this);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(units.rect(7, 27, 90, 27));
    // No label names the field; the caption does, and the hint says what it takes.
    platform::fx::nameForScreenReaders(m_edit, windowTitle(), hint->text());

    const auto [ok, cancel] = platform::fx::makeOkCancel(this);
    platform::fx::sizeButtonsAlike({ok, cancel}, units);
    ok->move(units.x(101), units.y(7));
    cancel->move(units.x(101), units.y(24));

    const int width = std::max(units.x(158), ok->x() + ok->width() + units.x(7));
    const int height = std::max(units.y(61), hint->y() + hint->heightForWidth(hint->width()) + units.y(4));
    setFixedSize(width, height);
    m_edit->setFocus();
}

CCodeInputDlg::~CCodeInputDlg() = default;

void CCodeInputDlg::accept()
{
    const QString text = m_edit->text();
    if (text.size() > kMaxChars) {
        // Only text set behind the field's back can be this long; it is refused as the
        // field's limit says.
        platform::fx::showMessage(this, platform::toQString(res::formatString1(
                                            res::loadString(res::AFX_IDP_PARSE_STRING_SIZE), u"8")),
                                  platform::fx::MsgIcon::Exclamation);
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_strCode = text;
    QDialog::accept();
}
