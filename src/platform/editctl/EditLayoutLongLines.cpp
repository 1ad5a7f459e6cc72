// Long lines of EditLayout: their pieces, the running sums of piece widths, their wrapped
// rows, and the layouts of single pieces and rows.
#include "platform/editctl/EditLayout.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/LinePieces.h"
#include "platform/editctl/RowMap.h"

#include <QFontMetricsF>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr std::uint64_t kSegmentKey = std::uint64_t(1) << 63;
constexpr qreal kUnwrappedWidth = 8.0e6;
// A window of text wide enough for one row, however narrow its units are.
constexpr int kRowWindow = pieces::kPieceMax * 2 + 8;

bool isHighSurrogate(char16_t c) { return (c & 0xFC00) == 0xD800; }
bool isLowSurrogate(char16_t c) { return (c & 0xFC00) == 0xDC00; }
bool isHangingSpace(char16_t c) { return c == u' ' || c == 0x3000; }

// Positions are snapped to the 1/64 pixel the shaper counts in, so that a sum that falls a
// hair short of a stop reaches the same stop here as in a shaped piece.
qreal snapped(qreal x)
{
    return std::round(x * 64) / 64;
}

// The stop a tab at x reaches, as the shaper finds it on a line's own grid: it counts x in
// 1/64 of a stop, rounded, so that x less than 1/128 of a stop short of one already counts
// as there, and the tab goes on to the stop after it.
qreal nextTabStop(qreal x, qreal tab)
{
    const long long units = std::llround(std::max<qreal>(0, x) * 64);
    const long long stop = std::max<long long>(1, std::llround(tab * 64));
    const long long inSixtyFourths = (units * 64 + stop / 2) / stop;
    return static_cast<qreal>((inSixtyFourths >> 6) + 1) * tab;
}

qreal tabPhase(qreal x, qreal tab)
{
    const qreal phase = std::fmod(snapped(x), tab);
    return phase < 1.0 / 64 || phase > tab - 1.0 / 64 ? 0 : phase;
}

// Scripts whose letters join, reorder or stack, so that a run of them is only as wide as it
// is shaped: Hebrew to the Arabic extensions, the Indic scripts to Myanmar, Hangul jamo,
// Khmer and Mongolian, the blocks of South and Southeast Asia after them, the presentation
// forms of Hebrew and Arabic, and the historic scripts of the supplementary plane.
bool isJoiningScript(char32_t c)
{
    if (c < 0x0590)
        return false;
    return (c <= 0x08FF) || (c >= 0x0900 && c <= 0x109F) || (c >= 0x1100 && c <= 0x11FF)
           || (c >= 0x1780 && c <= 0x18AF) || (c >= 0x1900 && c <= 0x1CFF) || (c >= 0xA800 && c <= 0xABFF)
           || (c >= 0xD7B0 && c <= 0xD7FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)
           || (c >= 0x10A00 && c <= 0x11FFF) || (c >= 0x1E800 && c <= 0x1EEFF);
}

// Kana, ideographs, Hangul syllables, CJK punctuation and full-width forms: measured one by
// one, they are as wide as shaped, and nothing joins them (their combining marks excepted).
bool isPlainCjk(char16_t c)
{
    return (c >= 0x3000 && c <= 0x3029) || (c >= 0x3030 && c <= 0x3098) || (c >= 0x309B && c <= 0x9FFF)
           || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xFF01 && c <= 0xFF9D);
}

// Units measured together at most: long enough for a word, short enough to shape quickly.
constexpr size_t kMeasuredRunMax = 64;
// Measured runs remembered; past this many they are forgotten and measured again.
constexpr size_t kMeasuredRunsKept = 16384;

// The end of the stretch from `at` that is measured as one: a grapheme cluster of more than
// one code point (a base with its marks, an emoji sequence), or a run of letters of a
// joining script with the clusters in it. `at` itself when the code point there counts
// alone. Ends at `limit` and within kMeasuredRunMax units.
size_t measuredRunEnd(std::u16string_view text, size_t at, size_t limit)
{
    const auto next = [&](size_t q) {
        return q + (isHighSurrogate(text[q]) && q + 1 < limit && isLowSurrogate(text[q + 1]) ? 2 : 1);
    };
    const auto joins = [&](size_t q) {
        const char16_t c = text[q];
        if (isHighSurrogate(c) && q + 1 < text.size() && isLowSurrogate(text[q + 1]))
            return isJoiningScript(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[q + 1] - 0xDC00));
        return isJoiningScript(c);
    };
    // Tabs and control boxes keep their own widths, whatever follows them.
    const auto own = [&](size_t q) { return text[q] == u'\t' || isShownAsSymbol(text[q]); };
    size_t q = next(at);
    if (own(at) || (!joins(at) && (q >= limit || pieces::isSafeCut(text, q))))
        return at;
    size_t last = at;
    while (q < limit && q - at < kMeasuredRunMax && !own(q) && (!pieces::isSafeCut(text, q) || joins(q))) {
        last = q;
        q = next(q);
    }
    // Spaces after such letters are drawn from the font of those letters.
    if (joins(last)) {
        while (q < limit && q - at < kMeasuredRunMax && text[q] == u' ')
            ++q;
    }
    return q;
}

} // namespace

qreal EditLayout::tabPhaseAt(qreal x) const
{
    return tabPhase(x, tabDistance());
}

bool EditLayout::isLong(int line) const
{
    return m_buffer.lineEnd(line) - m_buffer.lineIndex(line) > pieces::kLongLine;
}

EditLayout::LongLine& EditLayout::longLine(int line)
{
    auto it = m_longLines.find(line);
    if (it == m_longLines.end()) {
        auto made = std::make_unique<LongLine>();
        buildPieces(*made, m_buffer.lineIndex(line));
        it = m_longLines.emplace(line, std::move(made)).first;
    }
    LongLine& ll = *it->second;
    if (wraps() && !ll.rowsKnown)
        computeRows(ll, line);
    return ll;
}

size_t EditLayout::pieceRecordBytes() const
{
    size_t bytes = 0;
    for (const auto& [line, ll] : m_longLines) {
        bytes += sizeof(LongLine) + ll->pieces.capacity() * sizeof(Piece) + ll->x.capacity() * sizeof(double)
                 + ll->rowStarts.capacity() * sizeof(int) + ll->rowIds.capacity() * sizeof(std::uint64_t);
    }
    return bytes + m_advances.capacity() * sizeof(float);
}

void EditLayout::dropLongLine(std::unordered_map<int, std::unique_ptr<LongLine>>::iterator it)
{
    for (const Piece& piece : it->second->pieces)
        forget(kSegmentKey | piece.id);
    for (std::uint64_t id : it->second->rowIds)
        forget(kSegmentKey | id);
    m_longLines.erase(it);
}

// ---- widths of units ----------------------------------------------------------------------

// The advance of the code point at text[at] measured on its own; 0 for the second unit of a
// pair. Tabs are the callers' business.
qreal EditLayout::unitAdvance(std::u16string_view text, size_t at)
{
    const char16_t c = text[at];
    if (isHighSurrogate(c) && at + 1 < text.size() && isLowSurrogate(text[at + 1])) {
        const char32_t point = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[at + 1] - 0xDC00);
        const auto found = m_pairAdvances.find(point);
        if (found != m_pairAdvances.end())
            return found->second;
        const float advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(QString::fromUcs4(&point, 1)));
        m_pairAdvances.emplace(point, advance);
        return advance;
    }
    if (isLowSurrogate(c) && at > 0 && isHighSurrogate(text[at - 1]))
        return 0;
    if (m_advances.empty())
        m_advances.assign(0x10000, std::numeric_limits<float>::quiet_NaN());
    float& advance = m_advances[c];
    if (std::isnan(advance))
        advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(QChar(displayCharFor(c))));
    return advance;
}

// The advance of a run that only shaping measures right, as the font and its fallbacks
// shape it on its own. The spaces that end it are counted as wide as one space after its
// last code point, so that a word is shaped once, whatever follows it; *word is the advance
// without those spaces.
qreal EditLayout::runAdvance(std::u16string_view run, qreal* word)
{
    size_t wordEnd = run.size();
    while (wordEnd > 1 && run[wordEnd - 1] == u' ')
        --wordEnd;
    const qreal advance = shapedAdvance(run.substr(0, wordEnd));
    if (word)
        *word = advance;
    if (wordEnd == run.size())
        return advance;
    // One space after the last code point, drawn from the same font.
    size_t last = wordEnd - 1;
    if (last > 0 && isLowSurrogate(run[last]) && isHighSurrogate(run[last - 1]))
        --last;
    std::u16string spaced(run.substr(last, wordEnd - last));
    const qreal alone = shapedAdvance(spaced);
    spaced += u' ';
    return advance + static_cast<qreal>(run.size() - wordEnd) * (shapedAdvance(spaced) - alone);
}

qreal EditLayout::shapedAdvance(std::u16string_view run)
{
    std::u16string key(run);
    const auto found = m_runAdvances.find(key);
    if (found != m_runAdvances.end())
        return found->second;
    if (m_runAdvances.size() >= kMeasuredRunsKept)
        m_runAdvances.clear();
    const QString shown = QString::fromUtf16(run.data(), static_cast<qsizetype>(run.size()));
    const float advance = static_cast<float>(QFontMetricsF(m_font).horizontalAdvance(shown));
    m_runAdvances.emplace(std::move(key), advance);
    return advance;
}

// ---- pieces -------------------------------------------------------------------------------

void EditLayout::buildPieces(LongLine& ll, int lineStart)
{
    const int line = m_buffer.lineFromChar(lineStart);
    ll.length = m_buffer.lineEnd(line) - lineStart;
    const std::u16string text = m_buffer.textRange(lineStart, ll.length);
    std::vector<int> starts;
    pieces::splitIntoPieces(text, 0, text.size(), starts);
    ll.pieces.resize(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        ll.pieces[i].start = starts[i];
        ll.pieces[i].id = m_nextId++;
    }
    ll.x.assign(ll.pieces.size() + 1, 0);
    ll.validX = 0;
    if (wraps())
        return;   // rows are found from the text itself; the widths are measured when unwrapped
    for (size_t i = 0; i < starts.size(); ++i)
        estimatePiece(ll, i, text, 0);
    pieceX(ll, ll.pieces.size());   // the whole width, for the horizontal scroll range
}

// Counts a piece with the widths of its units; text holds line offsets from textOffset on.
void EditLayout::estimatePiece(LongLine& ll, size_t piece, std::u16string_view text, int textOffset)
{
    Piece& p = ll.pieces[piece];
    const int end = piece + 1 < ll.pieces.size() ? ll.pieces[piece + 1].start : ll.length;
    const qreal tab = tabDistance();
    qreal x = 0;
    p.hasTab = false;
    p.lead = 0;
    const size_t limit = static_cast<size_t>(end - textOffset);
    for (int at = p.start - textOffset; at < end - textOffset; ++at) {
        const char16_t c = text[static_cast<size_t>(at)];
        // Marks from a fallback font, emoji sequences and joining letters are as wide as
        // they are shaped together, not as their code points measured one by one.
        const char16_t after = at + 1 < end - textOffset ? text[static_cast<size_t>(at) + 1] : u' ';
        if ((c >= 0x300 && !isPlainCjk(c)) || (after >= 0x300 && !isPlainCjk(after))) {
            if (const size_t runEnd = measuredRunEnd(text, static_cast<size_t>(at), limit); runEnd > static_cast<size_t>(at)) {
                x += runAdvance(text.substr(static_cast<size_t>(at), runEnd - static_cast<size_t>(at)));
                at = static_cast<int>(runEnd) - 1;
                continue;
            }
        }
        if (c == u'\t') {
            if (!p.hasTab) {
                // From the first tab on, x counts from the stop it reaches, which lies on
                // the tab grid whatever x the piece starts at.
                p.lead = static_cast<float>(x);
                p.hasTab = true;
                x = 0;
            } else {
                x = nextTabStop(x, tab);
            }
            continue;
        }
        x += unitAdvance(text, static_cast<size_t>(at));
    }
    if (p.hasTab)
        p.rest = static_cast<float>(x);
    else
        p.lead = static_cast<float>(x);
    p.shaped = false;
}

qreal EditLayout::pieceX(LongLine& ll, size_t piece)
{
    piece = std::min(piece, ll.pieces.size());
    if (ll.validX >= piece)
        return ll.x[piece];
    const qreal tab = tabDistance();
    for (size_t i = ll.validX; i < piece; ++i) {
        const Piece& p = ll.pieces[i];
        ll.x[i + 1] = p.hasTab ? nextTabStop(ll.x[i] + p.lead, tab) + p.rest : ll.x[i] + p.lead;
    }
    ll.validX = piece;
    if (piece == ll.pieces.size() && !wraps())
        m_widest = std::max(m_widest, ll.x[piece]);
    return ll.x[piece];
}

size_t EditLayout::pieceAtOffset(const LongLine& ll, int offset) const
{
    const auto it = std::upper_bound(ll.pieces.begin(), ll.pieces.end(), offset,
                                     [](int value, const Piece& p) { return value < p.start; });
    return it == ll.pieces.begin() ? 0 : static_cast<size_t>(it - ll.pieces.begin()) - 1;
}

size_t EditLayout::pieceAtX(LongLine& ll, qreal x)
{
    pieceX(ll, ll.pieces.size());
    const auto end = ll.x.begin() + static_cast<std::ptrdiff_t>(ll.pieces.size());
    const auto it = std::upper_bound(ll.x.begin(), end, x);
    return it == ll.x.begin() ? 0 : static_cast<size_t>(it - ll.x.begin()) - 1;
}

const QTextLayout& EditLayout::pieceLayout(LongLine& ll, int line, size_t piece)
{
    Piece& p = ll.pieces[piece];
    const qreal phase = p.hasTab ? tabPhaseAt(pieceX(ll, piece)) : 0;
    const std::uint64_t key = kSegmentKey | p.id;
    if (CacheEntry* entry = cached(key); entry && entry->phase == phase)
        return *entry->layout;

    const int end = piece + 1 < ll.pieces.size() ? ll.pieces[piece + 1].start : ll.length;
    auto layout = buildSegment(m_buffer.lineIndex(line) + p.start, end - p.start, phase, false);
    // The shaped width replaces the one counted from the units; later pieces move with it.
    const QTextLine textLine = layout->lineAt(0);
    // The advance leaves out white space at the end, which the next piece follows.
    const qreal advance = std::max(textLine.horizontalAdvance(), textLine.cursorToX(end - p.start));
    float lead = static_cast<float>(advance);
    float rest = 0;
    if (p.hasTab) {
        // Split so that the running sum lands exactly where this layout ends: the stop the
        // first tab reaches is taken as the sum counts it, whatever the shaper rounded.
        const int firstTab = static_cast<int>(layout->text().indexOf(QLatin1Char('\t')));
        const qreal start = pieceX(ll, piece);
        lead = static_cast<float>(textLine.cursorToX(firstTab));
        const qreal stop = nextTabStop(start + lead, tabDistance()) - start;
        rest = static_cast<float>(advance - stop);
    }
    if (lead != p.lead || rest != p.rest) {
        p.lead = lead;
        p.rest = rest;
        ll.validX = std::min(ll.validX, piece);   // x of the pieces after it
    }
    p.shaped = true;
    const QTextLayout& result = *layout;
    remember(key, std::move(layout), end - p.start, phase);
    return result;
}

std::unique_ptr<QTextLayout> EditLayout::buildSegment(int start, int length, qreal phase, bool wrapRow,
                                                      int preeditOffset, int preeditFrom, int preeditTo)
{
    const std::u16string units = m_buffer.textRange(start, length);
    QString text(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    int tabs = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        text[static_cast<qsizetype>(i)] = QChar(displayCharFor(units[i]));
        tabs += units[i] == u'\t';
    }
    auto layout = std::make_unique<QTextLayout>(text, m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    const qreal tab = tabDistance();
    const bool gridStops = tabs > 0 && phase > 0 && !wrapRow;
    if (gridStops) {
        // The tab grid of the line, seen from a piece that starts `phase` past a stop. The
        // shaper puts a tab past the last stop given on its own grid, which starts at the
        // piece, so the stops reach well past the piece's widest possible end: twice its
        // units counted alone, a whole stop for every tab, and a composition.
        qreal reach = 0;
        for (size_t i = 0; i < units.size(); ++i)
            reach += units[i] == u'\t' ? tab : unitAdvance(units, i);
        if (preeditOffset >= 0)
            reach += QFontMetricsF(m_font).horizontalAdvance(m_preedit);
        // Bounded for a font of huge glyphs and tiny stops; the shaper's own grid takes over.
        const int count = static_cast<int>(std::min<qreal>(std::ceil(2 * reach / tab) + tabs + 2, 16384));
        QList<QTextOption::Tab> stops;
        stops.reserve(count);
        for (int k = 1; k <= count; ++k)
            stops.append(QTextOption::Tab(k * tab - phase, QTextOption::LeftTab));
        option.setTabs(stops);
    }
    option.setTabStopDistance(tab);
    layout->setTextOption(option);
    if (preeditOffset >= 0 && !m_preedit.isEmpty()) {
        const int shownTo = preeditTo < 0 ? static_cast<int>(m_preedit.size()) : preeditTo;
        layout->setPreeditArea(std::clamp(preeditOffset, 0, length), m_preedit.mid(preeditFrom, shownTo - preeditFrom));
        // The formats of the part shown, where it stands in the layout.
        QList<QTextLayout::FormatRange> formats;
        for (const QTextLayout::FormatRange& range : m_preeditFormats) {
            const int from = std::max(range.start, preeditFrom);
            const int to = std::min(range.start + range.length, shownTo);
            if (from < to)
                formats.append({from - preeditFrom + preeditOffset, to - from, range.format});
        }
        layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    const auto lay = [&] {
        layout->beginLayout();
        QTextLine line = layout->createLine();
        if (line.isValid()) {
            line.setLineWidth(kUnwrappedWidth);
            line.setPosition(QPointF(0, m_ascent - line.ascent()));
        }
        layout->endLayout();
    };
    lay();
    if (gridStops && preeditOffset < 0) {
        // Given stops, the shaper takes a tab to the first one past x; in the line it would
        // go on to the next stop from x a hair short of one (see nextTabStop). Where the two
        // differ, every tab is given the very stop it reaches in the line.
        const QTextLine shaped = layout->lineAt(0);
        QList<QTextOption::Tab> exact;
        qreal landed = 0;
        qreal after = 0;
        bool differs = false;
        for (size_t i = 0; i < units.size(); ++i) {
            if (units[i] != u'\t')
                continue;
            const int at = static_cast<int>(i);
            const qreal before = shaped.cursorToX(at);
            const qreal end = shaped.cursorToX(at + 1);
            const qreal x = exact.isEmpty() ? before : landed + (before - after);
            const qreal stop = nextTabStop(x + phase, tab) - phase;
            differs = differs || std::abs((end - before) - (stop - x)) > 1.0 / 128;
            exact.append(QTextOption::Tab(stop, QTextOption::LeftTab));
            landed = stop;
            after = end;
        }
        if (differs) {
            option.setTabs(exact);
            layout->setTextOption(option);
            lay();
        }
    }
    return layout;
}

// Cuts the pieces the edit touched again, from the piece before it to the piece after it:
// the cuts at the edges of that stretch lie in unchanged text and stay safe.
void EditLayout::updateLongLine(LongLine& ll, int line, int offset, int removed, int inserted)
{
    const int delta = inserted - removed;
    const int oldLength = ll.length;
    const size_t first = pieceAtOffset(ll, std::max(0, offset - 1));
    const size_t last = pieceAtOffset(ll, std::min(oldLength - 1, offset + removed));
    const int from = ll.pieces[first].start;
    const int to = (last + 1 < ll.pieces.size() ? ll.pieces[last + 1].start : oldLength) + delta;
    for (size_t i = first; i <= last; ++i)
        forget(kSegmentKey | ll.pieces[i].id);

    ll.length = oldLength + delta;
    const std::u16string text = m_buffer.textRange(m_buffer.lineIndex(line) + from, to - from);
    std::vector<int> starts;
    pieces::splitIntoPieces(text, 0, text.size(), starts);

    std::vector<Piece> made(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        made[i].start = from + starts[i];
        made[i].id = m_nextId++;
    }
    ll.pieces.erase(ll.pieces.begin() + static_cast<std::ptrdiff_t>(first),
                    ll.pieces.begin() + static_cast<std::ptrdiff_t>(last + 1));
    for (size_t i = first; i < ll.pieces.size(); ++i)
        ll.pieces[i].start += delta;
    ll.pieces.insert(ll.pieces.begin() + static_cast<std::ptrdiff_t>(first), made.begin(), made.end());
    for (size_t i = first; i < first + made.size(); ++i)
        estimatePiece(ll, i, text, from);
    ll.x.resize(ll.pieces.size() + 1);
    ll.validX = std::min(ll.validX, first);

    if (ll.rowsKnown) {
        if (wraps())
            reflowRows(ll, line, offset, removed, inserted);
        else
            ll.rowsKnown = false;
    }
}

// ---- wrapped rows -------------------------------------------------------------------------

size_t EditLayout::rowAtOffset(const LongLine& ll, int offset) const
{
    const auto it = std::upper_bound(ll.rowStarts.begin(), ll.rowStarts.end(), offset);
    return it == ll.rowStarts.begin() ? 0 : static_cast<size_t>(it - ll.rowStarts.begin()) - 1;
}

void EditLayout::computeRows(LongLine& ll, int line)
{
    const std::u16string text = m_buffer.textRange(m_buffer.lineIndex(line), ll.length);
    for (std::uint64_t id : ll.rowIds)
        forget(kSegmentKey | id);
    ll.rowStarts.assign(1, 0);
    ll.rowIds.assign(1, m_nextId++);
    for (int start = nextRowStart(text, ll.length, 0, 0); start < ll.length;
         start = nextRowStart(text, ll.length, start, 0)) {
        ll.rowStarts.push_back(start);
        ll.rowIds.push_back(m_nextId++);
    }
    ll.rowsKnown = true;
}

// Where the row that starts at `start` ends: the last line-break opportunity before the
// units reach the wrap width (white space hangs past it), else the last safe cut, and never
// more than kPieceMax units on, so that a row of zero-width units stays short too.
// text holds line offsets [textOffset, textOffset + text.size()).
int EditLayout::nextRowStart(std::u16string_view text, int lineLength, int start, int textOffset)
{
    const qreal tab = tabDistance();
    const int limitEnd = std::min(lineLength, textOffset + static_cast<int>(text.size()));
    const auto at = [&](int offset) { return static_cast<size_t>(offset - textOffset); };
    // The last safe cut after start and not after q; where there is none (one cluster
    // longer than a row), q itself, with a pair kept whole.
    const auto cutBack = [&](int q) {
        for (int cut = q; cut > start; --cut) {
            if (pieces::isSafeCut(text, at(cut)))
                return cut;
        }
        if (q < limitEnd && isLowSurrogate(text[at(q)]) && isHighSurrogate(text[at(q - 1)]))
            return q - 1 > start ? q - 1 : q + 1;
        return q;
    };
    qreal x = 0;
    int lastBreak = -1;
    int q = start;
    while (q < limitEnd) {
        if (q > start && pieces::canBreakBefore(text, at(q)))
            lastBreak = q;
        if (q - start >= pieces::kPieceMax)
            return lastBreak > start + pieces::kPieceMax / 2 ? lastBreak : cutBack(q);
        const char16_t c = text[at(q)];
        const int step = isHighSurrogate(c) && q + 1 < limitEnd && isLowSurrogate(text[at(q + 1)]) ? 2 : 1;
        // A cluster or a word of a joining script counts as wide as it is shaped, as in an
        // unshaped piece; it goes on a row whole unless it is wider than a row.
        const char16_t after = q + 1 < limitEnd ? text[at(q + 1)] : u' ';
        if ((c >= 0x300 && !isPlainCjk(c)) || (after >= 0x300 && !isPlainCjk(after))) {
            const size_t runEnd = measuredRunEnd(text, at(q), at(limitEnd));
            const int runLength = static_cast<int>(runEnd - at(q));
            if (runLength > step && q + runLength - start <= pieces::kPieceMax) {
                // The spaces after a word hang past the wrap width, as everywhere else.
                qreal wordWidth = 0;
                const qreal runWidth = runAdvance(text.substr(at(q), runEnd - at(q)), &wordWidth);
                if (wordWidth <= m_wrapWidth) {
                    if (q > start && x + wordWidth > m_wrapWidth)
                        return lastBreak > start ? lastBreak : cutBack(q);
                    x += runWidth;
                    q += runLength;
                    continue;
                }
            }
        }
        const qreal w = c == u'\t' ? nextTabStop(x, tab) - x : unitAdvance(text, at(q));
        if (!isHangingSpace(c) && q > start && x + w > m_wrapWidth)
            return lastBreak > start ? lastBreak : cutBack(q);
        x += w;
        q += step;
    }
    return limitEnd == lineLength ? lineLength : cutBack(limitEnd);
}

// Re-flows the rows from two rows before the edit, until a row starts where an old one did
// in the unchanged text after the edit; from there on the old rows only move.
void EditLayout::reflowRows(LongLine& ll, int line, int offset, int removed, int inserted)
{
    const int delta = inserted - removed;
    const std::vector<int> oldStarts = std::move(ll.rowStarts);
    const std::vector<std::uint64_t> oldIds = std::move(ll.rowIds);
    const size_t editRow = [&] {
        const auto it = std::upper_bound(oldStarts.begin(), oldStarts.end(), offset);
        return it == oldStarts.begin() ? size_t(0) : static_cast<size_t>(it - oldStarts.begin()) - 1;
    }();
    const size_t from = editRow >= 2 ? editRow - 2 : 0;
    ll.rowStarts.assign(oldStarts.begin(), oldStarts.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    ll.rowIds.assign(oldIds.begin(), oldIds.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    ll.rowIds.back() = m_nextId++;

    const int lineStart = m_buffer.lineIndex(line);
    size_t old = from + 1;
    size_t resumeAt = oldStarts.size();
    int start = ll.rowStarts.back();
    while (true) {
        const int windowStart = std::max(0, start - 2);
        const std::u16string window = m_buffer.textRange(lineStart + windowStart,
                                                         std::min(kRowWindow, ll.length - windowStart));
        start = nextRowStart(window, ll.length, start, windowStart);
        if (start >= ll.length)
            break;
        while (old < oldStarts.size() && oldStarts[old] + delta < start)
            ++old;
        if (old < oldStarts.size() && oldStarts[old] + delta == start && oldStarts[old] >= offset + removed) {
            resumeAt = old;
            break;
        }
        ll.rowStarts.push_back(start);
        ll.rowIds.push_back(m_nextId++);
    }
    for (size_t i = from; i < resumeAt; ++i)
        forget(kSegmentKey | oldIds[i]);
    m_reflowFrom = from;
    m_reflowEnd = ll.rowStarts.size();
    m_reflowMovedRows = resumeAt == oldStarts.size() || m_reflowEnd - from != resumeAt - from;
    for (size_t i = resumeAt; i < oldStarts.size(); ++i) {
        ll.rowStarts.push_back(oldStarts[i] + delta);
        ll.rowIds.push_back(oldIds[i]);
    }
}

const QTextLayout& EditLayout::rowLayout(LongLine& ll, int line, size_t row)
{
    row = std::min(row, ll.rowStarts.size() - 1);
    const std::uint64_t key = kSegmentKey | ll.rowIds[row];
    if (CacheEntry* entry = cached(key))
        return *entry->layout;
    const int from = ll.rowStarts[row];
    const int to = row + 1 < ll.rowStarts.size() ? ll.rowStarts[row + 1] : ll.length;
    auto layout = buildSegment(m_buffer.lineIndex(line) + from, to - from, 0, true);
    const QTextLayout& result = *layout;
    remember(key, std::move(layout), to - from, 0);
    return result;
}

// ---- a composition in a wrapped long line -------------------------------------------------

// Units [from, from + length) of the long line with the composition shown at caretOffset.
std::u16string EditLayout::composedText(const LongLine& ll, int lineStart, int caretOffset, int from,
                                        int length) const
{
    const int added = static_cast<int>(m_preedit.size());
    const int to = std::min(from + length, ll.length + added);
    std::u16string text;
    text.reserve(static_cast<size_t>(std::max(0, to - from)));
    if (from < caretOffset)
        text += m_buffer.textRange(lineStart + from, std::min(to, caretOffset) - from);
    const int preeditFrom = std::clamp(from - caretOffset, 0, added);
    const int preeditTo = std::clamp(to - caretOffset, 0, added);
    for (int i = preeditFrom; i < preeditTo; ++i)
        text += static_cast<char16_t>(m_preedit[i].unicode());
    const int after = std::max(from, caretOffset + added);
    if (after < to)
        text += m_buffer.textRange(lineStart + after - added, to - after);
    return text;
}

// The rows the composition re-flows, found as reflowRows finds them after an edit: from the
// caret's row on, until a row starts where an old one did after the caret. Laid out once
// per change of the composition or the caret; nullptr when the caret's line is not a
// wrapped long line or nothing is composed.
EditLayout::ComposedRows* EditLayout::composedRows()
{
    if (m_preedit.isEmpty() || !wraps())
        return nullptr;
    const int caret = m_buffer.caret();
    if (m_composedRows && m_composedRows->caret == caret)
        return m_composedRows.get();
    const int line = m_buffer.lineFromChar(caret);
    if (!isLong(line))
        return nullptr;
    LongLine& ll = longLine(line);
    const int lineStart = m_buffer.lineIndex(line);
    const int at = std::clamp(caret - lineStart, 0, ll.length);
    const int added = static_cast<int>(m_preedit.size());
    const int length = ll.length + added;

    auto made = std::make_unique<ComposedRows>();
    made->caret = caret;
    made->line = line;
    made->caretOffset = at;
    made->firstRow = rowAtOffset(ll, at);
    made->endRow = ll.rowStarts.size();
    std::vector<int> starts(1, ll.rowStarts[made->firstRow]);
    // The first old row that starts after the row being found, in offsets with the composition.
    size_t old = made->firstRow + 1;
    const auto oldStart = [&](size_t row) { return ll.rowStarts[row] + added; };
    while (true) {
        const int start = starts.back();
        const int windowStart = std::max(0, start - 2);
        const std::u16string window = composedText(ll, lineStart, at, windowStart,
                                                   std::min(kRowWindow, length - windowStart));
        int next = nextRowStart(window, length, start, windowStart);
        if (old < ll.rowStarts.size() && next > oldStart(old) && old - made->firstRow >= kComposedRowsMax)
            next = oldStart(old);   // an old row start lies after the caret: a safe place to end
        if (next >= length)
            break;
        while (old < ll.rowStarts.size() && oldStart(old) < next)
            ++old;
        if (old < ll.rowStarts.size() && oldStart(old) == next) {
            made->endRow = old;
            break;
        }
        starts.push_back(next);
    }
    const auto lineOffset = [&](int offset) { return offset <= at ? offset : std::max(at, offset - added); };
    made->rows.resize(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        ComposedRow& row = made->rows[i];
        const int end = i + 1 < starts.size() ? starts[i + 1]
                        : made->endRow < ll.rowStarts.size() ? oldStart(made->endRow) : length;
        row.start = starts[i];
        row.from = lineOffset(starts[i]);
        row.to = lineOffset(end);
        row.preeditFrom = std::clamp(starts[i] - at, 0, added);
        row.preeditTo = std::clamp(end - at, 0, added);
    }
    // Rows that show the same text as before keep their layouts and need no drawing; a row
    // that shows the composition is always drawn again.
    ComposedRows* const before = m_replacedComposedRows.get();
    const bool comparable = before && before->textKept && before->caret == caret && before->firstRow == made->firstRow;
    const size_t drawn = std::max(made->drawn(), before ? before->drawn() : 0);
    made->changedRows = static_cast<int>(drawn);
    if (comparable) {
        made->changedRows = 0;
        for (size_t i = 0; i < drawn; ++i) {
            ComposedRow* now = i < made->rows.size() ? &made->rows[i] : nullptr;
            ComposedRow* then = i < before->rows.size() ? &before->rows[i] : nullptr;
            if (now && then && now->from == then->from && now->to == then->to && now->preeditFrom == now->preeditTo
                && then->preeditFrom == then->preeditTo) {
                now->layout = std::move(then->layout);
            } else {
                made->changedRows = static_cast<int>(i + 1);
            }
        }
    }
    m_replacedComposedRows.reset();
    m_composedRows = std::move(made);
    return m_composedRows.get();
}

void EditLayout::retireComposedRows(bool textKept)
{
    if (m_composedRows)
        m_replacedComposedRows = std::move(m_composedRows);
    if (m_replacedComposedRows && !textKept)
        m_replacedComposedRows->textKept = false;
}

const QTextLayout& EditLayout::composedRowLayout(ComposedRow& row, int lineStart, int caretOffset)
{
    if (!row.layout) {
        const bool composes = row.preeditFrom < row.preeditTo;
        row.layout = buildSegment(lineStart + row.from, row.to - row.from, 0, true,
                                  composes ? caretOffset - row.from : -1, row.preeditFrom, row.preeditTo);
    }
    return *row.layout;
}

} // namespace platform
