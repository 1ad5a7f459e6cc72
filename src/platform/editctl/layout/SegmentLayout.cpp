#include "platform/editctl/layout/SegmentLayout.h"

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/layout/LayoutContext.h"
#include "platform/editctl/layout/LineLayout.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Line width given to a segment: far wider than any text, within QTextLine's range.
constexpr qreal kUnwrappedWidth = 8.0e6;

} // namespace

std::unique_ptr<QTextLayout> layoutSegment(LayoutContext& context, int start, int length, qreal phase, Segment kind,
                                           const PreeditPart* preedit)
{
    const std::u16string units = context.buffer.textRange(start, length);
    QString text(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    int tabCount = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        text[static_cast<qsizetype>(i)] = QChar(displayCharFor(units[i]));
        tabCount += units[i] == u'\t';
    }
    auto layout = std::make_unique<QTextLayout>(text, context.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    const qreal tab = context.tabDistance();
    const bool gridStops = tabCount > 0 && phase > 0 && kind == Segment::Piece;
    if (gridStops) {
        // The tab grid of the line, seen from a piece that starts `phase` past a stop. The
        // shaper puts a tab past the last stop given on its own grid, which starts at the
        // piece, so the stops reach well past the piece's widest possible end: twice its
        // units counted alone, a whole stop for every tab, and a composition.
        qreal reach = 0;
        for (size_t i = 0; i < units.size(); ++i)
            reach += units[i] == u'\t' ? tab : context.widths.unitAdvance(units, i);
        if (preedit)
            reach += QFontMetricsF(context.font).horizontalAdvance(preedit->preedit->text);
        // Bounded for a font of huge glyphs and tiny stops; the shaper's own grid takes over.
        const int count = static_cast<int>(std::min<qreal>(std::ceil(2 * reach / tab) + tabCount + 2, 16384));
        QList<QTextOption::Tab> stops;
        stops.reserve(count);
        for (int k = 1; k <= count; ++k)
            stops.append(QTextOption::Tab(k * tab - phase, QTextOption::LeftTab));
        option.setTabs(stops);
    }
    option.setTabStopDistance(tab);
    layout->setTextOption(option);
    if (preedit && !preedit->preedit->text.isEmpty()) {
        const QString& composed = preedit->preedit->text;
        const int shownFrom = preedit->from;
        const int shownTo = preedit->to < 0 ? static_cast<int>(composed.size()) : preedit->to;
        const int at = std::clamp(preedit->at, 0, length);
        layout->setPreeditArea(at, composed.mid(shownFrom, shownTo - shownFrom));
        // The formats of the part shown, where it stands in the layout.
        QList<QTextLayout::FormatRange> formats;
        for (const QTextLayout::FormatRange& range : preedit->preedit->formats) {
            const int from = std::max(range.start, shownFrom);
            const int to = std::min(range.start + range.length, shownTo);
            if (from < to)
                formats.append({from - shownFrom + preedit->at, to - from, range.format});
        }
        layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    const auto lay = [&] {
        layout->beginLayout();
        QTextLine line = layout->createLine();
        if (line.isValid()) {
            line.setLineWidth(kUnwrappedWidth);
            line.setPosition(QPointF(0, context.ascent - line.ascent()));
        }
        layout->endLayout();
    };
    lay();
    if (gridStops && !preedit) {
        // Given stops, the shaper takes a tab to the first one past x; in the line it would
        // go on to the next stop from x a hair short of one (see tabs::nextStop). Where the
        // two differ, every tab is given the very stop it reaches in the line.
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
            const qreal stop = tabs::nextStop(x + phase, tab) - phase;
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

} // namespace platform
