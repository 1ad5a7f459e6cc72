#pragma once
// The edit view: the edit control as the document's view. It sees every change of the
// text before the control makes it (the recording hooks), records it in its undo history,
// and carries the standard edit commands with their enabling rules.
//
// Rule for every path that changes the text: record first, from the selection as it is
// before the change, then let the control act. What is recorded is exactly what the control
// then removes or inserts, so undo always restores the exact text.

#include "edit/UndoHistory.h"
#include "platform/editctl/EditControl.h"
#include "platform/fx/Command.h"
#include "platform/fx/View.h"

#include <QMimeData>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

class CMyEditView : public platform::EditControl, public platform::fx::View {
    Q_OBJECT
public:
    explicit CMyEditView(QWidget* parent = nullptr);
    ~CMyEditView() override;

    // Window creation: lifts the text limit, sets the fixed-pitch font and tab stops of four
    // average characters; false when it failed.
    virtual bool OnCreate();

    // The selected text; false (and text untouched) when the selection is empty.
    bool GetSelectionText(QString& text) const;

    // Replaces the selection by text as undoable changes: the selection's deletion (when not
    // empty) and the insertion (when text is not empty) are recorded, in that order, then the
    // control replaces the selection and leaves the caret after the text. Returns false, with
    // nothing recorded or changed, when the control refuses the text because the result
    // would exceed its text limit.
    bool ReplaceSelWithUndo(std::u16string_view text);
    bool ReplaceSelWithUndo(const QString& text);

    // The history of this view's text, for the status of the Undo and Redo commands.
    const CUndoHistory& undoHistory() const { return m_undo; }

    QWidget* widget() override { return this; }
    // For every new or opened document: caret to the start and an empty history.
    void onInitialUpdate() override;
    static const platform::fx::CommandMap& classCommands();
    const platform::fx::CommandMap& commandMap() const override { return classCommands(); }

    // Command handlers.
    void OnEditUndo();
    void OnEditRedo();
    void OnEditCut();
    void OnEditCopy();
    // Replaces the selection by the clipboard's text (one insertion); with no text on the
    // clipboard only the selection's deletion is made and recorded.
    void OnEditPaste();
    // Deletes the selection, recorded; also the delete commands of the concrete view use it.
    void OnEditClear();
    void OnEditSelectAll();

    // ---- find and replace (CMyEditViewFind.cpp) -------------------------------------------
    // Ctrl+F (find only) and Ctrl+H: raises the open dialog of that kind, or closes the
    // other kind and opens a new one proposing the selection's first line (else the last
    // search string) and the last replacement.
    void OpenFindReplace(bool bFindOnly);
    void OnEditFind() { OpenFindReplace(true); }
    void OnEditReplace() { OpenFindReplace(false); }
    // Every notification of the dialog: closing, find next, replace, replace all.
    void OnFindReplaceCmd();
    // The dialog's buttons.
    virtual void OnFindNext(const QString& find, bool bNext, bool bCase);
    virtual void OnReplaceSel(const QString& find, bool bNext, bool bCase, const QString& replacement);
    virtual void OnReplaceAll(const QString& find, const QString& replacement, bool bCase);
    // A search found nothing: tells the user.
    virtual void OnTextNotFound(const QString& find);
    // F3 searches down and Shift+F3 up for the last search string, whatever the dialog's
    // direction was.
    void OnEditFindNext();
    void OnEditFindPrevious();
    // Selects the next match (see edit::FindInBuffer) and scrolls it into view; false, with
    // the selection unchanged, when there is none.
    bool FindText(const QString& find, bool bNext, bool bCase);
    // The selection is exactly find (same length, equal as the search compares).
    bool SameAsSelected(const QString& find, bool bCase) const;
    // True when the selection is a match of the last search string; otherwise it searches
    // (reporting a failure) and is false, so a Replace on no match only finds.
    bool InitializeReplace();

    // ---- drag and drop of text (CMyEditViewDragDrop.cpp) ----------------------------------
    // Points are viewport coordinates of the top-left of a character cell. PosFromChar also
    // answers for the end of the text; CharFromPoint gives the nearest boundary of the line
    // under the point (the end of the text below the last line); IsPointInSelection counts
    // the pixel column at the selection's end (inclusive) or not at its start (not inclusive).
    // All of them ask the control for a few positions only, so they stay fast on long lines.
    QPoint PosFromChar(int i) const;
    int CharFromPoint(int x, int y) const;
    bool IsPointInSelection(int x, int y, bool bInclusive) const;
    // A caret of one line's height at (x, y) lies wholly inside the formatting rectangle.
    bool CaretFitsAt(int x, int y) const;
    // Runs the drag of the dragged text (copy and move allowed) and returns the effect the
    // drop target chose; QDrag::exec unless replaced (tests script the drop).
    using DragRunner = std::function<Qt::DropAction(std::unique_ptr<QMimeData> data)>;
    void setDragRunner(DragRunner runner) { m_dragRunner = std::move(runner); }

    // Update handlers.
    void OnUpdateNeedFind(platform::fx::CmdUI& ui);
    void OnUpdateEditUndo(platform::fx::CmdUI& ui);
    void OnUpdateEditRedo(platform::fx::CmdUI& ui);
    void OnUpdateNeedSel(platform::fx::CmdUI& ui);
    void OnUpdateNeedText(platform::fx::CmdUI& ui);
    void OnUpdateNeedClip(platform::fx::CmdUI& ui);

protected:
    // The recording hooks: each records what the control is about to do, then calls it.
    void onChar(char16_t c) override;
    void onKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void onImeComposition(const QInputMethodEvent& event) override;
    // An assistive technology's edit: made with ReplaceSelWithUndo, so it undoes like typing.
    void onReplaceText(int start, int end, std::u16string_view text) override;
    // Drag and drop (CMyEditViewDragDrop.cpp).
    void onLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers) override;
    void onDragEnter(QDragEnterEvent* event) override;
    void onDragMove(QDragMoveEvent* event) override;
    void onDragLeave(QDragLeaveEvent* event) override;
    void onDrop(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Brings the control's caret and scroll position up to the buffer after undo or redo,
    // which change the buffer directly.
    void showHistoryStep();
    // The committed part of an input-method event (its replacement range and commit
    // string), recorded and applied.
    void commitImeText(const QInputMethodEvent& event);
    // Accepts drops and sets up the drag timers and the default drag (constructor).
    void initDragDrop();
    // Drag source: runs the drag of the selection and applies its effect.
    void StartDrag();
    void EndDrag(Qt::DropAction effect);
    // The button released, Escape or another button before the drag started: no drag, as a
    // click.
    void CancelPendingDrag();
    // Drag target: the caret at the drop boundary and the effect for the keys held; the
    // scroll band (true when the point is in it and it scrolled).
    Qt::DropAction DragOver(QPoint point, Qt::KeyboardModifiers keys);
    bool DragScroll(QPoint point, Qt::KeyboardModifiers keys);
    void dragScrollTick();
    // Gives the keyboard focus back to the open find or replace dialog.
    void focusFindDialog();

    // Boundary under the last drop point in this view; -1 from the start of a drag.
    int m_nDropPos = -1;
    // A drag that started in this view is in progress.
    bool m_bSelfDrag = false;
    // Pressed on the selection; the drag starts after the drag distance or time.
    bool m_bDragPending = false;
    // The press of another button that cancelled a waiting drag opens no context menu.
    bool m_bSwallowContextMenu = false;
    QPoint m_dragPressPoint;
    QTimer m_dragStartTimer;
    // The source of the running drag: its range and text.
    int m_nDragStart = 0;
    int m_nDragEnd = 0;
    std::u16string m_dragText;
    DragRunner m_dragRunner;
    // While the pointer rests in the scroll band: the last point and keys of the drag.
    QTimer m_dragScrollTimer;
    QPoint m_lastDragPoint;
    Qt::KeyboardModifiers m_lastDragKeys;
    // An input-method composition is shown in place. It took the selection's place when it
    // started (that deletion is recorded then), so its commit replaces no selection.
    // Committed text arrives whole in one input-method event and is inserted at once, not
    // as a series of character messages, so no count of pending characters and no copy of
    // the result are kept: the commit is recorded as one insertion right before it enters
    // the text.
    bool m_bImeInPlace = false;
    CUndoHistory m_undo;
    // Replace All is running: its replacements and selections go straight to the buffer
    // (the control lays out, scrolls and repaints once, at the end).
    bool m_bBatchReplace = false;
};
