#pragma once
// The edit control's text as assistive technologies read it: offsets count characters (code
// points, so a surrogate pair is one and a CR LF two), and the text is cut into items of a
// kind (characters, words, sentences, display rows, paragraphs) at, before and after an
// offset. Qt-free: built on the TextBuffer, its line and pair indexes, and the control's rows,
// so that no query walks, copies or measures more than the item it answers with.
//
// The items of each kind tile the text, each taking in the line end that closes it, so every
// offset lies in exactly one item:
//  - a character is one code point;
//  - a word is an ICU word segment of its line (a word, a run of spaces, a symbol); a line
//    end (CR LF) is an item of its own;
//  - a sentence is an ICU sentence of its line, the last one with the line end;
//  - a line is a display row, as the control counts lines (rows when it wraps), with its
//    line end, up to where the next row starts;
//  - a paragraph is the text between CR LF pairs, with the CR LF that ends it.
// The end of the text (offset == characterCount()) lies in an empty character, word and
// sentence there, and in the last line and paragraph (empty after a final CR LF).

#include "platform/editctl/TextBuffer.h"

#include <string>

namespace platform {

// The display rows of the text, as the control counts its lines.
class DisplayRows {
public:
    virtual ~DisplayRows() = default;
    virtual int rowCount() const = 0;
    // First position of row (0 <= row < rowCount()).
    virtual int rowStart(int row) const = 0;
    // The row that holds pos (0 <= pos <= length).
    virtual int rowOfPos(int pos) const = 0;
};

// The buffer's own lines as rows: what the control shows without word wrap.
class LogicalLines : public DisplayRows {
public:
    explicit LogicalLines(const TextBuffer& buffer) : m_buffer(buffer) {}
    int rowCount() const override { return m_buffer.lineCount(); }
    int rowStart(int row) const override { return m_buffer.lineIndex(row); }
    int rowOfPos(int pos) const override { return m_buffer.lineFromChar(pos); }

private:
    const TextBuffer& m_buffer;
};

enum class TextItem { Character, Word, Sentence, Line, Paragraph, Whole };
enum class ItemPlace { At, Before, After };

// A stretch of text, in offsets (code points) unless said otherwise.
struct TextRange {
    int start = 0;
    int end = 0;
    bool operator==(const TextRange&) const = default;
};

// What one change of the buffer did, in the terms an assistive technology is told: at offset,
// removed was replaced by inserted. When the change joins or splits a surrogate pair at its
// edges, the character there is told as removed and inserted again.
struct TextEdit {
    int offset = 0;
    std::u16string removed;
    std::u16string inserted;
};

class AccessibleText {
public:
    AccessibleText(const TextBuffer& buffer, const DisplayRows& rows)
        : m_buffer(buffer), m_rows(rows) {}

    int characterCount() const { return m_buffer.codePointCount(); }
    // Offset of a buffer position and back; both clip.
    int offsetOfPos(int pos) const { return m_buffer.codePointsBefore(pos); }
    int posOfOffset(int offset) const { return m_buffer.posOfCodePoint(offset); }

    // The text of [start, end) in offsets, clipped and ordered.
    std::u16string text(int start, int end) const;

    // The item of a kind at, before or after offset. False for an offset outside
    // [0, characterCount()]; *range is then (-1, -1). When there is no item before (or after)
    // the one at offset, *range is the empty stretch at the start (or end) of the text.
    bool item(int offset, TextItem kind, ItemPlace place, TextRange* range) const;

    // The change as told to assistive technologies; call from the buffer's observer, while
    // the change is being told.
    TextEdit describe(const TextBuffer::Change& change) const;

private:
    // The item of a kind that holds pos, in positions (pos at a code-point boundary).
    TextRange itemAtPos(int pos, TextItem kind) const;
    TextRange rowAt(int pos) const;
    TextRange paragraphAt(int pos) const;
    TextRange wordAt(int pos) const;
    TextRange sentenceAt(int pos) const;

    const TextBuffer& m_buffer;
    const DisplayRows& m_rows;
};

} // namespace platform
