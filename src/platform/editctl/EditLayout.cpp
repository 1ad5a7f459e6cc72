#include "platform/editctl/EditLayout.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/RowMap.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Enough layouts for several screens of rows; older ones are rebuilt when needed again.
constexpr size_t kCachedLines = 512;
// Line width given to unwrapped rows: far wider than any text, within QTextLine's range.
constexpr qreal kUnwrappedWidth = 8.0e6;
// Tab distance QTextOption uses when none is set.
constexpr qreal kDefaultTabDistance = 80;
// Marks an advance bound not computed yet, and a unit that needs shaping.
constexpr float kUnknownAdvance = -2;
constexpr float kNeedsShaping = -1;

// Units whose glyphs are as wide laid out in a line as measured alone: no combining, no
// contextual forms, no reordering. Full-width ones are never wider than one em in any font.
enum class SimpleWidth { No, AsMeasured, FullWidth, HalfWidth };

SimpleWidth simpleWidth(char16_t c)
{
    if (c >= 0x20 && c < 0x7F)
        return SimpleWidth::AsMeasured;                 // ASCII
    if (c >= 0xA0 && c <= 0xFF)
        return SimpleWidth::AsMeasured;                 // Latin-1
    if ((c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) || (c >= 0x309B && c <= 0x30FF))
        return SimpleWidth::FullWidth;                  // CJK punctuation, kana (no combining marks)
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF))
        return SimpleWidth::FullWidth;                  // ideographs
    if (c >= 0xAC00 && c <= 0xD7A3)
        return SimpleWidth::FullWidth;                  // Hangul syllables
    if ((c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6))
        return SimpleWidth::FullWidth;                  // full-width forms
    if (c >= 0xFF61 && c <= 0xFF9F)
        return SimpleWidth::HalfWidth;                  // half-width katakana
    return SimpleWidth::No;
}

} // namespace

EditLayout::EditLayout(const TextBuffer& buffer)
    : m_buffer(buffer)
    , m_rows(std::make_unique<RowMap>([this](int line, std::vector<int>& breaks) { measureRows(line, breaks); }))
{
    setFont(QFont());
}

EditLayout::~EditLayout() = default;

void EditLayout::setFont(const QFont& font)
{
    m_font = font;
    m_advanceBounds.clear();
    const QFontMetrics metrics(m_font);
    m_rowHeight = std::max(1, metrics.height());
    m_ascent = metrics.ascent();
    reset();
}

void EditLayout::setTabStopDistance(int pixels)
{
    m_tabStop = std::max(0, pixels);
    reset();
}

void EditLayout::setWrapWidth(int pixels)
{
    m_wrapWidth = std::max(0, pixels);
    reset();
}

void EditLayout::reset()
{
    m_cache.clear();
    m_lru.clear();
    m_widest = 0;
    m_rows->reset(m_buffer.lineCount());
}

// ---- keeping up with the text -------------------------------------------------------------

void EditLayout::textChanged(const TextBuffer::Change& change, int oldLineCount)
{
    const int delta = m_buffer.lineCount() - oldLineCount;
    // One unit of context on each side takes in a CR LF pair that the edit joined or split
    // at its edges; outside that span the old and new texts have the same lines.
    const int spanStart = std::max(0, change.start - 1);
    const int spanEnd = std::min(m_buffer.length(), change.start + change.inserted + 1);
    const int first = m_buffer.lineFromChar(spanStart);
    const int newTouched = m_buffer.lineFromChar(spanEnd) - first + 1;
    const int oldTouched = newTouched - delta;

    dropCachedLines(first, oldTouched, delta);
    m_rows->replaceLines(first, oldTouched, newTouched);
}

void EditLayout::dropCachedLines(int first, int removed, int delta)
{
    if (delta == 0) {
        // The usual keystroke: no line moves, so only the touched lines are forgotten.
        for (int line = first; line < first + removed; ++line) {
            const auto found = m_cache.find(line);
            if (found == m_cache.end())
                continue;
            m_lru.erase(found->second.lruPos);
            m_cache.erase(found);
        }
        return;
    }
    std::unordered_map<int, CachedLine> kept;
    for (auto it = m_lru.begin(); it != m_lru.end();) {
        const int line = *it;
        if (line >= first && line < first + removed) {
            m_cache.erase(line);
            it = m_lru.erase(it);
            continue;
        }
        const int newLine = line >= first + removed ? line + delta : line;
        CachedLine entry = std::move(m_cache.at(line));
        *it = newLine;
        entry.lruPos = it;
        kept.emplace(newLine, std::move(entry));
        ++it;
    }
    m_cache = std::move(kept);
}

// ---- rows ---------------------------------------------------------------------------------

int EditLayout::rowCount()
{
    return wraps() ? m_rows->rowCount() : m_buffer.lineCount();
}

int EditLayout::lineOfRow(int row)
{
    if (wraps())
        return m_rows->lineOfRow(row);
    return std::clamp(row, 0, m_buffer.lineCount() - 1);
}

int EditLayout::firstRowOfLine(int line)
{
    if (wraps())
        return m_rows->firstRowOf(line);
    return std::clamp(line, 0, m_buffer.lineCount());
}

int EditLayout::rowInLine(int row, int* line)
{
    *line = lineOfRow(row);
    if (!wraps())
        return 0;
    return std::clamp(row - m_rows->firstRowOf(*line), 0, m_rows->rowsIn(*line) - 1);
}

int EditLayout::rowOfPos(int pos)
{
    pos = std::clamp(pos, 0, m_buffer.length());
    const int line = m_buffer.lineFromChar(pos);
    if (!wraps())
        return line;
    const int offset = std::min(pos, m_buffer.lineEnd(line)) - m_buffer.lineIndex(line);
    return m_rows->firstRowOf(line) + m_rows->rowInLineOf(line, offset);
}

int EditLayout::rowStart(int row)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    return m_buffer.lineIndex(line) + (wraps() ? m_rows->rowStartOffset(line, r) : 0);
}

int EditLayout::rowEnd(int row)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    if (wraps() && r + 1 < m_rows->rowsIn(line))
        return m_buffer.lineIndex(line) + m_rows->rowStartOffset(line, r + 1);
    return m_buffer.lineEnd(line);
}

bool EditLayout::rowEndsByWrap(int row)
{
    if (!wraps() || row < 0 || row >= rowCount())
        return false;
    int line = 0;
    const int r = rowInLine(row, &line);
    return r + 1 < m_rows->rowsIn(line);
}

// ---- x positions --------------------------------------------------------------------------

qreal EditLayout::xOfPos(int pos, bool atRowEnd)
{
    pos = std::clamp(pos, 0, m_buffer.length());
    const int line = m_buffer.lineFromChar(pos);
    const int start = m_buffer.lineIndex(line);
    const int offset = std::clamp(pos - start, 0, m_buffer.lineEnd(line) - start);
    QTextLayout& layout = lineLayout(line);
    QTextLine row = layout.lineForTextPosition(offset);
    if (!row.isValid())
        return 0;
    if (atRowEnd && row.lineNumber() > 0 && offset == row.textStart())
        row = layout.lineAt(row.lineNumber() - 1);
    return row.cursorToX(offset);
}

int EditLayout::posAtX(int row, qreal x)
{
    int line = 0;
    const int r = rowInLine(row, &line);
    QTextLayout& layout = lineLayout(line);
    const QTextLine textLine = layout.lineAt(r);
    if (!textLine.isValid())
        return m_buffer.lineIndex(line);
    const int rowEndOffset = r + 1 < layout.lineCount() ? layout.lineAt(r + 1).textStart()
                                                        : layout.text().size();
    const int offset = std::clamp(textLine.xToCursor(x, QTextLine::CursorBetweenCharacters),
                                  textLine.textStart(), rowEndOffset);
    return m_buffer.lineIndex(line) + offset;
}

// ---- layouts ------------------------------------------------------------------------------

QTextLayout& EditLayout::lineLayout(int line)
{
    line = std::clamp(line, 0, m_buffer.lineCount() - 1);
    if (auto it = m_cache.find(line); it != m_cache.end()) {
        m_lru.splice(m_lru.begin(), m_lru, it->second.lruPos);
        return *it->second.layout;
    }
    auto layout = buildLayout(line, 0, QString(), {});
    QTextLayout& result = *layout;
    m_lru.push_front(line);
    m_cache.emplace(line, CachedLine{std::move(layout), m_lru.begin()});
    while (m_cache.size() > kCachedLines) {
        m_cache.erase(m_lru.back());
        m_lru.pop_back();
    }
    return result;
}

std::unique_ptr<QTextLayout> EditLayout::layoutWithPreedit(int line, int offset, const QString& preedit,
                                                           const QList<QTextLayout::FormatRange>& formats)
{
    line = std::clamp(line, 0, m_buffer.lineCount() - 1);
    return buildLayout(line, offset, preedit, formats);
}

std::unique_ptr<QTextLayout> EditLayout::buildLayout(int line, int preeditOffset, const QString& preedit,
                                                     const QList<QTextLayout::FormatRange>& extraFormats)
{
    const int start = m_buffer.lineIndex(line);
    const std::u16string units = m_buffer.textRange(start, m_buffer.lineEnd(line) - start);

    QString text(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    for (size_t i = 0; i < units.size(); ++i)
        text[static_cast<qsizetype>(i)] = QChar(displayCharFor(units[i]));

    auto layout = std::make_unique<QTextLayout>(text, m_font);
    QTextOption option;
    option.setWrapMode(wraps() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    if (m_tabStop > 0)
        option.setTabStopDistance(m_tabStop);
    layout->setTextOption(option);
    if (!preedit.isEmpty())
        layout->setPreeditArea(std::clamp(preeditOffset, 0, static_cast<int>(text.size())), preedit);
    if (!extraFormats.isEmpty())
        layout->setFormats(extraFormats);
    layout->setCacheEnabled(true);
    placeRows(*layout);
    return layout;
}

void EditLayout::placeRows(QTextLayout& layout)
{
    layout.beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wraps() ? m_wrapWidth : kUnwrappedWidth);
        // Align the baseline to the row grid; a taller fallback font must not push it down.
        line.setPosition(QPointF(0, row * m_rowHeight + m_ascent - line.ascent()));
        if (!wraps())
            m_widest = std::max(m_widest, line.naturalTextWidth());
    }
    layout.endLayout();
}

void EditLayout::measureRows(int line, std::vector<int>& breaks)
{
    const int start = m_buffer.lineIndex(line);
    const int end = m_buffer.lineEnd(line);
    if (start == end || surelyFitsOneRow(start, end))
        return;   // one row; no layout needed
    const QTextLayout& layout = lineLayout(line);
    for (int i = 1; i < layout.lineCount(); ++i)
        breaks.push_back(layout.lineAt(i).textStart());
}


// Whether the line [start, end) fits one row for certain, judged from an upper bound of its
// width. Shaping a line is by far the dearest part of counting rows, and most lines of prose
// are shorter than the window; those are settled without it. Any unit whose laid-out width
// could exceed its measured width sends the line to the full layout.
bool EditLayout::surelyFitsOneRow(int start, int end)
{
    // Room for kerning and rounding, which can only nudge a simple line's width.
    const qreal limit = m_wrapWidth * 0.97 - 2;
    const qreal tab = m_tabStop > 0 ? m_tabStop : kDefaultTabDistance;
    qreal bound = 0;
    for (int pos = start; pos < end; ++pos) {
        const char16_t c = m_buffer.at(pos);
        if (c == u'\t') {
            // The next stop after the bound is never before the next stop after the true x.
            bound = (std::floor(bound / tab) + 1) * tab;
        } else {
            const qreal advance = advanceBound(c);
            if (advance < 0)
                return false;
            bound += advance;
        }
        if (bound > limit)
            return false;
    }
    return true;
}

qreal EditLayout::advanceBound(char16_t c)
{
    if (m_advanceBounds.empty())
        m_advanceBounds.assign(0x10000, kUnknownAdvance);
    float& bound = m_advanceBounds[c];
    if (bound != kUnknownAdvance)
        return bound;

    const char16_t shown = displayCharFor(c);
    const QFontMetricsF metrics(m_font);
    // One em of the size actually used, which a reference ideograph of the CJK font that
    // lines fall back to shows even when the pixel size is fractional.
    const qreal em = std::max<qreal>(QFontInfo(m_font).pixelSize(), metrics.horizontalAdvance(QChar(0x6C34)));
    const qreal measured = metrics.horizontalAdvance(QChar(shown));
    switch (simpleWidth(shown)) {
    case SimpleWidth::AsMeasured:
        // Only glyphs of the font itself: a fallback font may be chosen by script in a line.
        bound = metrics.inFont(QChar(shown)) ? static_cast<float>(measured) : kNeedsShaping;
        break;
    case SimpleWidth::FullWidth:
        bound = static_cast<float>(std::max(measured, em));
        break;
    case SimpleWidth::HalfWidth:
        bound = static_cast<float>(std::max(measured, em / 2));
        break;
    case SimpleWidth::No:
        bound = kNeedsShaping;
        break;
    }
    return bound;
}

} // namespace platform
