#include "dialogs/FindReplaceDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "res/Resource.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

namespace {

// Where each kind of dialog was last closed: it opens there again within the run.
std::optional<QPoint>& lastPosition(bool findOnly)
{
    static std::optional<QPoint> find;
    static std::optional<QPoint> replace;
    return findOnly ? find : replace;
}

QLineEdit* makeField(QWidget* parent, unsigned id, const QString& text)
{
    auto* field = new QLineEdit(parent);
    platform::fx::nameControl(field, id);
    field->setMaxLength(CFindReplaceDialog::kMaxText);
    field->setText(text.left(CFindReplaceDialog::kMaxText));
    return field;
}

} // namespace

CFindReplaceDialog::CFindReplaceDialog(bool findOnly, const QString& find, const QString& replacement,
                                       bool searchDown, bool matchCase, QWidget* owner)
    : QDialog(owner)
    , m_findOnly(findOnly)
{
    setModal(false);
    setWindowTitle(resourceText(findOnly ? res::IDS_FIND_CAPTION : res::IDS_REPLACE_CAPTION));
    const platform::fx::DialogUnits units(font());

    m_find = makeField(this, kFindWhat, find);
    auto* findLabel = new QLabel(resourceText(res::IDS_FIND_WHAT_LABEL), this);
    platform::fx::labelControl(findLabel, m_find);
    m_matchCase = new QCheckBox(resourceText(res::IDS_FIND_MATCH_CASE), this);
    platform::fx::nameControl(m_matchCase, kMatchCase);
    m_matchCase->setChecked(matchCase);

    m_findNext = platform::fx::makePushButton(this, resourceText(res::IDS_FIND_NEXT), res::IDOK);
    m_findNext->setDefault(true);
    auto* cancel = platform::fx::makePushButton(
        this, resourceText(res::IDS_BUTTON_CANCEL), res::IDCANCEL);
    connect(m_findNext, &QPushButton::clicked, this, [this] { notify(Request::FindNext); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(m_find, &QLineEdit::textChanged, this, &CFindReplaceDialog::updateButtons);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(units.x(4));
    grid->setVerticalSpacing(units.y(3));
    grid->setContentsMargins(units.x(6), units.y(6), units.x(6), units.y(6));
    m_find->setMinimumWidth(units.x(120));
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_find, 0, 1, 1, findOnly ? 1 : 2);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(units.y(3));
    buttons->addWidget(m_findNext);
    if (findOnly) {
        auto* direction = new QGroupBox(resourceText(res::IDS_FIND_DIRECTION), this);
        platform::fx::nameControl(direction, kDirection);
        m_up = new QRadioButton(resourceText(res::IDS_FIND_UP), direction);
        m_down = new QRadioButton(resourceText(res::IDS_FIND_DOWN), direction);
        platform::fx::nameControl(m_up, kUp);
        platform::fx::nameControl(m_down, kDown);
        (searchDown ? m_down : m_up)->setChecked(true);
        auto* radios = new QHBoxLayout(direction);
        radios->addWidget(m_up);
        radios->addWidget(m_down);
        grid->addWidget(m_matchCase, 1, 0, Qt::AlignBottom | Qt::AlignLeft);
        grid->addWidget(direction, 1, 1);
        buttons->addWidget(cancel);
        platform::fx::sizeButtonsAlike({m_findNext, cancel}, units);
    } else {
        m_replace = makeField(this, kReplaceWith, replacement);
        auto* replaceLabel = new QLabel(resourceText(res::IDS_REPLACE_WITH_LABEL), this);
        platform::fx::labelControl(replaceLabel, m_replace);
        grid->addWidget(replaceLabel, 1, 0);
        grid->addWidget(m_replace, 1, 1, 1, 2);
        grid->addWidget(m_matchCase, 3, 0, 1, 2, Qt::AlignBottom | Qt::AlignLeft);
        m_replaceOne = platform::fx::makePushButton(
            this, resourceText(res::IDS_REPLACE_ONE), kReplace);
        m_replaceAll = platform::fx::makePushButton(
            this, resourceText(res::IDS_REPLACE_ALL), kReplaceAll);
        connect(m_replaceOne, &QPushButton::clicked, this, [this] { notify(Request::Replace); });
        connect(m_replaceAll, &QPushButton::clicked, this, [this] { notify(Request::ReplaceAll); });
        buttons->addWidget(m_replaceOne);
        buttons->addWidget(m_replaceAll);
        buttons->addWidget(cancel);
        platform::fx::sizeButtonsAlike({m_findNext, m_replaceOne, m_replaceAll, cancel}, units);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 3, findOnly ? 2 : 4, 1);
    if (!findOnly)
        grid->setRowStretch(2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // Tab walks the fields first, then the options, then the buttons, as in the system's
    // dialogs; creation order alone would jump from the search field past the replacement.
    QList<QWidget*> order{m_find, m_replace, m_matchCase, m_up, m_down,
                          m_findNext, m_replaceOne, m_replaceAll, cancel};
    order.removeAll(nullptr);
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    m_find->selectAll();
    m_find->setFocus();
    updateButtons();
    if (const std::optional<QPoint>& at = lastPosition(findOnly))
        move(*at);
}

CFindReplaceDialog::~CFindReplaceDialog() = default;

QString CFindReplaceDialog::GetFindString() const
{
    return m_find->text();
}

QString CFindReplaceDialog::GetReplaceString() const
{
    return m_replace ? m_replace->text() : QString();
}

bool CFindReplaceDialog::SearchDown() const
{
    return !m_down || m_down->isChecked();
}

bool CFindReplaceDialog::MatchCase() const
{
    return m_matchCase->isChecked();
}

void CFindReplaceDialog::updateButtons()
{
    // Nothing to search for: the buttons that search are off, as in the system's dialog.
    const bool any = !m_find->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replaceOne) {
        m_replaceOne->setEnabled(any);
        m_replaceAll->setEnabled(any);
    }
}

void CFindReplaceDialog::notify(Request request)
{
    m_request = request;
    emit findReplaceCmd();
    m_request = Request::None;
}

void CFindReplaceDialog::terminate()
{
    // Escape, Cancel and the close box all end here; the owner hears of it once.
    if (m_terminated)
        return;
    m_terminated = true;
    lastPosition(m_findOnly) = pos();
    notify(Request::Terminate);
    deleteLater();
}

void CFindReplaceDialog::reject()
{
    terminate();
    QDialog::reject();
}

void CFindReplaceDialog::closeEvent(QCloseEvent* event)
{
    terminate();
    QDialog::closeEvent(event);
}
