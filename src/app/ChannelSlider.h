#pragma once

#include "channels/ChannelTable.h"

#include <QScrollBar>

#include <utility>

namespace pwm20 {

// A channel's vertical slider: 0 at the top, 255 at the bottom, one step per arrow click, track
// click, key or wheel notch, and one change per released drag. Nothing jumps it across the range.
class ChannelSlider final : public QScrollBar
{
    Q_OBJECT

public:
    // Upside down: the top end is the highest value, the bottom end off.
    static constexpr int offPosition = ChannelTable::highestValue;
    static int positionOf(int value) { return offPosition - value; }
    static int valueAt(int position) { return offPosition - position; }

    explicit ChannelSlider(QWidget *parent);

    // Whether the change being handled is a drag let go (rather than a step), once.
    bool takeDropped() { return std::exchange(m_dropped, false); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void endMousePress();

    QWidget *m_watchedWindow = nullptr;
    // A drag let go elsewhere than it started: the move it makes comes next.
    bool m_dropping = false;
    bool m_dropped = false;
};

} // namespace pwm20
