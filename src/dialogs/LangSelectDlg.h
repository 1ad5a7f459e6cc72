#pragma once
// The language dialog ("言語選択"): one row per installed code page, showing the page's name
// as the system words it and carrying its number. The caller sets m_nCodePage before the
// dialog runs (that row comes up selected) and reads it back after OK.

#include <QDialog>

#include <cstdint>

class QListWidget;

class CLangSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLangSelectDlg(QWidget* parent = nullptr);
    ~CLangSelectDlg() override;

    // The code page: selected when the dialog opens, the chosen one after OK. OK with no
    // row selected gives 932; Cancel leaves it as it was.
    std::uint32_t m_nCodePage = 0;

    // The list of code pages (control 1030).
    QListWidget* list() const { return m_list; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fills the list and selects the row of m_nCodePage, once, as the dialog first shows.
    void OnInitDialog();

    QListWidget* m_list = nullptr;
    bool m_initialized = false;
};
