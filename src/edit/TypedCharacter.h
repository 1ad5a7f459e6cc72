#pragma once
// How a character that reaches the edit view from the keyboard is recorded before the edit
// control acts on it. The table follows what the control does with each unit: a character
// the control inserts is always recorded, one it ignores never is.

namespace edit {

enum class TypedRecording {
    Nothing,    // control characters below U+0020 that the control ignores (Escape, Ctrl+A)
    LineEnd,    // CR or LF: the control inserts CR LF for both; a record of its own
    Backspace,  // 8: the control deletes the selection or the character before the caret
    Separate,   // Tab, space, DEL and the C1 controls: inserted, a record of their own
    Typing,     // everything else: inserted, and extends the run being typed
};

// Surrogate halves count as typing: the two halves of a pair arrive one after the other and
// must end up in one record, or an undo step could split the pair. Format characters
// (ZWJ, ZWNJ) and unassigned code points merge too, since the control inserts them as it
// inserts letters; only the characters that separate words start records of their own.
constexpr TypedRecording classifyTyped(char16_t c)
{
    if (c == u'\r' || c == u'\n')
        return TypedRecording::LineEnd;
    if (c == 0x08)
        return TypedRecording::Backspace;
    if (c == u'\t' || c == u' ')
        return TypedRecording::Separate;
    if (c < 0x20)
        return TypedRecording::Nothing;
    if (c >= 0x7F && c <= 0x9F)
        return TypedRecording::Separate;
    return TypedRecording::Typing;
}

} // namespace edit
