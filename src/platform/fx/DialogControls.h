#pragma once
// Pieces a program's small dialogs are built from: controls named after their resource ids
// (so that code and tests find them by number), and the standard OK and Cancel buttons.

#include <QString>

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace platform::fx {

class DialogUnits;

// Gives control the object name of its resource id ("1030").
void nameControl(QWidget* control, unsigned id);

// What a screen reader should call a control its label names: the label's text without its
// mnemonic ("(&N)" or a lone "&"; "&&" is an ampersand) and without the colon that ends it.
// "検索する文字列(&N):" gives "検索する文字列".
QString accessibleLabelText(const QString& label);

// Makes label the buddy of control (its mnemonic focuses the control) and names the control
// after it for screen readers.
void labelControl(QLabel* label, QWidget* control);

// Names a control for screen readers where no label says what it is for; the description
// (a hint shown near it, say) is read after the name. An editable combo box's field, which
// takes the focus, is named too.
void nameForScreenReaders(QWidget* control, const QString& name, const QString& description = QString());

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

// OK and Cancel of dialog sized alike at the right end of a row of their own, for a dialog
// laid out in rows; spacing < 0 keeps the style's spacing between them.
QHBoxLayout* makeOkCancelRow(QDialog* dialog, const DialogUnits& units, int spacing = -1);

} // namespace platform::fx
