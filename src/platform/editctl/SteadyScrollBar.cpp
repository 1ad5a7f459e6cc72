#include "platform/editctl/SteadyScrollBar.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>

namespace platform {

void SteadyScrollBar::setRangeQuietly(int minimum, int maximum)
{
    if (value() < minimum || value() > maximum) {
        setRange(minimum, maximum);   // the value moves: the scroll area must hear of it
        return;
    }
    const QSignalBlocker quiet(this);
    setRange(minimum, maximum);
}

void SteadyScrollBar::sliderChange(SliderChange change)
{
    if (change == SliderRangeChange && m_drawn && look() == *m_drawn)
        return;   // the slider stays on the same pixels
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    m_drawn = look();
}

SteadyScrollBar::Look SteadyScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
}

} // namespace platform
