#include "platform/fx/DialogControls.h"

#include "platform/fx/DialogUnits.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"
#include "platform/Utf16.h"

#include <QDialog>
#include <QPushButton>

namespace platform::fx {

void nameControl(QWidget* control, unsigned id)
{
    control->setObjectName(QString::number(id));
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

} // namespace platform::fx
