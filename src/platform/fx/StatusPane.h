#pragma once

#include <QLabel>

namespace platform::fx {

// A pane of the status bar: as wide as its text asks while the window has room; in a window
// too narrow for every pane it gives way and cuts its text at the right instead of drawing
// over its neighbour.
class StatusPane : public QLabel {
public:
    explicit StatusPane(QWidget* parent) : QLabel(parent)
    {
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setIndent(kTextMargin);
        setMinimumWidth(1);
    }

    // The width that shows text measured textWidth pixels wide, with the frame and margins.
    void fitTextWidth(int textWidth)
    {
        const int width = textWidth + 2 * frameWidth() + 2 * kTextMargin;
        if (width == m_width)
            return;
        m_width = width;
        setMaximumWidth(width);
        updateGeometry();
    }

    QSize sizeHint() const override { return {m_width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {1, QLabel::minimumSizeHint().height()}; }

private:
    static constexpr int kTextMargin = 2;
    int m_width = 0;
};

} // namespace platform::fx
