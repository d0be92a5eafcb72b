#pragma once

#include "Clock.h"

#include <QElapsedTimer>

namespace pwm20 {

// The machine's monotonic clock.
class SteadyClock final : public Clock
{
public:
    SteadyClock() { m_timer.start(); }

    qint64 nowNs() const override { return m_timer.nsecsElapsed(); }

    // The one the program runs on.
    static const SteadyClock &instance();

private:
    QElapsedTimer m_timer;
};

} // namespace pwm20
