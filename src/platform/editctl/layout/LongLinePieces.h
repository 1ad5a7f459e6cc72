#pragma once
// Lines longer than pieces::kLongLine units, without wrapping, laid out in pieces (see
// LinePieces.h) so that no operation shapes the whole of one. Each piece is shaped on its own
// when it is drawn or measured, and the x at which every piece starts is a running sum of
// piece widths. A piece not shaped yet counts with the widths of its units (UnitWidths);
// shaping replaces the sum with the exact width. An edit re-cuts and re-measures only the
// pieces it touched. A record costs well under one byte per unit: pieces of 96 to 256 units.
//
// Where such a line can look different from one shaped at once: beyond the cuts described in
// LinePieces.h, a piece not shaped yet may still count a little off where shaping a word
// depends on more than the word (kerning between words, a joining run longer than 64 units,
// contextual forms across a piece's edge); when such a piece is shaped, everything to its
// right moves by the difference.
//
// A composition is laid out in the caret's piece alone; the pieces after it are drawn that
// much further right while it is shown.

#include "platform/editctl/layout/LayoutCache.h"
#include "platform/editctl/layout/LineLayout.h"
#include "platform/editctl/layout/LongLineRecords.h"

#include <string_view>

namespace platform {

struct LayoutContext;

class LongLinePieces final : public LineLayout {
public:
    explicit LongLinePieces(LayoutContext& context);
    ~LongLinePieces() override;

    void rowBreaks(int line, std::vector<int>& breaks) override;
    qreal xOf(int line, int offset, bool atRowEnd) override;
    int offsetAt(int line, int rowInLine, qreal x) override;
    void rowParts(int line, int rowInLine, qreal left, qreal right, std::vector<RowPart>& parts) override;
    std::unique_ptr<ComposedLine> compose(int line, int caretOffset, const Preedit& preedit,
                                          const ReplacedComposition& replaced) override;
    bool followEdit(int line, int offset, int removed, int inserted, RowSpan* redrawn) override;
    void linesReplaced(int first, int removed, int inserted, int kept) override;
    void clear() override;
    std::string differenceFromFresh(int line, int from, int to) override;
    std::size_t recordBytes() const override;

private:
    class Composed;

    // A piece's width as a lead before its first tab and the rest after the tab stop that tab
    // reaches (or only a lead without a tab).
    struct Widths {
        float lead = 0;
        float rest = 0;
        bool hasTab = false;
        bool operator==(const Widths&) const = default;
    };
    struct Piece {
        int start = 0;
        Widths widths;
        bool shaped = false;      // widths measured from its layout, not counted from its units
        qreal phase = 0;          // the tab phase its layout in the cache was shaped with
        LayoutCache::Id id = 0;
    };
    struct Line {
        int length = 0;
        std::vector<Piece> pieces;
        std::vector<double> x;     // where each piece starts; one more entry: the line's width
        std::size_t validX = 0;    // entries of x up to this one are current
    };

    Line& record(int line);
    void cut(Line& ll, int line);
    void recut(Line& ll, int line, int offset, int removed, int inserted);
    // The widths a piece counts with before it is shaped; text holds line offsets from
    // textOffset on.
    Widths counted(const Line& ll, std::size_t piece, std::u16string_view text, int textOffset);
    int pieceEnd(const Line& ll, std::size_t piece) const;
    qreal pieceX(Line& ll, std::size_t piece);
    std::size_t pieceAtOffset(const Line& ll, int offset) const;
    std::size_t pieceAtX(Line& ll, qreal x);
    const QTextLayout& pieceLayout(Line& ll, int line, std::size_t piece);
    // The parts of the line between x = left and right. With a composition, the caret's
    // piece is drawn with `composed`, which shows it caretOffset units into the line, and the
    // pieces after it as much further right as that layout is wider.
    void partsBetween(Line& ll, int line, qreal left, qreal right, std::vector<RowPart>& parts,
                      const QTextLayout* composed = nullptr, int caretOffset = 0, int compositionLength = 0);

    LayoutContext& m_context;
    LongLineRecords<Line> m_lines;
};

} // namespace platform
