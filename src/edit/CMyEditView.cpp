// The edit view's creation, initial update and commands; the recording of keyboard and
// input-method input is in CMyEditViewInput.cpp.
#include "edit/CMyEditView.h"

#include "platform/Utf16.h"
#include "res/Resource.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMimeData>

using platform::fx::CmdUI;
using platform::fx::CommandEntry;

CMyEditView::CMyEditView(QWidget* parent) : platform::EditControl(parent)
{
    m_undo.SetBuffer(&buffer());
    initDragDrop();
}

CMyEditView::~CMyEditView() = default;

const platform::fx::CommandMap& CMyEditView::classCommands()
{
    using V = CMyEditView;
    using platform::fx::onCommand;
    static const CommandEntry entries[] = {
        onCommand<&V::OnEditUndo, &V::OnUpdateEditUndo>(res::ID_EDIT_UNDO),
        onCommand<&V::OnEditRedo, &V::OnUpdateEditRedo>(res::ID_EDIT_REDO),
        onCommand<&V::OnEditCut, &V::OnUpdateNeedSel>(res::ID_EDIT_CUT),
        onCommand<&V::OnEditCopy, &V::OnUpdateNeedSel>(res::ID_EDIT_COPY),
        onCommand<&V::OnEditPaste, &V::OnUpdateNeedClip>(res::ID_EDIT_PASTE),
        onCommand<&V::OnEditClear, &V::OnUpdateNeedSel>(res::ID_EDIT_CLEAR),
        onCommand<&V::OnEditSelectAll, &V::OnUpdateNeedText>(res::ID_EDIT_SELECT_ALL),
        onCommand<&V::OnEditFind, &V::OnUpdateNeedText>(res::ID_EDIT_FIND),
        onCommand<&V::OnEditReplace, &V::OnUpdateNeedText>(res::ID_EDIT_REPLACE),
        onCommand<&V::OnEditFindNext, &V::OnUpdateNeedFind>(res::ID_EDIT_REPEAT),
        onCommand<&V::OnEditFindPrevious, &V::OnUpdateNeedFind>(res::ID_EDIT_FIND_PREVIOUS),
    };
    static const platform::fx::CommandMap map{nullptr, entries};
    return map;
}

bool CMyEditView::OnCreate()
{
    // The text may grow past the size of any file the program opens.
    limitText(0);
    // The system's fixed-pitch font until the concrete view picks the language's own.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Four average characters.
    setTabStops(16);
    return true;
}

void CMyEditView::onInitialUpdate()
{
    setSel(0, 0);
    scrollCaret();
    // A new or opened text starts with nothing to undo or redo; the records of the previous
    // text would point into text that is gone.
    m_bImeInPlace = false;
    m_undo.Clear();
}

bool CMyEditView::GetSelectionText(QString& text) const
{
    int start = 0, end = 0;
    getSel(&start, &end);
    if (start == end)
        return false;
    text = selectedText();
    return true;
}

bool CMyEditView::ReplaceSelWithUndo(std::u16string_view text)
{
    if (!fitsLimit(static_cast<int>(text.size()))) {
        replaceSel(text);   // refused as a whole; the control reports it
        return false;
    }
    m_undo.RecordDeleteSelection();
    m_undo.RecordInsert(text, false);
    if (m_bBatchReplace)
        buffer().replaceSel(text);   // Replace All shows and scrolls once, at its end
    else
        replaceSel(text);
    return true;
}

bool CMyEditView::ReplaceSelWithUndo(const QString& text)
{
    return ReplaceSelWithUndo(platform::utf16View(text));
}

void CMyEditView::showHistoryStep()
{
    // Undo and redo change the buffer directly; the control takes up the new selection at
    // once (for the status bar and the input method) and scrolls the caret into view.
    setSel(buffer().anchor(), buffer().caret());
    scrollCaret();
}

void CMyEditView::OnEditUndo()
{
    if (m_undo.Undo())
        showHistoryStep();
}

void CMyEditView::OnEditRedo()
{
    if (m_undo.Redo())
        showHistoryStep();
}

void CMyEditView::OnEditCut()
{
    m_undo.RecordDeleteSelection();
    cut();
}

void CMyEditView::OnEditCopy()
{
    copy();
}

void CMyEditView::OnEditPaste()
{
    // Read once: what is recorded is what is inserted, even if the clipboard changes.
    const QString text = clipboardText();
    if (text.isEmpty()) {
        // Nothing to insert, but the selection still goes, recorded like any deletion.
        m_undo.RecordDeleteSelection();
        clear();
        return;
    }
    ReplaceSelWithUndo(text);
}

void CMyEditView::OnEditClear()
{
    m_undo.RecordDeleteSelection();
    clear();
}

void CMyEditView::OnEditSelectAll()
{
    setSel(0, -1);
}

void CMyEditView::OnUpdateEditUndo(CmdUI& ui)
{
    ui.enable(m_undo.CanUndo());
}

void CMyEditView::OnUpdateEditRedo(CmdUI& ui)
{
    ui.enable(m_undo.CanRedo());
}

void CMyEditView::OnUpdateNeedSel(CmdUI& ui)
{
    int start = 0, end = 0;
    getSel(&start, &end);
    ui.enable(start != end);
}

void CMyEditView::OnUpdateNeedText(CmdUI& ui)
{
    ui.enable(textLength() != 0);
}

void CMyEditView::OnUpdateNeedClip(CmdUI& ui)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ui.enable(data && data->hasText());
}
