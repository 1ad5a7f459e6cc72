#pragma once
// The text of the edit control: one UTF-16 buffer, its line index and its selection.
// Qt-free, so the undo history, find and every replace path can be tested without a window.
//
// Positions are UTF-16 code-unit indices from 0. Lines end only at the pair CR LF, which
// counts as two positions; a lone CR or LF is an ordinary character of its line.
// These are logical lines; the widget maps them to display rows when it wraps.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TextBuffer {
public:
    TextBuffer();
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // ---- text --------------------------------------------------------------------------
    // Number of UTF-16 units.
    int length() const;
    // The unit at pos; 0 when pos is outside [0, length).
    char16_t at(int pos) const;
    // The whole text as one string.
    std::u16string text() const;
    // count units from start, clipped to the text; empty when start is outside it.
    std::u16string textRange(int start, int count) const;
    // Replaces the whole text; the selection becomes (0, 0). Builds the line index.
    void setText(std::u16string_view text);

    // The one edit primitive: replaces [start, end) by text. start and end are clipped to
    // the text and ordered. The selection is moved as the edit shifts it (a selection
    // overlapping the replaced range collapses to its edges): the anchor and the caret each
    // stay put at or before start, land after the new text when strictly inside
    // (start, end), and shift by the change in length at or after end. An edit that removes
    // and inserts nothing changes nothing and tells no one. Observers are told after.
    void replace(int start, int end, std::u16string_view text);

    // ---- selection ---------------------------------------------------------------------
    // The anchor is where a selection began, the caret where it ends now (it may be before
    // the anchor). getSel reports them ordered, as the edit control does.
    void getSel(int* start, int* end) const;
    int anchor() const { return m_anchor; }
    int caret() const { return m_caret; }
    // Edit-control conventions: (0, -1) selects everything; a start of -1 removes the
    // selection, leaving the caret where it is; other negative or too large values are
    // clipped to the text. The anchor is start and the caret end, so start > end selects
    // backwards.
    void setSel(int start, int end);
    // Replaces the selection by text; the caret ends after the inserted text.
    void replaceSel(std::u16string_view text);
    // Deletes the selection; nothing happens when it is empty.
    void clearSel();
    std::u16string selectedText() const;

    // ---- typing ------------------------------------------------------------------------
    // The unit a Backspace key types; it deletes keyDeletionRange(false) instead.
    static constexpr char16_t kBackspace = 0x08;
    // The text a typed unit puts in place of the selection: CR LF for a CR or an LF, the unit
    // itself (a view of c) for TAB and every unit from U+0020, the C1 controls and each half
    // of a surrogate pair included; nothing for Backspace and the other controls.
    static std::u16string_view typedText(const char16_t& c);

    // ---- lines -------------------------------------------------------------------------
    // Number of lines: the number of CR LF pairs plus one (an empty text has one line).
    int lineCount() const;
    // First position of line; line -1 means the caret's line. -1 when line >= lineCount()
    // or line < -1.
    int lineIndex(int line) const;
    // Line that holds pos; pos -1 means the line of the selection start. A position past
    // the end gives the last line. Position of a CR of a CR LF and of its LF belong to the
    // line that the pair ends.
    int lineFromChar(int pos) const;
    // Length of the line that holds pos, without its CR LF. pos -1: the number of
    // unselected units on the lines that the selection touches.
    int lineLength(int pos) const;
    // Position right after the last unit of line (before its CR LF), or -1 for no line.
    int lineEnd(int line) const;

    // ---- character boundaries ----------------------------------------------------------
    // The boundary before pos that Backspace and Left move to: one unit, two for a CR LF
    // pair or a surrogate pair. 0 stays 0.
    int prevCharBoundary(int pos) const;
    // The boundary after pos that Delete and Right move to; length() stays length().
    int nextCharBoundary(int pos) const;
    // The units Backspace (forward false) or Delete (forward true) removes: the selection,
    // or without one the character before or after the caret, from the boundary above to
    // the caret. Empty (start == end) for Backspace at 0 and Delete at the end.
    void keyDeletionRange(bool forward, int* start, int* end) const;
    // Word boundaries for Ctrl+Left, Ctrl+Right and double-click (ICU word rules).
    int prevWordBoundary(int pos) const;
    int nextWordBoundary(int pos) const;
    // The word (or run of spaces, or single symbol) around pos, for double-click.
    void wordAt(int pos, int* start, int* end) const;
    // The sentence around pos (ICU sentence rules) within its line, without the line end; at
    // or past the end of the line, the sentence that ends it; an empty line holds none
    // (start = end = the line's start). A sentence reaching further than 65,536 units to
    // either side of pos is cut there.
    void sentenceAt(int pos, int* start, int* end) const;

    // ---- code points -------------------------------------------------------------------
    // Assistive technologies count characters as code points: a surrogate pair is one, a
    // lone surrogate one, a CR LF two. The pairs are indexed as the line ends are, so these
    // cost a binary search, never a walk over the text.
    int codePointCount() const;
    // Code points before pos (clipped to the text); a pos inside a surrogate pair counts as
    // the pair's start.
    int codePointsBefore(int pos) const;
    // Position of code point n (clipped to [0, codePointCount()]); the inverse of the above.
    int posOfCodePoint(int n) const;

    // ---- change notification ------------------------------------------------------------
    // Tells what one replace did: `removed` units at `start` were replaced by `inserted`.
    struct Change {
        int start;
        int removed;
        int inserted;
        int linesRemoved;   // CR LF pairs removed
        int linesInserted;  // CR LF pairs inserted
        // The units removed; valid only while the observers are told.
        std::u16string_view removedText;
    };
    using Observer = std::function<void(const Change&)>;
    // Returns an id for removeObserver. setText reports one change over the whole text.
    int addObserver(Observer observer);
    void removeObserver(int id);
    // Called after setSel moved the anchor or the caret, so that the control hears at once
    // of a selection set on the buffer directly (by the undo history, after its edit). How an
    // edit shifts the selection comes with its change notification.
    void setSelectionListener(std::function<void()> listener)
    {
        m_selectionListener = std::move(listener);
    }
    // Counts edits; any change of the text increases it.
    std::uint64_t revision() const { return m_revision; }

    // Verifies the line and pair indexes against the whole text; for tests. A build with
    // assertions checks after each edit what the edit touched, and everything now and then.
    bool checkInvariant() const;
    // Bytes held for the text, its line and pair indexes, the word and sentence windows and
    // the copy of removed text, without the observers; for tests and benchmarks that watch
    // the memory the text costs.
    std::size_t memoryBytes() const;

private:
    struct Impl;
    Impl* d;
    int m_anchor = 0;
    int m_caret = 0;
    std::uint64_t m_revision = 0;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserverId = 1;
    std::function<void()> m_selectionListener;

    void notify(const Change& change);
    // Copies [start, end) aside before an edit removes it, for the change notification.
    void keepRemoved(int start, int end);
    // Tells the selection listener when the selection is no longer anchor..caret.
    void selectionMovedFrom(int anchor, int caret);
    // The indexes agree with the text around the units [start, start + inserted) that an
    // edit has just put in; costs what the edit inserted, not the whole text.
    bool checkEdit(int start, int inserted) const;
};

} // namespace platform
