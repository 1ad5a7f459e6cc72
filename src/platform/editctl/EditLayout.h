#pragma once
// Lays out the edit control's text in display rows: one QTextLayout per logical line, built
// when first needed and kept in a bounded cache. Without wrapping every line is one row;
// with wrapping a RowMap counts rows lazily. All x values are measured from the left edge of
// the text, before margins and horizontal scrolling.

#include "platform/editctl/TextBuffer.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>

#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {

class RowMap;

class EditLayout {
public:
    explicit EditLayout(const TextBuffer& buffer);
    ~EditLayout();
    EditLayout(const EditLayout&) = delete;
    EditLayout& operator=(const EditLayout&) = delete;

    // ---- settings (each one drops every layout) ------------------------------------------
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    void setTabStopDistance(int pixels);
    // A width of 0 or less turns wrapping off.
    void setWrapWidth(int pixels);
    bool wraps() const { return m_wrapWidth > 0; }
    int wrapWidth() const { return m_wrapWidth; }

    // Height of a display row: the font's height, whatever fallback fonts a line uses.
    int rowHeight() const { return m_rowHeight; }
    int ascent() const { return m_ascent; }

    // ---- keeping up with the text --------------------------------------------------------
    // Call after each change of the buffer, with the line count from before it.
    void textChanged(const TextBuffer::Change& change, int oldLineCount);
    // Forgets every layout and row count.
    void reset();

    // ---- rows ------------------------------------------------------------------------------
    int rowCount();
    // The row that holds pos (clipped to the text). A position at a wrap point belongs to the
    // row that begins there; the positions of a CR LF belong to the row it ends.
    int rowOfPos(int pos);
    // First position of row, row clipped to [0, rowCount()).
    int rowStart(int row);
    // Position after the last unit of row: before its CR LF, or where the next row begins
    // when the row ends by wrapping.
    int rowEnd(int row);
    // True when the row after row continues the same logical line.
    bool rowEndsByWrap(int row);
    int lineOfRow(int row);
    int firstRowOfLine(int line);

    // ---- x positions -----------------------------------------------------------------------
    // x of the boundary before pos in its row. With atRowEnd, a position at a wrap point is
    // measured at the end of the row before instead of the start of its own row.
    qreal xOfPos(int pos, bool atRowEnd = false);
    // The boundary in row nearest to x; never beyond the row's end.
    int posAtX(int row, qreal x);

    // ---- layouts ---------------------------------------------------------------------------
    // The cached layout of line. Its QTextLines are the line's rows; each one is placed at
    // y = rowInLine * rowHeight() + ascent() - its own ascent, so that baselines stay one
    // row height apart whatever fonts the line falls back to.
    QTextLayout& lineLayout(int line);
    // A fresh layout of line with `preedit` shown at offset (input-method composition);
    // `formats` are relative to the text with the preedit inserted.
    std::unique_ptr<QTextLayout> layoutWithPreedit(int line, int offset, const QString& preedit,
                                                   const QList<QTextLayout::FormatRange>& formats);

    // Widest line laid out so far without wrapping; it grows as lines are seen and is reset
    // with the layouts.
    qreal widestLine() const { return m_widest; }

private:
    struct CachedLine {
        std::unique_ptr<QTextLayout> layout;
        std::list<int>::iterator lruPos;
    };

    std::unique_ptr<QTextLayout> buildLayout(int line, int preeditOffset, const QString& preedit,
                                             const QList<QTextLayout::FormatRange>& extraFormats);
    void placeRows(QTextLayout& layout);
    void measureRows(int line, std::vector<int>& breaks);
    bool surelyFitsOneRow(int start, int end);
    qreal advanceBound(char16_t c);
    void dropCachedLines(int first, int removed, int delta);
    int rowInLine(int row, int* line);

    const TextBuffer& m_buffer;
    QFont m_font;
    int m_rowHeight = 1;
    int m_ascent = 0;
    int m_tabStop = 0;
    int m_wrapWidth = 0;
    qreal m_widest = 0;

    // Upper bounds of the advance of each BMP unit in the current font, filled as units are
    // met; negative for units whose width only shaping can tell (see surelyFitsOneRow).
    std::vector<float> m_advanceBounds;

    std::unique_ptr<RowMap> m_rows;
    std::unordered_map<int, CachedLine> m_cache;
    std::list<int> m_lru;   // most recently used line first
};

} // namespace platform
