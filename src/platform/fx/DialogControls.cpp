#include "platform/fx/DialogControls.h"

#include "platform/fx/DialogUnits.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"
#include "platform/Utf16.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace platform::fx {

void nameControl(QWidget* control, unsigned id)
{
    control->setObjectName(QString::number(id));
}

QString accessibleLabelText(const QString& label)
{
    QString text;
    for (qsizetype i = 0; i < label.size(); ++i) {
        const QChar c = label[i];
        // "(&N)" or "（&N）": a mnemonic shown in brackets goes with them.
        if ((c == u'(' || c == u'（') && i + 3 < label.size() && label[i + 1] == u'&'
            && (label[i + 3] == u')' || label[i + 3] == u'）')) {
            i += 3;
            continue;
        }
        if (c == u'&') {
            ++i;  // the marker goes, the letter after it stays ("&&" leaves one ampersand)
            if (i < label.size())
                text += label[i];
            continue;
        }
        text += c;
    }
    while (!text.isEmpty() && (text.back() == u':' || text.back() == u'：' || text.back().isSpace()))
        text.chop(1);
    return text;
}

void labelControl(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    nameForScreenReaders(control, accessibleLabelText(label->text()));
}

void nameForScreenReaders(QWidget* control, const QString& name, const QString& description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(name);
        combo->lineEdit()->setAccessibleDescription(description);
    }
}

QPushButton* makePushButton(QWidget* parent, const QString& text, unsigned id)
{
    auto* button = new QPushButton(text, parent);
    nameControl(button, id);
    return button;
}

OkCancel makeOkCancel(QDialog* dialog)
{
    OkCancel buttons{
        makePushButton(dialog, toQString(frameworkString(ids::IDS_BUTTON_OK)), ids::IDOK),
        makePushButton(dialog, toQString(frameworkString(ids::IDS_BUTTON_CANCEL)), ids::IDCANCEL)};
    buttons.ok->setDefault(true);
    QObject::connect(buttons.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

void sizeButtonsAlike(std::initializer_list<QPushButton*> buttons, const DialogUnits& units)
{
    QSize size = units.size(50, 14);
    for (QPushButton* button : buttons)
        size = size.expandedTo(button->sizeHint());
    for (QPushButton* button : buttons)
        button->setFixedSize(size);
}

QHBoxLayout* makeOkCancelRow(QDialog* dialog, const DialogUnits& units, int spacing)
{
    const auto [ok, cancel] = makeOkCancel(dialog);
    sizeButtonsAlike({ok, cancel}, units);
    auto* row = new QHBoxLayout;
    if (spacing >= 0)
        row->setSpacing(spacing);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace platform::fx
