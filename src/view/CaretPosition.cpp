#include "view/CaretPosition.h"

#include "res/Resource.h"
#include "res/Strings.h"

#include <cstdio>

namespace view {

int inferCaret(int selStart, int selEnd, CaretMemory& memory)
{
    const bool startMoved = selStart != memory.prevSelStart;
    const bool endMoved = selEnd != memory.prevSelEnd;
    int caret;
    if (!startMoved && !endMoved) {
        caret = memory.caretAtEnd ? selEnd : selStart;
    } else if (startMoved && !endMoved) {
        caret = selStart;
        memory.caretAtEnd = 0;
    } else if (!startMoved && endMoved) {
        caret = selEnd;
        memory.caretAtEnd = 1;
    } else if (selEnd == memory.prevSelStart) {
        // Both moved and the new end is the old start: the selection was extended
        // backwards across its anchor.
        caret = selStart;
        memory.caretAtEnd = 0;
    } else {
        caret = selEnd;
        memory.caretAtEnd = 1;
    }
    memory.prevSelStart = selStart;
    memory.prevSelEnd = selEnd;
    return caret;
}

std::u16string formatPositionPane(const CaretPosition& p)
{
    char code[8];
    std::snprintf(code, sizeof code, "%04X", unsigned(p.charAtCaret));
    auto number = [](long n) {
        const std::string s = std::to_string(n);
        return std::u16string(s.begin(), s.end());
    };
    const std::string hex(code);
    return res::formatStrings(res::loadString(res::IDS_POSITION_PANE_FORMAT),
                              {number(p.line), number(p.column), number(p.lineCount),
                               std::u16string(hex.begin(), hex.end())});
}

} // namespace view
