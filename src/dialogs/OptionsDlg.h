#pragma once
// The options dialog ("各種の動作設定"): Japanese detection on open, the radix of numeric
// character references, and whether the language dialog comes before each open. It edits
// its three members only: the controls are set from them when the dialog opens and read
// back into them on OK; Cancel leaves them as they were.

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QRadioButton;

class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    explicit COptionsDlg(QWidget* parent = nullptr);
    ~COptionsDlg() override;

    // Check box 1032: non-zero checks it; OK gives 0 or 1.
    std::int32_t m_bAutoDetect = 1;
    // Radio group 1000 (0) and 1001 (1): a value that names no button checks none; OK gives
    // the position of the checked button, or -1 when none is checked.
    std::int32_t m_nNcrRadix = 0;
    // Check box 1026: non-zero checks it; OK gives 0 or 1.
    std::int32_t m_bShowLangDlg = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Controls from members (toControls false) or members from controls (true).
    void UpdateData(bool saveAndValidate);

    QCheckBox* m_autoDetect = nullptr;
    std::array<QRadioButton*, 2> m_radix{};
    QCheckBox* m_showLangDlg = nullptr;
    bool m_initialized = false;
};
