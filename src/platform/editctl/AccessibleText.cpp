#include "platform/editctl/AccessibleText.h"

#include <algorithm>
#include <utility>

#include <unicode/utf16.h>

namespace platform {

std::u16string AccessibleText::text(int start, int end) const
{
    start = std::clamp(start, 0, characterCount());
    end = std::clamp(end, 0, characterCount());
    if (start > end)
        std::swap(start, end);
    const int from = posOfOffset(start);
    return m_buffer.textRange(from, posOfOffset(end) - from);
}

bool AccessibleText::item(int offset, TextItem kind, ItemPlace place, TextRange* range) const
{
    const int count = characterCount();
    if (offset < 0 || offset > count) {
        *range = {-1, -1};
        return false;
    }
    const int length = m_buffer.length();
    TextRange found = itemAtPos(posOfOffset(offset), kind);
    if (place == ItemPlace::Before) {
        if (found.start == 0) {
            found = {0, 0};
        } else {
            // The unit before the item, moved off the low half of a surrogate pair.
            int pos = found.start - 1;
            if (pos > 0 && U16_IS_TRAIL(m_buffer.at(pos)) && U16_IS_LEAD(m_buffer.at(pos - 1)))
                --pos;
            found = itemAtPos(pos, kind);
        }
    } else if (place == ItemPlace::After) {
        const TextRange next = itemAtPos(found.end, kind);
        // Only the last line and paragraph may be empty items of their own, after a CR LF.
        const bool emptyAllowed = kind == TextItem::Line || kind == TextItem::Paragraph;
        if (next.start == found.end && next != found && (next.start < next.end || emptyAllowed))
            found = next;
        else
            found = {length, length};
    }
    *range = {offsetOfPos(found.start), offsetOfPos(found.end)};
    return true;
}

TextRange AccessibleText::itemAtPos(int pos, TextItem kind) const
{
    const int length = m_buffer.length();
    switch (kind) {
    case TextItem::Character: {
        if (pos >= length)
            return {length, length};
        const bool pair = U16_IS_LEAD(m_buffer.at(pos)) && U16_IS_TRAIL(m_buffer.at(pos + 1));
        return {pos, pos + (pair ? 2 : 1)};
    }
    case TextItem::Word:
        return wordAt(pos);
    case TextItem::Sentence:
        return sentenceAt(pos);
    case TextItem::Line:
        return rowAt(pos);
    case TextItem::Paragraph:
        return paragraphAt(pos);
    case TextItem::Whole:
        break;
    }
    return {0, length};
}

TextRange AccessibleText::rowAt(int pos) const
{
    const int row = m_rows.rowOfPos(pos);
    const int end = row + 1 < m_rows.rowCount() ? m_rows.rowStart(row + 1) : m_buffer.length();
    return {m_rows.rowStart(row), end};
}

TextRange AccessibleText::paragraphAt(int pos) const
{
    const int line = m_buffer.lineFromChar(pos);
    const int end = line + 1 < m_buffer.lineCount() ? m_buffer.lineIndex(line + 1) : m_buffer.length();
    return {m_buffer.lineIndex(line), end};
}

TextRange AccessibleText::wordAt(int pos) const
{
    const int length = m_buffer.length();
    if (pos >= length)
        return {length, length};
    const TextRange paragraph = paragraphAt(pos);
    const int lineEnd = m_buffer.lineEnd(m_buffer.lineFromChar(pos));
    if (pos >= lineEnd)
        return {lineEnd, paragraph.end};  // the CR LF
    TextRange word;
    m_buffer.wordAt(pos, &word.start, &word.end);
    return word;
}

TextRange AccessibleText::sentenceAt(int pos) const
{
    const int length = m_buffer.length();
    if (pos >= length)
        return {length, length};
    const TextRange paragraph = paragraphAt(pos);
    const int lineEnd = m_buffer.lineEnd(m_buffer.lineFromChar(pos));
    TextRange sentence;
    m_buffer.sentenceAt(pos, &sentence.start, &sentence.end);
    if (sentence.end == lineEnd)
        sentence.end = paragraph.end;  // the last sentence takes in the CR LF
    return sentence;
}

TextEdit AccessibleText::describe(const TextBuffer::Change& change) const
{
    // Reported from the unit before a high surrogate that the edit may have joined to a low
    // one or parted from it, to the unit after it if that is a low surrogate for the same
    // reason: those units themselves did not change.
    int start = change.start;
    int end = change.start + change.inserted;
    std::u16string removed(change.removedText);
    if (start > 0 && U16_IS_LEAD(m_buffer.at(start - 1))) {
        --start;
        removed.insert(removed.begin(), m_buffer.at(start));
    }
    if (U16_IS_TRAIL(m_buffer.at(end))) {
        removed.push_back(m_buffer.at(end));
        ++end;
    }
    return {offsetOfPos(start), std::move(removed), m_buffer.textRange(start, end - start)};
}

} // namespace platform
