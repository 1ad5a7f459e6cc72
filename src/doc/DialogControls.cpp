#include "doc/DialogControls.h"

#include "doc/DialogUnits.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QDialog>
#include <QPushButton>

namespace doc {

QString resourceText(unsigned id)
{
    const std::u16string_view s = res::loadString(id);
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

void nameControl(QWidget* control, unsigned id)
{
    control->setObjectName(QString::number(id));
}

QPushButton* makePushButton(QWidget* parent, unsigned textId, unsigned id)
{
    auto* button = new QPushButton(resourceText(textId), parent);
    nameControl(button, id);
    return button;
}

OkCancel makeOkCancel(QDialog* dialog)
{
    OkCancel buttons{makePushButton(dialog, res::IDS_BUTTON_OK, res::IDOK),
                     makePushButton(dialog, res::IDS_BUTTON_CANCEL, res::IDCANCEL)};
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

} // namespace doc
