#pragma once

#include "serial/Clock.h"

namespace pwm20::testing {

// A clock that moves only when the test turns it.
struct HandClock : Clock
{
    qint64 now = 0;
    qint64 nowNs() const override { return now; }
};

} // namespace pwm20::testing
