#pragma once

#include "Clock.h"

#include <algorithm>

namespace pwm20 {

// When the serial line will have sent every byte handed to the driver so far. A pseudo-terminal
// or a USB adapter takes bytes at once, so the program keeps the line's time itself: 10 bits a
// byte at 9600 baud, 4.17 ms for a four-byte frame. The serial service keeps it for every byte it
// writes, so no writer has to remember to.
class LineClock
{
public:
    static constexpr qint64 frameNs = 4 * 10 * 1'000'000'000LL / 9600;

    explicit LineClock(const Clock &clock) : m_clock(clock) {}

    qint64 nowNs() const { return m_clock.nowNs(); }
    // Bytes went to the driver now; they leave the line once the bytes before them have.
    void bytesHanded(qint64 count)
    {
        m_freeAtNs = std::max(m_freeAtNs, nowNs()) + count * frameNs / 4;
    }
    // When the last byte handed will have left the line (in the past when the line is idle).
    qint64 freeAtNs() const { return m_freeAtNs; }

private:
    const Clock &m_clock;
    qint64 m_freeAtNs = 0;
};

} // namespace pwm20
