#pragma once
// The modeless find dialog ("検索") and replace dialog ("置換"), laid out and labelled like
// the system's find and replace dialogs on a Japanese desktop. The dialog does no searching
// itself: each button sets what was asked (find next, replace, replace all, or that the
// dialog is closing) and emits findReplaceCmd(); the owner reads the request and the fields.
// Closing (Cancel, Escape, the window's close box) deletes the dialog after that last
// notification. Both text fields hold at most 127 characters.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CFindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // Control ids of the system's dialogs, used as the controls' object names.
    static constexpr unsigned kFindWhat = 0x480;
    static constexpr unsigned kReplaceWith = 0x481;
    static constexpr unsigned kMatchCase = 0x410;
    static constexpr unsigned kUp = 0x420;
    static constexpr unsigned kDown = 0x421;
    static constexpr unsigned kDirection = 0x430;
    static constexpr unsigned kReplace = 0x400;
    static constexpr unsigned kReplaceAll = 0x401;
    static constexpr int kMaxText = 127;

    // findOnly: the find dialog (with the direction), else the replace dialog.
    CFindReplaceDialog(bool findOnly, const QString& find, const QString& replacement, bool searchDown,
                       bool matchCase, QWidget* owner);
    ~CFindReplaceDialog() override;

    bool IsFindOnly() const { return m_findOnly; }
    // What the last notification asks for; exactly one is true during it.
    bool IsTerminating() const { return m_request == Request::Terminate; }
    bool FindNext() const { return m_request == Request::FindNext; }
    bool ReplaceCurrent() const { return m_request == Request::Replace; }
    bool ReplaceAll() const { return m_request == Request::ReplaceAll; }

    QString GetFindString() const;
    QString GetReplaceString() const;
    bool SearchDown() const;
    bool MatchCase() const;

    // Escape and Cancel: the dialog closes.
    void reject() override;

signals:
    void findReplaceCmd();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Request { None, FindNext, Replace, ReplaceAll, Terminate };
    void notify(Request request);
    void terminate();
    void updateButtons();

    bool m_findOnly;
    Request m_request = Request::None;
    bool m_terminated = false;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
};
