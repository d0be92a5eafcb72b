#pragma once

#include <QtGlobal>

namespace pwm20 {

// Where the program's timing logic reads the time: a steady clock in the program, a hand-turned
// one in tests, so that pacing is tested frame by frame without sleeping.
class Clock
{
public:
    virtual ~Clock() = default;
    // Nanoseconds since some fixed moment; never goes back.
    virtual qint64 nowNs() const = 0;
};

} // namespace pwm20
