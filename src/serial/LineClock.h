#pragma once

#include <QElapsedTimer>

#include <algorithm>

namespace pwm20 {

// When the serial line will have sent every frame handed to the driver so far. A pseudo-terminal
// or a USB adapter takes bytes at once, so the program keeps the line's time itself: 4 bytes of
// 10 bits each at 9600 baud, 4.17 ms a frame.
class LineClock
{
public:
    static constexpr qint64 frameNs = 4 * 10 * 1'000'000'000LL / 9600;

    LineClock() { m_clock.start(); }

    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    // A frame went to the driver now; it leaves the line once the frames before it have.
    void frameHanded() { m_freeAtNs = std::max(m_freeAtNs, nowNs()) + frameNs; }
    // When the last frame handed will have left the line (in the past when the line is idle).
    qint64 freeAtNs() const { return m_freeAtNs; }

private:
    QElapsedTimer m_clock;
    qint64 m_freeAtNs = 0;
};

} // namespace pwm20
