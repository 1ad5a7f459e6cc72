#pragma once
// "ショートカットの作成": one check box per place a shortcut to the program can be put (the
// desktop, the applications menu, the file manager's "Send To" menu), checked when the
// shortcut is there. OK makes each place match its box; a place that fails is told and
// keeps the dialog open, without holding up the others.

#include <QDialog>

#include <string>

class QCheckBox;

class CShortcutDlg : public QDialog {
    Q_OBJECT
public:
    // One place: its check box and the folder the shortcut goes in ("" when unknown).
    struct Place {
        unsigned checkBoxId;
        std::string folder;
        // Made when missing: folders the user never sees (the desktop folder is not one).
        bool createFolder;
        // The shortcut's file name in the folder.
        std::string fileName = kFileName;
    };

    // program: the full path of the program the shortcuts start.
    CShortcutDlg(Place desktop, Place programs, Place sendTo, std::string program,
                 QWidget* parent = nullptr);
    ~CShortcutDlg() override;

    static constexpr const char* kFileName = "Quillet.desktop";

    QCheckBox* checkBox(unsigned id) const;
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Checks the box when the place's shortcut exists.
    void ShowShortcutState(const Place& place);
    // Writes or deletes the place's shortcut; false, after telling the user, when that
    // failed.
    bool UpdateShortcut(const Place& place);

    Place m_places[3];
    std::string m_program;
    bool m_initialized = false;
};
