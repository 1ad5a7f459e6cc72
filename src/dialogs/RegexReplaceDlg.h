#pragma once
// The regular-expression replace dialog ("正規表現による置換"): pattern and replacement
// fields with their recent lists, and the four options. It reads its last values from the
// settings when it opens; OK writes them back and adds the two texts to their lists;
// Cancel writes nothing.

#include "dialogs/RecentStringList.h"

#include <QComboBox>
#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;

// A drop-down combo box that lets its owner fill the list just before it opens.
class CDropDownComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CDropDownComboBox(QWidget* parent = nullptr);
    std::function<void()> onDropDown;
    void showPopup() override;
};

class CRegexReplaceDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRegexReplaceDlg(QWidget* parent = nullptr);
    ~CRegexReplaceDlg() override;

    std::int32_t m_bEscape = 0;
    std::int32_t m_bGlobal = 1;
    std::int32_t m_bIgnoreCase = 1;
    std::int32_t m_bMultiline = 0;
    QString m_strPattern;
    QString m_strReplace;
    std::unique_ptr<CRecentStringList> m_pPatternList;
    std::unique_ptr<CRecentStringList> m_pReplaceList;

    // Each field takes at most this many characters.
    static constexpr int kMaxChars = 65535;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Lists read, last values read from the settings and shown.
    void OnInitDialog();
    // Controls from members (false) or members from controls (true).
    void UpdateData(bool saveAndValidate);

    QCheckBox* m_escape = nullptr;
    QCheckBox* m_global = nullptr;
    QCheckBox* m_ignoreCase = nullptr;
    QCheckBox* m_multiline = nullptr;
    CDropDownComboBox* m_pattern = nullptr;
    CDropDownComboBox* m_replace = nullptr;
    bool m_initialized = false;
};
