// The edit view's recording hooks: characters, the Delete key, input-method text and the
// edits of assistive technologies are recorded in the history just before the control's
// default processing acts on them.
#include "edit/CMyEditView.h"

#include "edit/TypedCharacter.h"

#include <QInputMethodEvent>

void CMyEditView::onChar(char16_t c)
{
    // Typing straight from the keyboard ends an in-place composition.
    m_bImeInPlace = false;

    // The control's own answers, asked before it acts: what Backspace removes, what the unit
    // types, and whether the limit lets it in.
    if (c == platform::TextBuffer::kBackspace) {
        m_undo.RecordKeyDelete(CUndoHistory::kKeyBackspace);
    } else if (const std::u16string_view text = typedInsertion(c); !text.empty()) {
        m_undo.RecordDeleteSelection();
        m_undo.RecordInsert(text, edit::extendsTypingRun(c));
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
    // The input method may replace text around the caret (a reconversion, a correction):
    // that range, not the selection, is what the commit replaces.
    if (int start = 0, end = 0; imeReplacementRange(event, &start, &end))
        setSel(start, end);
    // One insertion record for the whole commit, made before the text goes in; the control
    // inserts it in one step, so nothing of it is recorded again.
    ReplaceSelWithUndo(event.commitString());
}

void CMyEditView::onReplaceText(int start, int end, std::u16string_view text)
{
    setSel(start, end);
    ReplaceSelWithUndo(text);
}
