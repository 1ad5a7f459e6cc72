// The edit view's recording hooks: characters, the Delete key, input-method text and the
// edits of assistive technologies are recorded in the history just before the control's
// default processing acts on them.
#include "edit/CMyEditView.h"

#include "edit/TypedCharacter.h"

#include <QInputMethodEvent>

#include <algorithm>

void CMyEditView::onChar(char16_t c)
{
    // Typing straight from the keyboard ends an in-place composition.
    m_bImeInPlace = false;

    const auto recordInsert = [this](std::u16string_view text, bool mergeable) {
        if (!fitsLimit(static_cast<int>(text.size())))
            return;   // the control will refuse the character and change nothing
        m_undo.RecordDeleteSelection();
        m_undo.RecordInsert(text, mergeable);
    };
    switch (edit::classifyTyped(c)) {
    case edit::TypedRecording::Nothing:
        break;
    case edit::TypedRecording::LineEnd:
        recordInsert(u"\r\n", false);
        break;
    case edit::TypedRecording::Backspace:
        m_undo.RecordKeyDelete(CUndoHistory::kKeyBackspace);
        break;
    case edit::TypedRecording::Separate:
        recordInsert(std::u16string_view(&c, 1), false);
        break;
    case edit::TypedRecording::Typing:
        recordInsert(std::u16string_view(&c, 1), true);
        break;
    }
    platform::EditControl::onChar(c);
}

void CMyEditView::onKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Shift+Delete and Ctrl+Delete are commands (Cut and the concrete view's deletions); the
    // control does nothing with them, so neither does the recording.
    if (key == Qt::Key_Delete && !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier)))
        m_undo.RecordKeyDelete(CUndoHistory::kKeyDelete);
    platform::EditControl::onKeyDown(key, modifiers);
}

void CMyEditView::onImeComposition(const QInputMethodEvent& event)
{
    const bool composing = !event.preeditString().isEmpty();
    const bool commits = !event.commitString().isEmpty() || event.replacementLength() > 0;
    if (commits) {
        commitImeText(event);
    } else if (composing && !m_bImeInPlace) {
        // A composition starts in place and takes the selection's place from now on: the
        // selection goes now, recorded once, and the commit that ends the composition
        // replaces nothing more. Should the composition be cancelled, the deletion stays
        // and stays undoable.
        m_undo.RecordDeleteSelection();
        clear();
    }
    m_bImeInPlace = composing;

    // The committed text is in; the control is left to show the composition.
    QInputMethodEvent rest(event.preeditString(), event.attributes());
    platform::EditControl::onImeComposition(rest);
}

void CMyEditView::commitImeText(const QInputMethodEvent& event)
{
    const QString commit = event.commitString();
    if (event.replacementLength() > 0 || (!commit.isEmpty() && event.replacementStart() != 0)) {
        // The input method replaces text around the caret (a reconversion, a correction):
        // that range, not the selection, is what the commit replaces.
        const int caret = buffer().caret();
        const int length = textLength();
        const int start = std::clamp(caret + event.replacementStart(), 0, length);
        const int end = std::clamp(start + event.replacementLength(), start, length);
        setSel(start, end);
    }
    // One insertion record for the whole commit, made before the text goes in; the control
    // inserts it in one step, so nothing of it is recorded again.
    ReplaceSelWithUndo(commit);
}

void CMyEditView::onReplaceText(int start, int end, std::u16string_view text)
{
    setSel(start, end);
    ReplaceSelWithUndo(text);
}
