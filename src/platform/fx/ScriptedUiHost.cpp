#include "platform/fx/ScriptedUiHost.h"

#include <QDialog>

namespace platform::fx {

ScriptedUiHost::ScriptedUiHost()
{
    UiHost::setCurrent(this);
}

ScriptedUiHost::~ScriptedUiHost()
{
    UiHost::setCurrent(nullptr);
}

QList<MessageBoxRequest> ScriptedUiHost::messages() const
{
    QList<MessageBoxRequest> result;
    for (const Shown& s : m_shown)
        if (s.kind == Shown::Kind::MessageBox)
            result << s.message;
    return result;
}

int ScriptedUiHost::pendingAnswers() const
{
    return int(m_messageAnswers.size() + m_fileAnswers.size() + m_fontAnswers.size()
               + m_modalAnswers.size());
}

void ScriptedUiHost::clear()
{
    m_messageAnswers.clear();
    m_fileAnswers.clear();
    m_fontAnswers.clear();
    m_modalAnswers.clear();
    m_shown.clear();
    m_unanswered = 0;
}

MsgAnswer ScriptedUiHost::messageBox(QWidget*, const MessageBoxRequest& request)
{
    Shown s{Shown::Kind::MessageBox, request, {}, {}, {}};
    m_shown << s;
    if (m_messageAnswers.empty()) {
        ++m_unanswered;
        return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok
             : request.buttons == MsgButtons::YesNo ? MsgAnswer::No
                                                    : MsgAnswer::Cancel;
    }
    MsgAnswer answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedUiHost::fileDialog(QWidget*, const FileDialogRequest& request)
{
    m_shown << Shown{Shown::Kind::FileDialog, {}, request, {}, {}};
    if (m_fileAnswers.empty()) {
        ++m_unanswered;
        return std::nullopt;
    }
    const bool chosen = m_fileAnswers.front().has_value();
    const QString path = chosen ? *m_fileAnswers.front() : QString();
    m_fileAnswers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

std::optional<QFont> ScriptedUiHost::fontDialog(QWidget*, const FontDialogRequest& request)
{
    m_shown << Shown{Shown::Kind::FontDialog, {}, {}, request, {}};
    if (m_fontAnswers.empty()) {
        ++m_unanswered;
        return std::nullopt;
    }
    auto answer = m_fontAnswers.front();
    m_fontAnswers.pop_front();
    return answer;
}

int ScriptedUiHost::runModal(QDialog& dialog)
{
    m_shown << Shown{Shown::Kind::Modal, {}, {}, {}, dialog.windowTitle()};
    if (m_modalAnswers.empty()) {
        ++m_unanswered;
        return QDialog::Rejected;
    }
    auto play = std::move(m_modalAnswers.front());
    m_modalAnswers.pop_front();
    // The dialog is prepared as exec() would, without entering an event loop of its own.
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    const int result = play(dialog);
    if (result == QDialog::Accepted)
        dialog.accept();
    else
        dialog.reject();
    dialog.hide();
    return result;
}

} // namespace platform::fx
