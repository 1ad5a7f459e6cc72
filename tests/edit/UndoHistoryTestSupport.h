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

    // One unit from the keyboard, recorded as the view records it before the control acts.
    void type(char16_t c)
    {
        if (c == platform::TextBuffer::kBackspace) {
            backspace();
            return;
        }
        const std::u16string_view text = platform::TextBuffer::typedText(c);
        if (text.empty())
            return;
        history.RecordDeleteSelection();
        history.RecordInsert(text, edit::extendsTypingRun(c));
        buffer.replaceSel(text);
    }

    void type(std::u16string_view units)
    {
        for (char16_t c : units)
            type(c);
    }

    void backspace() { deleteByKey(CUndoHistory::kKeyBackspace); }
    void deleteKey() { deleteByKey(CUndoHistory::kKeyDelete); }

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

private:
    void deleteByKey(int key)
    {
        history.RecordKeyDelete(key);
        int s = 0, e = 0;
        buffer.keyDeletionRange(key == CUndoHistory::kKeyDelete, &s, &e);
        buffer.replace(s, e, u"");
    }
};

} // namespace quillet_test
