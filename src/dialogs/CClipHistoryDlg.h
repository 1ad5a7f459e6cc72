#pragma once
// The clipboard history dialog ("クリップボードの履歴"): one line per entry, newest first,
// in the face of the editor's current font at 9 points. "貼り付け" or a double click
// chooses the selected entry; the caller inserts m_strSelected after OK.

#include "doc/ClipHistory.h"
#include "doc/LogFont.h"

#include <QDialog>
#include <QFont>

#include <string>
#include <vector>

class QListWidget;

class CClipHistoryDlg : public QDialog {
    Q_OBJECT
public:
    // history: the list the dialog copies when it opens; it must outlive the dialog's
    // opening, not its use (later changes do not reach the list shown).
    explicit CClipHistoryDlg(const doc::ClipHistory& history, QWidget* parent = nullptr);
    ~CClipHistoryDlg() override;

    // The editor's font; set by the caller before the dialog opens.
    doc::LogFont m_logFont;
    // The chosen entry's full text, filled by OK (empty when nothing was selected).
    std::u16string m_strSelected;

    QListWidget* list() const { return m_list; }
    const QFont& listFont() const { return m_font; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();

    const doc::ClipHistory& m_history;
    QFont m_font;
    QListWidget* m_list = nullptr;
    std::vector<std::u16string> m_entries;
    bool m_initialized = false;
};
