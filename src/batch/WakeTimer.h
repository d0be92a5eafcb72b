#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace pwm20 {

// Wakes the event loop after a time given in nanoseconds. Qt's timers keep to the millisecond,
// which is a quarter of a frame's line time; on Linux a timer file descriptor keeps to a few
// tens of microseconds.
class WakeTimer final : public QObject
{
    Q_OBJECT

public:
    explicit WakeTimer(QObject *parent = nullptr);
    ~WakeTimer() override;

    // Fires once, `ns` from now; at the next turn of the event loop when `ns` is 0 or less.
    void startIn(qint64 ns);
    void stop();

Q_SIGNALS:
    void timeout();

private:
    QTimer m_timer;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace pwm20
