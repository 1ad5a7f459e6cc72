#pragma once
// A UiHost for tests: answers every modal interaction from a script and records what the
// program showed, in order. An interaction with no scripted answer fails the running test
// loudly (through the unanswered log) and gets the cancelling answer, so a test never hangs.

#include "platform/fx/UiHost.h"

#include <QList>
#include <deque>
#include <functional>

namespace platform::fx {

class ScriptedUiHost : public UiHost {
public:
    // One entry of the record: what was shown, with its request.
    struct Shown {
        enum class Kind { MessageBox, FileDialog, FontDialog, Modal };
        Kind kind;
        MessageBoxRequest message;   // for MessageBox
        FileDialogRequest file;      // for FileDialog
        FontDialogRequest font;      // for FontDialog
        QString dialogTitle;         // for Modal: the dialog's window title
    };

    // Installs itself as the current host; the destructor gives the real host back.
    ScriptedUiHost();
    ~ScriptedUiHost() override;

    void answerMessage(MsgAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerFile(std::optional<QString> path) { m_fileAnswers.push_back(std::move(path)); }
    void answerFont(std::optional<QFont> font) { m_fontAnswers.push_back(std::move(font)); }
    // The function plays the user in the dialog (sets controls) and returns the result code.
    void answerModal(std::function<int(QDialog&)> play) { m_modalAnswers.push_back(std::move(play)); }

    const QList<Shown>& shown() const { return m_shown; }
    QList<MessageBoxRequest> messages() const;
    // Interactions that found no scripted answer.
    int unanswered() const { return m_unanswered; }
    // Scripted answers not used yet.
    int pendingAnswers() const;
    void clear();

    MsgAnswer messageBox(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(QWidget* parent,
                                      const FileDialogRequest& request) override;
    std::optional<QFont> fontDialog(QWidget* parent, const FontDialogRequest& request) override;
    int runModal(QDialog& dialog) override;

private:
    std::deque<MsgAnswer> m_messageAnswers;
    std::deque<std::optional<QString>> m_fileAnswers;
    std::deque<std::optional<QFont>> m_fontAnswers;
    std::deque<std::function<int(QDialog&)>> m_modalAnswers;
    QList<Shown> m_shown;
    int m_unanswered = 0;
};

} // namespace platform::fx
