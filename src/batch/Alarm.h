#pragma once

#include <QtGlobal>

#include <functional>

namespace pwm20 {

// Wakes whoever waits once a time has passed: a timer of the event loop in the program, a
// hand-turned clock in tests.
class Alarm
{
public:
    virtual ~Alarm() = default;

    // `wake` runs once, `ns` from now; at the next turn of the event loop when `ns` is 0 or less.
    virtual void startIn(qint64 ns) = 0;
    virtual void stop() = 0;

    void onWake(std::function<void()> wake) { m_wake = std::move(wake); }

protected:
    void ring() const
    {
        if (m_wake)
            m_wake();
    }

private:
    std::function<void()> m_wake;
};

} // namespace pwm20
