#include "edit/UndoHistory.h"

#include "platform/editctl/TextBuffer.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace {

// Gives a string's memory back, not only its length: the text of a change is held in one
// place, and a record whose text went back into the buffer should not keep its capacity.
void release(std::u16string& text)
{
    std::u16string().swap(text);
}

} // namespace

CUndoHistory::CUndoHistory(std::int32_t limit)
    : m_nLimit(std::max<std::int32_t>(1, limit))
{
}

CUndoHistory::~CUndoHistory()
{
    SetBuffer(nullptr);
}

void CUndoHistory::SetBuffer(platform::TextBuffer* buffer)
{
    if (m_pBuffer && m_nObserver != 0)
        m_pBuffer->removeObserver(m_nObserver);
    m_nObserver = 0;
    m_expected.reset();
    m_pBuffer = buffer;
#ifndef NDEBUG
    if (m_pBuffer) {
        m_nObserver = m_pBuffer->addObserver([this](const platform::TextBuffer::Change& c) {
            CheckChange(c.start, c.removed, c.inserted);
        });
    }
#endif
}

// ---- checking ----------------------------------------------------------------------------------

void CUndoHistory::ExpectDelete(int nStart, int nEnd)
{
    if (m_nObserver == 0)
        return;
    if (m_expected)
        m_expected->consistent = false;  // a second deletion before the first happened
    else
        m_expected = Expected{nStart, nEnd - nStart, 0, true};
}

void CUndoHistory::ExpectInsert(int nStart, int nLength)
{
    if (m_nObserver == 0)
        return;
    if (!m_expected)
        m_expected = Expected{nStart, 0, nLength, true};
    else if (m_expected->start == nStart && m_expected->inserted == 0)
        m_expected->inserted = nLength;  // the insertion that replaces the deleted range
    else
        m_expected->consistent = false;
}

void CUndoHistory::CheckChange(int start, int removed, int inserted)
{
    if (m_bWalking)
        return;
    const std::optional<Expected> expected = m_expected;
    m_expected.reset();
    if (!expected) {
        // A new or loaded text replaces everything; the view forgets its history then.
        if (start == 0 && m_pBuffer->length() == inserted)
            return;
    } else if (expected->consistent && expected->start == start && expected->removed == removed
               && expected->inserted == inserted) {
        return;
    }
    std::fprintf(stderr,
                 "undo record mismatch: the buffer replaced %d units at %d by %d units, "
                 "but the records made before it say ",
                 removed, start, inserted);
    if (!expected)
        std::fprintf(stderr, "nothing\n");
    else if (!expected->consistent)
        std::fprintf(stderr, "several changes that are not one replacement\n");
    else
        std::fprintf(stderr, "%d units at %d by %d units\n", expected->removed, expected->start,
                     expected->inserted);
    std::abort();
}

// ---- recording -------------------------------------------------------------------------------

void CUndoHistory::RecordInsert(std::u16string_view text, bool bMergeable)
{
    if (!m_pBuffer || text.empty())
        return;
    int s = 0;
    m_pBuffer->getSel(&s, nullptr);
    const int length = static_cast<int>(text.size());

    // Typing at the very end of the latest run extends it: one record per word, not per key.
    if (bMergeable && m_nTop > 0) {
        UndoRecord& last = m_records[static_cast<size_t>(m_nTop) - 1];
        if (last.nKind == UNDO_TYPING && last.nEnd == s) {
            ExpectInsert(s, length);
            last.nEnd += length;
            DiscardRedo();
            return;
        }
    }
    ExpectInsert(s, length);
    Append({bMergeable ? UNDO_TYPING : UNDO_INSERT, s, s + length, {}});
}

void CUndoHistory::RecordDelete(int nStart, int nEnd, bool bForward)
{
    if (!m_pBuffer)
        return;
    const int length = m_pBuffer->length();
    nStart = std::clamp(nStart, 0, length);
    nEnd = std::clamp(nEnd, 0, length);
    if (nStart >= nEnd)
        return;
    ExpectDelete(nStart, nEnd);
    Append({bForward ? UNDO_DELETE_FORWARD : UNDO_DELETE, nStart, nEnd,
            GetRangeText(nStart, nEnd - nStart)});
}

void CUndoHistory::RecordDeleteSelection()
{
    if (!m_pBuffer)
        return;
    int s = 0;
    int e = 0;
    m_pBuffer->getSel(&s, &e);
    if (s < e)
        RecordDelete(s, e, false);
}

void CUndoHistory::RecordKeyDelete(int nKey)
{
    if (!m_pBuffer || (nKey != kKeyBackspace && nKey != kKeyDelete))
        return;
    // The units the control's key removes, found by the control's own rule: the selection,
    // or one character (a CR LF pair and a surrogate pair are one) before or after the caret.
    int s = 0;
    int e = 0;
    m_pBuffer->getSel(&s, &e);
    const bool forward = nKey == kKeyDelete && s == e;
    m_pBuffer->keyDeletionRange(nKey == kKeyDelete, &s, &e);
    RecordDelete(s, e, forward);
}

// ---- walking ---------------------------------------------------------------------------------

bool CUndoHistory::Undo()
{
    if (!m_pBuffer || m_nTop < 1)
        return false;
    m_bWalking = true;
    --m_nTop;
    UndoRecord& r = m_records[static_cast<size_t>(m_nTop)];
    if (r.isInsertion()) {
        r.strText = GetRangeText(r.nStart, r.length());
        m_pBuffer->replace(r.nStart, r.nEnd, std::u16string_view());
        m_pBuffer->setSel(r.nStart, r.nStart);
    } else {
        m_pBuffer->replace(r.nStart, r.nStart, r.strText);
        // A Delete-key deletion leaves the caret in front of the text it restores, where the
        // key had left it; Backspace and a deleted selection leave it after.
        const int caret = r.nKind == UNDO_DELETE_FORWARD ? r.nStart : r.nEnd;
        m_pBuffer->setSel(caret, caret);
        release(r.strText);
    }
    m_bWalking = false;
    return true;
}

bool CUndoHistory::Redo()
{
    if (!m_pBuffer || m_nTop >= count())
        return false;
    m_bWalking = true;
    UndoRecord& r = m_records[static_cast<size_t>(m_nTop)];
    ++m_nTop;
    if (r.isInsertion()) {
        m_pBuffer->replace(r.nStart, r.nStart, r.strText);
        m_pBuffer->setSel(r.nEnd, r.nEnd);
        release(r.strText);
    } else {
        r.strText = GetRangeText(r.nStart, r.length());
        m_pBuffer->replace(r.nStart, r.nEnd, std::u16string_view());
        m_pBuffer->setSel(r.nStart, r.nStart);
    }
    m_bWalking = false;
    return true;
}

void CUndoHistory::Clear()
{
    std::vector<UndoRecord>().swap(m_records);
    m_nTop = 0;
    m_expected.reset();
}

std::u16string CUndoHistory::GetRangeText(int nStart, int nCount) const
{
    return m_pBuffer ? m_pBuffer->textRange(nStart, nCount) : std::u16string();
}

std::size_t CUndoHistory::memoryBytes() const
{
    std::size_t bytes = m_records.capacity() * sizeof(UndoRecord);
    for (const UndoRecord& r : m_records) {
        // Short strings live inside the record; only longer ones own a heap block.
        if (r.strText.capacity() > std::u16string().capacity())
            bytes += (r.strText.capacity() + 1) * sizeof(char16_t);
    }
    return bytes;
}

// ---- bookkeeping -------------------------------------------------------------------------------

void CUndoHistory::Append(UndoRecord record)
{
    DiscardRedo();
    m_records.push_back(std::move(record));
    ++m_nTop;
    TrimOldest();
    assert(m_nTop == count());
}

void CUndoHistory::DiscardRedo()
{
    if (count() > m_nTop)
        m_records.erase(m_records.begin() + m_nTop, m_records.end());
}

void CUndoHistory::TrimOldest()
{
    if (m_nTop < m_nLimit)
        return;
    // A tenth at a time, so that the shift of the array is paid once per many records.
    const std::int32_t n = std::max<std::int32_t>(1, m_nLimit / 10);
    m_records.erase(m_records.begin(), m_records.begin() + n);
    m_nTop -= n;
}
