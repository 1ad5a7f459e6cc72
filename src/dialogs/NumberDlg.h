#pragma once
// A small dialog that asks for one whole number from 1 to 65535: a field that takes digits
// only, an up-down control beside it, OK and Cancel. Tab width and go to line use it, each
// with its own caption. On OK the field must hold such a number; otherwise the framework's
// message says what is wanted and the dialog stays open with the focus on the field.

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QToolButton;

class CNumberDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr std::uint32_t kMin = 1;
    static constexpr std::uint32_t kMax = 65535;

    explicit CNumberDlg(QWidget* parent = nullptr);
    ~CNumberDlg() override;

    QString m_strCaption;     // set before the dialog is shown
    std::uint32_t m_nValue = 1; // shown when the dialog opens; the entry after OK

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The up-down control: one step up (+1) or down (-1) from the number in the field,
    // kept within the range.
    void step(int delta);
    void refuse(const QString& message);

    QLineEdit* m_edit = nullptr;
    QWidget* m_spin = nullptr;
    bool m_initialized = false;
};
