// Drag and drop of text in the edit view: the geometry of drop boundaries, the drag of the
// selection (moved, or copied with Ctrl) and text dropped in from other windows, every change
// recorded in the undo history.
#include "edit/CMyEditView.h"

#include "platform/Utf16.h"
#include "platform/fx/DropData.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// Width of the band along the edges where a drag scrolls the view.
constexpr int kScrollBand = 11;
// Interval of the scroll steps while the pointer rests in the band.
constexpr int kScrollInterval = 50;

// Left and top edges included, right and bottom excluded.
bool inRect(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Text is taken from any drag but a file list, which also carries its names as text: files
// are opened by the frame, not pasted as names.
bool offersText(const QMimeData* data)
{
    return platform::fx::isTextDrop(data);
}

// The dropped text as the program inserts it: up to its first NUL, as a pasted text is.
QString droppedText(const QMimeData* data)
{
    QString text = data->text();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

// Cancels the running drag when a mouse button other than the left one is pressed, as the
// press of another button before the drag started does; the platform's drag would take that
// button's release as the drop.
class OtherButtonCancelsDrag : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            && static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
            QDrag::cancel();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void CMyEditView::initDragDrop()
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    // The cursor follows the pointer over the selection without a button held.
    viewport()->setMouseTracking(true);
    m_dragStartTimer.setSingleShot(true);
    connect(&m_dragStartTimer, &QTimer::timeout, this, [this] {
        if (m_bDragPending)
            StartDrag();
    });
    m_dragScrollTimer.setInterval(kScrollInterval);
    connect(&m_dragScrollTimer, &QTimer::timeout, this, &CMyEditView::dragScrollTick);
    m_dragRunner = [this](std::unique_ptr<QMimeData> data) {
        auto* drag = new QDrag(this);
        drag->setMimeData(data.release());
        // Put in place once the drag's own loop runs, so that it sees a press before the
        // drag's own filter does.
        OtherButtonCancelsDrag canceller;
        QTimer::singleShot(0, &canceller, [&canceller] { qApp->installEventFilter(&canceller); });
        const Qt::DropAction effect = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        qApp->removeEventFilter(&canceller);
        return effect;
    };
}

// ---- geometry -----------------------------------------------------------------------------

QPoint CMyEditView::PosFromChar(int i) const
{
    const QPoint p = posFromChar(i);
    if (p != QPoint(-1, -1))
        return p;
    if (i <= 0)
        return formattingRect().topLeft();
    // The end of the text: right after its last character, or the start of an empty last
    // line when the text ends with a line break.
    return caretPosFromChar(i);
}

int CMyEditView::CharFromPoint(int x, int y) const
{
    const QRect fr = formattingRect();
    // Above the first visible line counts as that line, never as a line before the text.
    const int line = std::max(0, firstVisibleLine() + (y - fr.top()) / lineHeight());
    const int first = lineIndex(line);
    if (first == -1)
        return textLength();
    const int n = lineLength(first);
    if (n <= 0)
        return first;
    const int end = first + n;
    const int rowY = PosFromChar(first).y();
    // The x of a boundary on this row. The end of a wrapped row has its position at the start
    // of the next row; here it is the right edge of the row's last character.
    const auto xOf = [&](int i) {
        const QPoint p = PosFromChar(i);
        if (i < end || p.y() == rowY)
            return p.x();
        const int last = std::max(first, buffer().prevCharBoundary(i));
        if (buffer().at(last) == u'\t') {
            // A tab that ends a row reaches the row's next tab stop.
            const int scroll = horizontalScrollBar()->value();
            const qreal stop = tabStopDistance();
            const qreal from = PosFromChar(last).x() - fr.left() + scroll;
            return fr.left() - scroll + qRound((std::floor(from / stop) + 1) * stop);
        }
        QString unit;
        for (int k = last; k < i; ++k)
            unit += QChar(buffer().at(k));
        return PosFromChar(last).x() + fontMetrics().horizontalAdvance(unit);
    };
    // The control's nearest boundary on that line, found by its own position search.
    int c = std::clamp(charFromPos(QPoint(x, rowY)), first, end);
    // The control rounds to its caret stops, splits a tie the other way and leaves the space
    // that ends a wrapped row out; steps to the neighbouring boundaries whose zone holds x
    // give the boundary a drop goes to.
    for (int step = 0; step < 64; ++step) {
        const int xc = xOf(c);
        if (c > first) {
            const int prev = std::max(first, buffer().prevCharBoundary(c));
            const int xp = xOf(prev);
            if (x < xc - (xc - xp) / 2) {
                c = prev;
                continue;
            }
        }
        if (c < end) {
            const int next = std::min(end, buffer().nextCharBoundary(c));
            const int xn = xOf(next);
            if (x >= xn - (xn - xc) / 2) {
                c = next;
                continue;
            }
        }
        break;
    }
    return c;
}

bool CMyEditView::IsPointInSelection(int x, int y, bool bInclusive) const
{
    int s = 0, e = 0;
    getSel(&s, &e);
    if (s == e)
        return false;
    const QRect fr = formattingRect();
    const int frRight = fr.left() + fr.width();
    const int h = lineHeight();
    QPoint ps = PosFromChar(s);
    QPoint pe = PosFromChar(e);
    if (bInclusive)
        pe.rx() += 1;
    else
        ps.rx() += 1;
    const int ls = lineFromChar(s);
    const int le = lineFromChar(e);
    if (ls == le)
        return inRect(x, y, ps.x(), ps.y(), pe.x(), ps.y() + h);
    if (bInclusive) {
        if (inRect(x, y, ps.x(), ps.y(), frRight, ps.y() + h))
            return true;
        if (le - ls > 1 && inRect(x, y, fr.left(), ps.y() + h, frRight, pe.y()))
            return true;
    } else {
        const QPoint q = PosFromChar(lineIndex(ls + 1) - 1);
        if (inRect(x, y, ps.x(), ps.y(), q.x(), q.y() + h))
            return true;
        // Lines are h apart, so only the line under the point can hold it.
        const int k = ls + floorDiv(y - ps.y(), h);
        if (k > ls && k < le) {
            const QPoint a = PosFromChar(lineIndex(k));
            const QPoint b = PosFromChar(lineIndex(k + 1) - 1);
            if (inRect(x, y, fr.left(), a.y(), b.x(), b.y() + h))
                return true;
        }
    }
    return inRect(x, y, fr.left(), pe.y(), pe.x(), pe.y() + h);
}

bool CMyEditView::CaretFitsAt(int x, int y) const
{
    const QRect fr = formattingRect();
    return x + 1 <= fr.left() + fr.width() && y + lineHeight() <= fr.top() + fr.height();
}

// ---- the pointer over the view and the drag source ---------------------------------------

void CMyEditView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_bDragPending) {
        if ((point - m_dragPressPoint).manhattanLength() >= QApplication::startDragDistance())
            StartDrag();
        event->accept();
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        viewport()->setCursor(IsPointInSelection(point.x(), point.y(), false) ? Qt::ArrowCursor
                                                                               : Qt::IBeamCursor);
    EditControl::mouseMoveEvent(event);
}

void CMyEditView::onLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers)
{
    if (!IsPointInSelection(point.x(), point.y(), false)) {
        EditControl::onLButtonDown(point, modifiers);
        return;
    }
    // The drag begins when the pointer leaves the drag distance or the button stays down
    // past the drag time; a release before that is a click.
    m_bDragPending = true;
    m_dragPressPoint = point;
    m_dragStartTimer.start(QApplication::startDragTime());
}

void CMyEditView::mousePressEvent(QMouseEvent* event)
{
    // Another button pressed while the drag waits to start cancels it, and opens no menu.
    if (m_bDragPending && event->button() != Qt::LeftButton) {
        CancelPendingDrag();
        m_bSwallowContextMenu = true;
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        m_bSwallowContextMenu = false;
    EditControl::mousePressEvent(event);
}

bool CMyEditView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ContextMenu && m_bSwallowContextMenu) {
        m_bSwallowContextMenu = false;
        event->accept();
        return true;
    }
    return EditControl::viewportEvent(event);
}

void CMyEditView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bDragPending && event->button() == Qt::LeftButton) {
        CancelPendingDrag();
        event->accept();
        return;
    }
    EditControl::mouseReleaseEvent(event);
}

void CMyEditView::keyPressEvent(QKeyEvent* event)
{
    if (m_bDragPending && event->key() == Qt::Key_Escape) {
        CancelPendingDrag();
        event->accept();
        return;
    }
    EditControl::keyPressEvent(event);
}

void CMyEditView::CancelPendingDrag()
{
    m_bDragPending = false;
    m_dragStartTimer.stop();
    EndDrag(Qt::IgnoreAction);
}

void CMyEditView::StartDrag()
{
    m_bDragPending = false;
    m_dragStartTimer.stop();
    getSel(&m_nDragStart, &m_nDragEnd);
    if (m_nDragStart == m_nDragEnd)
        return;
    m_dragText = buffer().text().substr(m_nDragStart, m_nDragEnd - m_nDragStart);
    auto data = std::make_unique<QMimeData>();
    data->setText(platform::toQString(m_dragText));
    m_nDropPos = -1;
    m_bSelfDrag = true;
    EndDrag(m_dragRunner(std::move(data)));
}

void CMyEditView::EndDrag(Qt::DropAction effect)
{
    if (effect != Qt::CopyAction && effect != Qt::MoveAction) {
        // A click, a cancelled or refused drag: a caret at the nearest boundary, unless that is
        // the selection's start or end.
        m_bSelfDrag = false;
        const int i = CharFromPoint(m_dragPressPoint.x(), m_dragPressPoint.y());
        const QPoint p = PosFromChar(i);
        if (IsPointInSelection(p.x(), p.y(), false)) {
            setSel(i, i);
            scrollCaret();
        }
        return;
    }
    const int s = m_nDragStart;
    const int e = m_nDragEnd;
    const int length = e - s;
    const std::u16string text = std::move(m_dragText);
    m_dragText.clear();
    // The source changed while the drag ran (text dropped in meanwhile): its range no longer
    // holds the dragged text, so neither removing nor shifting by it would be right.
    if (e > textLength() || buffer().text().compare(s, length, text) != 0) {
        m_bSelfDrag = false;
        return;
    }
    const bool move = effect == Qt::MoveAction;
    const int d = m_nDropPos;
    setRedraw(false);
    if (move) {
        // The source goes first; a drop after it lands where the removal shifted the text.
        setSel(s, e);
        m_undo.RecordDeleteSelection();
        clear();
    }
    int target = -1;
    if (d != -1 && d < s)
        target = d;
    else if (d > e)
        target = move ? d - length : d;
    if (target >= 0) {
        setSel(target, target);
        if (ReplaceSelWithUndo(text))
            setSel(target, target + length);
        scrollCaret();
    }
    setRedraw(true);
    m_bSelfDrag = false;
}

// ---- the drop target ------------------------------------------------------------------------

Qt::DropAction CMyEditView::DragOver(QPoint point, Qt::KeyboardModifiers keys)
{
    const int i = CharFromPoint(point.x(), point.y());
    const QPoint p = PosFromChar(i);
    if ((!m_bSelfDrag || !IsPointInSelection(p.x(), p.y(), false)) && CaretFitsAt(p.x(), p.y()))
        setCaretPos(p);
    return (keys & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
}

bool CMyEditView::DragScroll(QPoint point, Qt::KeyboardModifiers keys)
{
    const QRect fr = formattingRect();
    const int outerLeft = fr.left();
    const int outerRight = fr.left() + fr.width();
    const int outerTop = 0;
    const int outerBottom = viewport()->height();
    if (!inRect(point.x(), point.y(), outerLeft, outerTop, outerRight, outerBottom)
        || inRect(point.x(), point.y(), outerLeft + kScrollBand, outerTop + kScrollBand,
                  outerRight - kScrollBand, outerBottom - kScrollBand))
        return false;
    int columns = 0;
    int lines = 0;
    if (point.x() < outerLeft + kScrollBand)
        columns = -1;
    else if (point.x() >= outerRight - kScrollBand)
        columns = 1;
    if (point.y() < outerTop + kScrollBand)
        lines = -1;
    else if (point.y() >= outerBottom - kScrollBand)
        lines = 1;
    lineScroll(columns, lines);
    const int i = CharFromPoint(point.x(), point.y());
    const QPoint p = PosFromChar(i);
    if (!IsPointInSelection(p.x(), p.y(), false) && CaretFitsAt(point.x(), point.y()))
        setCaretPos(p);
    (void)keys;
    return true;
}

void CMyEditView::dragScrollTick()
{
    // Qt reports no moves while the pointer rests, so the band scrolls on a timer.
    if (!DragScroll(m_lastDragPoint, m_lastDragKeys))
        m_dragScrollTimer.stop();
}

void CMyEditView::onDragEnter(QDragEnterEvent* event)
{
    if (!offersText(event->mimeData())) {
        event->ignore();
        return;
    }
    window()->raise();
    onDragMove(event);
}

void CMyEditView::onDragMove(QDragMoveEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!offersText(event->mimeData()) || !viewport()->rect().contains(point)) {
        m_dragScrollTimer.stop();
        event->ignore(QRect());
        return;
    }
    const Qt::KeyboardModifiers keys = event->modifiers();
    m_lastDragPoint = point;
    m_lastDragKeys = keys;
    Qt::DropAction action = (keys & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction;
    if (DragScroll(point, keys)) {
        if (!m_dragScrollTimer.isActive())
            m_dragScrollTimer.start();
    } else {
        m_dragScrollTimer.stop();
        action = DragOver(point, keys);
    }
    // A source that offers no move gets a copy.
    if (!(event->possibleActions() & action))
        action = Qt::CopyAction;
    event->setDropAction(action);
    // An empty answer rectangle: every move is reported, for the caret and the scroll band.
    event->accept(QRect());
}

void CMyEditView::onDragLeave(QDragLeaveEvent* event)
{
    m_dragScrollTimer.stop();
    // The caret returns to the selection.
    setSel(buffer().anchor(), buffer().caret());
    event->accept();
}

void CMyEditView::onDrop(QDropEvent* event)
{
    m_dragScrollTimer.stop();
    if (!offersText(event->mimeData())) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const int i = CharFromPoint(point.x(), point.y());
    m_nDropPos = i;
    const QPoint p = PosFromChar(i);
    if ((m_bSelfDrag && IsPointInSelection(p.x(), p.y(), true)) || !CaretFitsAt(p.x(), p.y())) {
        // Refused: only the caret moves there.
        setSel(i, i);
        scrollCaret();
        event->ignore();
        return;
    }
    const Qt::DropAction action = (event->modifiers() & Qt::ControlModifier)
                                          || !(event->possibleActions() & Qt::MoveAction)
                                      ? Qt::CopyAction
                                      : Qt::MoveAction;
    event->setDropAction(action);
    if (m_bSelfDrag) {
        // The pressing handler applies the move or copy when the drag returns.
        event->accept();
        return;
    }
    const QString text = droppedText(event->mimeData());
    // Text from another window: inserted at the boundary (the selection stays in the text)
    // and selected; refused whole when the text would grow past its limit.
    setRedraw(false);
    setSel(i, i);
    const bool inserted = ReplaceSelWithUndo(text);
    if (inserted)
        setSel(i, i + static_cast<int>(text.size()));
    scrollCaret();
    setRedraw(true);
    if (inserted)
        event->accept();
    else
        event->ignore();
}
