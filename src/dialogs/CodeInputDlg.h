#pragma once
// The code-input dialog ("コード入力"): one field for the number of the character to
// insert, at most eight characters, with a hint on how the number is read.

#include <QDialog>
#include <QString>

class QLineEdit;

class CCodeInputDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCodeInputDlg(QWidget* parent = nullptr);
    ~CCodeInputDlg() override;

    // The field's text: empty when the dialog opens, the typed text after OK.
    QString m_strCode;

    // The longest text the field takes.
    static constexpr int kMaxChars = 8;

    void accept() override;

private:
    QLineEdit* m_edit = nullptr;
};
