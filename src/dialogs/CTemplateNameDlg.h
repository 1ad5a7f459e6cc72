#pragma once
// "ひな型に追加": asks for the name under which the current text is kept as a template.
// The caller sets m_strName to the proposed name and reads it back after OK.

#include <QDialog>

class QLineEdit;

class CTemplateNameDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTemplateNameDlg(QWidget* parent = nullptr);
    ~CTemplateNameDlg() override;

    QString m_strName;

    QLineEdit* edit() const { return m_edit; }
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edit = nullptr;
    bool m_initialized = false;
};
