#pragma once
// A TextBuffer with its history, and the edits a view makes on it: the recording first,
// then the change the edit control makes for the same input.

#include "edit/TypedCharacter.h"
#include "edit/UndoHistory.h"
#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

namespace quillet_test {

class RecordingBuffer {
public:
    explicit RecordingBuffer(std::int32_t limit = CUndoHistory::kDefaultLimit) : history(limit)
    {
        history.SetBuffer(&buffer);
    }

    void setText(std::u16string_view text, int caret = 0)
    {
        buffer.setText(text);
        buffer.setSel(caret, caret);
    }

    // One unit from the keyboard.
    void type(char16_t c)
    {
        switch (edit::classifyTyped(c)) {
        case edit::TypedRecording::Nothing:
            return;
        case edit::TypedRecording::Backspace:
            backspace();
            return;
        case edit::TypedRecording::LineEnd:
            history.RecordDeleteSelection();
            history.RecordInsert(u"\r\n", false);
            buffer.replaceSel(u"\r\n");
            return;
        case edit::TypedRecording::Separate:
        case edit::TypedRecording::Typing:
            history.RecordDeleteSelection();
            history.RecordInsert(std::u16string_view(&c, 1),
                                 edit::classifyTyped(c) == edit::TypedRecording::Typing);
            buffer.replaceSel(std::u16string_view(&c, 1));
            return;
        }
    }

    void type(std::u16string_view units)
    {
        for (char16_t c : units)
            type(c);
    }

    void backspace()
    {
        history.RecordKeyDelete(CUndoHistory::kKeyBackspace);
        int s = 0, e = 0;
        buffer.getSel(&s, &e);
        if (s != e)
            buffer.clearSel();
        else
            buffer.replace(buffer.prevCharBoundary(s), s, u"");
    }

    void deleteKey()
    {
        history.RecordKeyDelete(CUndoHistory::kKeyDelete);
        int s = 0, e = 0;
        buffer.getSel(&s, &e);
        if (s != e)
            buffer.clearSel();
        else
            buffer.replace(s, buffer.nextCharBoundary(s), u"");
    }

    // What every command that inserts text does.
    void replaceSel(std::u16string_view text)
    {
        history.RecordDeleteSelection();
        history.RecordInsert(text, false);
        buffer.replaceSel(text);
    }

    void select(int start, int end) { buffer.setSel(start, end); }

    std::u16string text() const { return buffer.text(); }
    std::pair<int, int> sel() const
    {
        int s = -1, e = -1;
        buffer.getSel(&s, &e);
        return {s, e};
    }
    const UndoRecord& record(int i) const { return history.records()[static_cast<size_t>(i)]; }

    platform::TextBuffer buffer;
    CUndoHistory history;
};

} // namespace quillet_test
