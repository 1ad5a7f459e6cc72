#pragma once
// Pieces a program's small dialogs are built from: controls named after their resource ids
// (so that code and tests find them by number), and the standard OK and Cancel buttons.

#include <QString>

#include <initializer_list>

class QDialog;
class QPushButton;
class QWidget;

namespace platform::fx {

class DialogUnits;

// Gives control the object name of its resource id ("1030").
void nameControl(QWidget* control, unsigned id);

// A push button with text, named id.
QPushButton* makePushButton(QWidget* parent, const QString& text, unsigned id);

// OK (the default button, accepting) and Cancel (rejecting) of dialog, not yet placed.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel makeOkCancel(QDialog* dialog);

// Gives every button one size: 50 x 14 dialog units, or what the widest text needs.
void sizeButtonsAlike(std::initializer_list<QPushButton*> buttons, const DialogUnits& units);

} // namespace platform::fx
