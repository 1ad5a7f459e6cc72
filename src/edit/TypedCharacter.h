#pragma once
// How a typed unit is recorded in the undo history: what it inserts is the edit control's
// answer (TextBuffer::typedText); whether it extends the run being typed is the history's.

namespace edit {

// Letters, digits, symbols and everything else that makes up words extend the typing run
// ending at the caret, so that one undo step takes back a word rather than a key. Tab,
// space, the line end, DEL and the C0 and C1 controls start a record of their own. Surrogate
// halves extend the run: the two halves of a pair arrive one after the other and must end up
// in one record, or an undo step could split the pair. Format characters (ZWJ, ZWNJ) and
// unassigned code points extend it too, since the control inserts them as it inserts letters.
constexpr bool extendsTypingRun(char16_t c)
{
    return c > u' ' && !(c >= 0x7F && c <= 0x9F);
}

} // namespace edit
