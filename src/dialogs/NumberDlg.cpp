#include "dialogs/NumberDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

// The field's text as a number: ASCII digits only, at least one. Numbers too large for 32
// bits come out as a value above the range.
std::optional<std::uint64_t> parseUnsigned(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min<std::uint64_t>(value * 10 + (c.unicode() - u'0'), 0xFFFFFFFFull + 1);
    }
    return value;
}

} // namespace

CNumberDlg::CNumberDlg(QWidget* parent) : QDialog(parent)
{
    platform::fx::nameControl(this, res::IDD_NUMBER);
    const platform::fx::DialogUnits units(font());

    m_edit = new QLineEdit(this);
    platform::fx::nameControl(m_edit, res::IDC_EDIT);
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->setGeometry(units.rect(7, 7, 59, 14));
    m_edit->installEventFilter(this);

    m_spin = new QWidget(this);
    platform::fx::nameControl(m_spin, res::IDC_SPIN);
    m_spin->setGeometry(units.rect(67, 7, 9, 14));
    auto* arrows = new QVBoxLayout(m_spin);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    for (int delta : {1, -1}) {
        auto* arrow = new QToolButton(m_spin);
        arrow->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        connect(arrow, &QToolButton::clicked, this, [this, delta] { step(delta); });
        arrows->addWidget(arrow);
    }

    const platform::fx::OkCancel buttons = platform::fx::makeOkCancel(this);
    buttons.ok->setGeometry(units.rect(78, 7, 50, 14));
    buttons.cancel->setGeometry(units.rect(78, 24, 50, 14));
    setFixedSize(units.size(135, 45));
}

CNumberDlg::~CNumberDlg() = default;

void CNumberDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        m_edit->setText(QString::number(m_nValue));
        m_edit->selectAll();
        m_edit->setFocus();
        setWindowTitle(m_strCaption);
        // No label names the field: the caption says what number it takes.
        platform::fx::nameForScreenReaders(m_edit, m_strCaption);
    }
    QDialog::showEvent(event);
}

bool CNumberDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The up-down control follows the arrow keys pressed in its field.
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CNumberDlg::step(int delta)
{
    const std::uint64_t current = parseUnsigned(m_edit->text()).value_or(m_nValue);
    const std::int64_t next = std::clamp<std::int64_t>(std::int64_t(std::min<std::uint64_t>(current, kMax)) + delta,
                                                       kMin, kMax);
    m_edit->setText(QString::number(next));
    m_edit->selectAll();
}

void CNumberDlg::refuse(const QString& message)
{
    platform::fx::showMessage(this, message, platform::fx::MsgIcon::Exclamation);
    m_edit->setFocus();
    m_edit->selectAll();
}

void CNumberDlg::accept()
{
    const std::optional<std::uint64_t> value = parseUnsigned(m_edit->text());
    if (!value) {
        refuse(resourceText(res::AFX_IDP_PARSE_UINT));
        return;
    }
    if (*value < kMin || *value > kMax) {
        refuse(platform::toQString(res::formatStrings(res::loadString(res::AFX_IDP_PARSE_INT_RANGE),
                                                            {u"1", u"65535"})));
        return;
    }
    m_nValue = std::uint32_t(*value);
    QDialog::accept();
}
