#pragma once
// Where the caret is, for the status bar. The edit control reports a selection only as its
// ordered start and end, so which end is the caret is inferred from what moved since the
// last look: a memory each view keeps between calls. Qt-free.

#include <string>

namespace platform { class TextBuffer; }

namespace view {

// A view's memory of the last selection seen and which end the caret was.
struct CaretMemory {
    int prevSelStart = -1;
    int prevSelEnd = -1;
    int caretAtEnd = 1;  // 1: the caret is the selection's end; 0: its start
};

// Decides the caret from the selection (start <= end) and updates memory.
int inferCaret(int selStart, int selEnd, CaretMemory& memory);

// The line-and-column facts the position pane shows.
struct CaretPosition {
    long line = 1;        // 1-based
    long column = 1;      // 1-based, in UTF-16 units from the start of the line
    long lineCount = 1;
    char16_t charAtCaret = 0;  // the unit after the caret, 0 at the end of the text
};

// The position pane's text: line, column, count and the code after the caret.
std::u16string formatPositionPane(const CaretPosition& position);

} // namespace view
