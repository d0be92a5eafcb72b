#pragma once

#include "Alarm.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace pwm20 {

// Wakes the event loop after a time given in nanoseconds. Qt's timers keep to the millisecond,
// which is a quarter of a frame's line time; on Linux a timer file descriptor keeps to a few
// tens of microseconds.
class WakeTimer final : public QObject, public Alarm
{
    Q_OBJECT

public:
    explicit WakeTimer(QObject *parent = nullptr);
    ~WakeTimer() override;

    void startIn(qint64 ns) override;
    void stop() override;

private:
    QTimer m_timer;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace pwm20
