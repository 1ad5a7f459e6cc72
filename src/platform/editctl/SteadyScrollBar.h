#pragma once
// A scroll bar that repaints only when what it shows changes. Typing in a very long line
// grows the horizontal range by a few pixels at each key, which moves the slider by less
// than a pixel; drawing the bar again for that would cost more than the keystroke.

#include <QRect>
#include <QScrollBar>

#include <optional>

namespace platform {

class SteadyScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

    // Sets the range; when the value stays inside it, without telling the scroll area,
    // which would only lay out its bars again (and redraw them) to show or hide them, and
    // the control's bars are always on or always off.
    void setRangeQuietly(int minimum, int maximum);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a change of the range can alter in the drawn bar.
    struct Look {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    std::optional<Look> m_drawn;
};

} // namespace platform
