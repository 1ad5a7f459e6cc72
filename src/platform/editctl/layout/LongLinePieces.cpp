#include "platform/editctl/layout/LongLinePieces.h"

#include "platform/editctl/CursorAtX.h"
#include "platform/editctl/LinePieces.h"
#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/SegmentLayout.h"
#include "platform/editctl/layout/ShownText.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace platform {

namespace {

// At most this many pieces are drawn in one row: together they stay far within the cache,
// so none of them is dropped while the row is drawn.
constexpr std::size_t kMostPartsInARow = 48;

} // namespace

// The caret's piece laid out with the composition in it.
class LongLinePieces::Composed final : public ComposedLine {
public:
    Composed(LongLinePieces& owner, int line, int caretOffset, const Preedit& preedit)
        : m_owner(owner)
        , m_line(line)
        , m_caretOffset(caretOffset)
        , m_preeditLength(static_cast<int>(preedit.text.size()))
    {
        Line& ll = owner.record(line);
        m_piece = owner.pieceAtOffset(ll, caretOffset);
        const int start = ll.pieces[m_piece].start;
        const int length = owner.pieceEnd(ll, m_piece) - start;
        const PreeditPart shown{&preedit, std::clamp(caretOffset - start, 0, length)};
        m_layout = layoutSegment(owner.m_context, owner.m_context.lineStart(line) + start, length,
                                 tabs::phaseAt(owner.pieceX(ll, m_piece), owner.m_context.tabDistance()),
                                 Segment::Piece, &shown);
    }

    int rows() const override { return 1; }

    void caret(int cursor, int* rowInLine, qreal* x) override
    {
        Line& ll = m_owner.record(m_line);
        const int start = ll.pieces[m_piece].start;
        const int offset = std::clamp(m_caretOffset - start, 0, m_owner.pieceEnd(ll, m_piece) - start)
                           + std::clamp(cursor, 0, m_preeditLength);
        const QTextLine textLine = m_layout->lineForTextPosition(offset);
        *rowInLine = 0;
        *x = m_owner.pieceX(ll, m_piece) + (textLine.isValid() ? textLine.cursorToX(offset) : 0);
    }

    void rowParts(int, qreal left, qreal right, std::vector<RowPart>& parts) override
    {
        m_owner.partsBetween(m_owner.record(m_line), m_line, left, right, parts, m_layout.get(), m_caretOffset,
                             m_preeditLength);
    }

private:
    LongLinePieces& m_owner;
    int m_line;
    int m_caretOffset;
    int m_preeditLength;
    std::size_t m_piece = 0;
    std::unique_ptr<QTextLayout> m_layout;
};

LongLinePieces::LongLinePieces(LayoutContext& context)
    : m_context(context)
{
}

LongLinePieces::~LongLinePieces() = default;

void LongLinePieces::clear()
{
    m_lines.clear();
}

LongLinePieces::Line& LongLinePieces::record(int line)
{
    return m_lines.get(line, [&](Line& ll) { cut(ll, line); });
}

std::size_t LongLinePieces::recordBytes() const
{
    return m_lines.bytes(
        [](const Line& ll) { return ll.pieces.capacity() * sizeof(Piece) + ll.x.capacity() * sizeof(double); });
}

// ---- pieces and their widths --------------------------------------------------------------

void LongLinePieces::cut(Line& ll, int line)
{
    ll.length = m_context.lineLength(line);
    const std::u16string text = m_context.buffer.textRange(m_context.lineStart(line), ll.length);
    std::vector<int> starts;
    pieces::splitIntoPieces(text, 0, text.size(), starts);
    ll.pieces.resize(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        ll.pieces[i].start = starts[i];
        ll.pieces[i].id = m_context.cache.newId();
    }
    ll.x.assign(ll.pieces.size() + 1, 0);
    ll.validX = 0;
    for (std::size_t i = 0; i < starts.size(); ++i)
        ll.pieces[i].widths = counted(ll, i, text, 0);
    pieceX(ll, ll.pieces.size());   // the whole width, for the horizontal scroll range
}

LongLinePieces::Widths LongLinePieces::counted(const Line& ll, std::size_t piece, std::u16string_view text,
                                               int textOffset)
{
    const int end = pieceEnd(ll, piece) - textOffset;
    const qreal tab = m_context.tabDistance();
    Widths widths;
    qreal x = 0;
    const std::size_t limit = static_cast<std::size_t>(end);
    for (int at = ll.pieces[piece].start - textOffset; at < end; ++at) {
        const std::size_t i = static_cast<std::size_t>(at);
        const char16_t c = text[i];
        // Marks from a fallback font, emoji sequences and joining letters are as wide as
        // they are shaped together, not as their code points measured one by one.
        if (UnitWidths::measuredTogether(c, at + 1 < end ? text[i + 1] : u' ')) {
            if (const std::size_t runEnd = UnitWidths::measuredRunEnd(text, i, limit); runEnd > i) {
                x += m_context.widths.runAdvance(text.substr(i, runEnd - i));
                at = static_cast<int>(runEnd) - 1;
                continue;
            }
        }
        if (c == u'\t') {
            if (!widths.hasTab) {
                // From the first tab on, x counts from the stop it reaches, which lies on
                // the tab grid whatever x the piece starts at.
                widths.lead = static_cast<float>(x);
                widths.hasTab = true;
                x = 0;
            } else {
                x = tabs::nextStop(x, tab);
            }
            continue;
        }
        x += m_context.widths.unitAdvance(text, i);
    }
    (widths.hasTab ? widths.rest : widths.lead) = static_cast<float>(x);
    return widths;
}

int LongLinePieces::pieceEnd(const Line& ll, std::size_t piece) const
{
    return piece + 1 < ll.pieces.size() ? ll.pieces[piece + 1].start : ll.length;
}

qreal LongLinePieces::pieceX(Line& ll, std::size_t piece)
{
    piece = std::min(piece, ll.pieces.size());
    if (ll.validX >= piece)
        return ll.x[piece];
    const qreal tab = m_context.tabDistance();
    for (std::size_t i = ll.validX; i < piece; ++i) {
        const Widths& w = ll.pieces[i].widths;
        ll.x[i + 1] = w.hasTab ? tabs::nextStop(ll.x[i] + w.lead, tab) + w.rest : ll.x[i] + w.lead;
    }
    ll.validX = piece;
    if (piece == ll.pieces.size())
        m_context.widest = std::max(m_context.widest, ll.x[piece]);
    return ll.x[piece];
}

std::size_t LongLinePieces::pieceAtOffset(const Line& ll, int offset) const
{
    const auto it = std::upper_bound(ll.pieces.begin(), ll.pieces.end(), offset,
                                     [](int value, const Piece& p) { return value < p.start; });
    return it == ll.pieces.begin() ? 0 : static_cast<std::size_t>(it - ll.pieces.begin()) - 1;
}

std::size_t LongLinePieces::pieceAtX(Line& ll, qreal x)
{
    pieceX(ll, ll.pieces.size());
    const auto end = ll.x.begin() + static_cast<std::ptrdiff_t>(ll.pieces.size());
    const auto it = std::upper_bound(ll.x.begin(), end, x);
    return it == ll.x.begin() ? 0 : static_cast<std::size_t>(it - ll.x.begin()) - 1;
}

const QTextLayout& LongLinePieces::pieceLayout(Line& ll, int line, std::size_t piece)
{
    Piece& p = ll.pieces[piece];
    const qreal phase = p.widths.hasTab ? tabs::phaseAt(pieceX(ll, piece), m_context.tabDistance()) : 0;
    if (const QTextLayout* kept = m_context.cache.find(p.id); kept && p.phase == phase)
        return *kept;

    const int end = pieceEnd(ll, piece);
    auto layout = layoutSegment(m_context, m_context.lineStart(line) + p.start, end - p.start, phase, Segment::Piece);
    // The shaped width replaces the one counted from the units; later pieces move with it.
    const QTextLine textLine = layout->lineAt(0);
    // The advance leaves out white space at the end, which the next piece follows.
    const qreal advance = std::max(textLine.horizontalAdvance(), textLine.cursorToX(end - p.start));
    Widths shaped{static_cast<float>(advance), 0, p.widths.hasTab};
    if (p.widths.hasTab) {
        // Split so that the running sum lands exactly where this layout ends: the stop the
        // first tab reaches is taken as the sum counts it, whatever the shaper rounded.
        const int firstTab = static_cast<int>(layout->text().indexOf(QLatin1Char('\t')));
        const qreal start = pieceX(ll, piece);
        shaped.lead = static_cast<float>(textLine.cursorToX(firstTab));
        const qreal stop = tabs::nextStop(start + shaped.lead, m_context.tabDistance()) - start;
        shaped.rest = static_cast<float>(advance - stop);
    }
    if (!(shaped == p.widths)) {
        p.widths = shaped;
        ll.validX = std::min(ll.validX, piece);   // x of the pieces after it
    }
    p.shaped = true;
    p.phase = phase;
    return m_context.cache.keep(p.id, std::move(layout), end - p.start);
}

// ---- edits --------------------------------------------------------------------------------

bool LongLinePieces::followEdit(int line, int offset, int removed, int inserted, RowSpan*)
{
    Line* ll = m_lines.find(line);
    if (!ll || ll->length - removed + inserted != m_context.lineLength(line))
        return false;
    recut(*ll, line, offset, removed, inserted);
    return true;
}

// Cuts the pieces the edit touched again, from the piece before it to the piece after it:
// the cuts at the edges of that stretch lie in unchanged text and stay safe.
void LongLinePieces::recut(Line& ll, int line, int offset, int removed, int inserted)
{
    const int delta = inserted - removed;
    const int oldLength = ll.length;
    const std::size_t first = pieceAtOffset(ll, std::max(0, offset - 1));
    const std::size_t last = pieceAtOffset(ll, std::min(oldLength - 1, offset + removed));
    const int from = ll.pieces[first].start;
    const int to = pieceEnd(ll, last) + delta;
    for (std::size_t i = first; i <= last; ++i)
        m_context.cache.forget(ll.pieces[i].id);

    ll.length = oldLength + delta;
    const std::u16string text = m_context.buffer.textRange(m_context.lineStart(line) + from, to - from);
    std::vector<int> starts;
    pieces::splitIntoPieces(text, 0, text.size(), starts);

    std::vector<Piece> made(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        made[i].start = from + starts[i];
        made[i].id = m_context.cache.newId();
    }
    ll.pieces.erase(ll.pieces.begin() + static_cast<std::ptrdiff_t>(first),
                    ll.pieces.begin() + static_cast<std::ptrdiff_t>(last + 1));
    for (std::size_t i = first; i < ll.pieces.size(); ++i)
        ll.pieces[i].start += delta;
    ll.pieces.insert(ll.pieces.begin() + static_cast<std::ptrdiff_t>(first), made.begin(), made.end());
    for (std::size_t i = first; i < first + made.size(); ++i)
        ll.pieces[i].widths = counted(ll, i, text, from);
    ll.x.resize(ll.pieces.size() + 1);
    ll.validX = std::min(ll.validX, first);
}

void LongLinePieces::linesReplaced(int first, int removed, int inserted, int kept)
{
    m_lines.linesReplaced(first, removed, inserted, kept, [&](const Line& ll) {
        for (const Piece& piece : ll.pieces)
            m_context.cache.forget(piece.id);
    });
}

// ---- geometry -----------------------------------------------------------------------------

void LongLinePieces::rowBreaks(int, std::vector<int>&)
{
    // Without wrapping a line is one row.
}

qreal LongLinePieces::xOf(int line, int offset, bool)
{
    Line& ll = record(line);
    const std::size_t p = pieceAtOffset(ll, offset);
    const QTextLayout& layout = pieceLayout(ll, line, p);
    return pieceX(ll, p) + layout.lineAt(0).cursorToX(offset - ll.pieces[p].start);
}

int LongLinePieces::offsetAt(int line, int, qreal x)
{
    Line& ll = record(line);
    const std::size_t p = pieceAtX(ll, x);
    const QTextLayout& layout = pieceLayout(ll, line, p);
    const qreal origin = pieceX(ll, p);
    const int from = ll.pieces[p].start;
    return from + cursorAtX(layout, layout.lineAt(0), x - origin, pieceEnd(ll, p) - from);
}

void LongLinePieces::rowParts(int line, int, qreal left, qreal right, std::vector<RowPart>& parts)
{
    partsBetween(record(line), line, left, right, parts);
}

void LongLinePieces::partsBetween(Line& ll, int line, qreal left, qreal right, std::vector<RowPart>& parts,
                                  const QTextLayout* composed, int caretOffset, int compositionLength)
{
    // The composition widens its piece; the pieces after it are drawn that much further on.
    const std::size_t composedPiece = composed ? pieceAtOffset(ll, caretOffset) : ll.pieces.size();
    qreal shift = 0;
    if (composed) {
        const qreal plain = pieceX(ll, composedPiece + 1) - pieceX(ll, composedPiece);
        const QTextLine composedLine = composed->lineAt(0);
        const qreal width = std::max(composedLine.horizontalAdvance(),
                                     composedLine.cursorToX(composedLine.textStart() + composedLine.textLength()));
        shift = std::max<qreal>(0, width - plain);
    }
    const int lineStart = m_context.lineStart(line);
    std::size_t p = pieceAtX(ll, left);
    if (p > composedPiece)
        p = std::max(composedPiece, pieceAtX(ll, left - shift));
    RowPart part;
    for (; p < ll.pieces.size() && parts.size() < kMostPartsInARow; ++p) {
        const qreal x = pieceX(ll, p) + (p > composedPiece ? shift : 0);
        if (x > right)
            break;
        // Pieces of no width (a run of combining marks, a zero-width font) all stand at
        // one x; past the first few they add nothing to see and would only be shaped.
        if (parts.size() >= 4 && p != composedPiece && pieceX(ll, p + 1) - pieceX(ll, p) < 0.5)
            continue;
        part.x = x;
        part.textStart = lineStart + ll.pieces[p].start;
        part.length = pieceEnd(ll, p) - ll.pieces[p].start;
        if (p == composedPiece) {
            part.layout = composed;
            part.compositionAt = caretOffset - ll.pieces[p].start;
            part.compositionLength = compositionLength;
        } else {
            part.layout = &pieceLayout(ll, line, p);
            part.compositionAt = -1;
            part.compositionLength = 0;
        }
        parts.push_back(part);
    }
}

std::unique_ptr<ComposedLine> LongLinePieces::compose(int line, int caretOffset, const Preedit& preedit,
                                                      const ReplacedComposition&)
{
    return std::make_unique<Composed>(*this, line, caretOffset, preedit);
}

// ---- the check ----------------------------------------------------------------------------

std::string LongLinePieces::differenceFromFresh(int line, int from, int to)
{
    const Line* found = m_lines.find(line);
    if (!found)
        return {};
    const Line& ll = *found;
    const std::string where = "line " + std::to_string(line) + ": ";
    if (ll.length != m_context.lineLength(line))
        return where + "its pieces hold " + std::to_string(ll.length) + " units, the line "
               + std::to_string(m_context.lineLength(line));
    if (ll.pieces.empty() || ll.pieces.front().start != 0 || ll.x.size() != ll.pieces.size() + 1
        || ll.validX > ll.pieces.size())
        return where + "its pieces do not start the line or their x do not match them";
    // The pieces around each end of the edit, a few on either side.
    const std::size_t low = pieceAtOffset(ll, std::max(0, from - 1));
    const std::size_t high = pieceAtOffset(ll, std::clamp(to, 0, ll.length - 1));
    const std::size_t begin = low > 0 ? low - 1 : 0;
    const std::size_t end = std::min(ll.pieces.size(), high + 2);
    const int lineStart = m_context.lineStart(line);
    const qreal tab = m_context.tabDistance();
    for (std::size_t i = begin; i < end; ++i) {
        if (i >= begin + 4 && i + 4 < end)
            i = end - 4;   // a long edit: its two ends
        const Piece& p = ll.pieces[i];
        const int pieceLength = pieceEnd(ll, i) - p.start;
        const std::string piece = where + "piece " + std::to_string(i) + " at " + std::to_string(p.start) + ": ";
        if (pieceLength <= 0 || pieceLength > pieces::kPieceMax)
            return piece + "it holds " + std::to_string(pieceLength) + " units";
        if (p.start > 0 && U16_IS_TRAIL(m_context.buffer.at(lineStart + p.start))
            && U16_IS_LEAD(m_context.buffer.at(lineStart + p.start - 1)))
            return piece + "it starts inside a surrogate pair";
        if (!p.shaped) {
            const std::u16string text = m_context.buffer.textRange(lineStart + p.start, pieceLength);
            if (!(counted(ll, i, text, p.start) == p.widths))
                return piece + "it counts other widths than its units have";
        }
        if (const QTextLayout* kept = m_context.cache.peek(p.id);
            kept && !showsText(*kept, m_context.buffer, lineStart + p.start, pieceLength))
            return piece + "its layout shows other text";
        const Widths& w = p.widths;
        if (i < ll.validX
            && ll.x[i + 1] != (w.hasTab ? tabs::nextStop(ll.x[i] + w.lead, tab) + w.rest : ll.x[i] + w.lead))
            return piece + "the x after it is not the sum of the widths before it";
    }
    return {};
}

} // namespace platform
