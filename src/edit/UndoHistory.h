#pragma once
// The multi-level undo and redo history of one edit view. Qt-free: it reads and changes a
// platform::TextBuffer, so every recording path can be tested without a window.
//
// Each record describes one insertion or one deletion by its range of UTF-16 units. A
// record is made just before the change it describes, from the selection as it is then.
// Undo and redo do not replay input: they re-delete or re-insert the recorded range in the
// buffer and move the top index.
//
// The text of a change lives in exactly one place: an applied insertion holds no text (the
// text is in the buffer), an undone one holds what undo took out; an applied deletion holds
// what was deleted, an undone one holds nothing.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform { class TextBuffer; }

// Kinds of record. The bit of value 2 marks an insertion; undo and redo test only that bit.
enum UndoKind : std::int32_t {
    UNDO_INSERT = 2,          // inserted text that never merges
    UNDO_TYPING = 3,          // a run of typed characters; later typing at its end extends it
    UNDO_DELETE = 4,          // a deleted selection, Backspace, Cut, Clear
    UNDO_DELETE_FORWARD = 5,  // the Delete key with an empty selection
};

struct UndoRecord {
    std::int32_t nKind = UNDO_INSERT;
    std::int32_t nStart = 0;   // first unit of the changed range
    std::int32_t nEnd = 0;     // one past its last unit
    std::u16string strText;    // the range's text while it is not in the buffer, else empty

    bool isInsertion() const { return (nKind & 2) != 0; }
    std::int32_t length() const { return nEnd - nStart; }
};

class CUndoHistory {
public:
    // The record limit a view uses: the largest 32-bit signed value.
    static constexpr std::int32_t kDefaultLimit = std::numeric_limits<std::int32_t>::max();
    // Keys that RecordKeyDelete understands, by their Windows virtual-key and character codes.
    static constexpr int kKeyBackspace = 0x08;
    static constexpr int kKeyDelete = 0x2E;

    // limit: applied records at which the oldest tenth (at least one) is dropped; values
    // below 1 are taken as 1.
    explicit CUndoHistory(std::int32_t limit = kDefaultLimit);
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // The buffer whose changes are recorded and reversed. Without one, every operation does
    // nothing. The history keeps its records when the buffer changes; Clear() them.
    // In a build with assertions, every change the buffer reports is compared with the
    // records made just before it (a deletion, an insertion, or a deletion then an insertion
    // at its start, as one replacement); a change that differs, or one nothing was recorded
    // for, ends the program with both printed. Only a replacement of the whole text (a new or
    // loaded text) needs no record.
    void SetBuffer(platform::TextBuffer* buffer);
    platform::TextBuffer* buffer() const { return m_pBuffer; }

    // ---- recording: called before the buffer changes ---------------------------------------
    // text is about to replace the selection (whose deletion the caller recorded first) and
    // is recorded at the selection's start. Nothing for an empty text. bMergeable: a typed
    // character that extends the typing run ending exactly at the selection's start.
    void RecordInsert(std::u16string_view text, bool bMergeable);
    // [nStart, nEnd) is about to be deleted; clipped to the buffer, nothing when empty.
    // bForward: the Delete key without a selection.
    void RecordDelete(int nStart, int nEnd, bool bForward);
    // The selection is about to be deleted; nothing when it is empty.
    void RecordDeleteSelection();
    // Backspace (kKeyBackspace) or Delete (kKeyDelete) is about to act: records the units
    // the edit control removes for it (TextBuffer::keyDeletionRange). Other keys, Backspace
    // at the start and Delete at the end of the text record nothing.
    void RecordKeyDelete(int nKey);

    // ---- walking the history ---------------------------------------------------------------
    // Reverses the newest applied record. An undone insertion leaves the caret where the text
    // was; an undone deletion puts the text back with the caret after it, or in front of it
    // for a Delete-key deletion. Returns false (and does nothing) when nothing can be undone.
    bool Undo();
    // Applies the oldest undone record again; the caret ends after re-inserted text or where
    // re-deleted text was. Returns false (and does nothing) when nothing can be redone.
    bool Redo();
    bool CanUndo() const { return m_nTop > 0; }
    bool CanRedo() const { return m_nTop < count(); }
    // Forgets every record and frees their memory.
    void Clear();

    // nCount units of the buffer from nStart, clipped to the buffer (NUL units included).
    std::u16string GetRangeText(int nStart, int nCount) const;

    // ---- inspection --------------------------------------------------------------------------
    int count() const { return static_cast<int>(m_records.size()); }
    // Number of applied records: [0, top) can be undone, [top, count) redone.
    int top() const { return m_nTop; }
    std::int32_t limit() const { return m_nLimit; }
    std::span<const UndoRecord> records() const { return m_records; }
    // Bytes the history holds: the record array's capacity and every record's string.
    std::size_t memoryBytes() const;

private:
    void Append(UndoRecord record);
    // Drops the records above the top: they can no longer be redone after a new change.
    void DiscardRedo();
    // Drops the oldest tenth of the records when the applied ones reach the limit.
    void TrimOldest();

    std::vector<UndoRecord> m_records;
    std::int32_t m_nTop = 0;
    std::int32_t m_nLimit;
    platform::TextBuffer* m_pBuffer = nullptr;

    // ---- checking the records against the buffer's changes ----------------------------------
    struct Expected {
        int start = 0;
        int removed = 0;
        int inserted = 0;
        bool consistent = true;  // false: the records made since the last change do not chain
    };
    void ExpectDelete(int nStart, int nEnd);
    void ExpectInsert(int nStart, int nLength);
    void CheckChange(int start, int removed, int inserted);
    int m_nObserver = 0;        // the buffer observer's id; 0 when not checking
    bool m_bWalking = false;    // Undo or Redo is changing the buffer itself
    std::optional<Expected> m_expected;
};
