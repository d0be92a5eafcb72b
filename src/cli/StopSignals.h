#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace pwm20 {

// Ctrl+C (SIGINT), SIGTERM and a closed terminal (SIGHUP) as a signal of the event loop, while this
// object lives. A signal handler may do almost nothing, so it only writes the signal's number to a
// pipe that the event loop watches. On Windows, Ctrl+C, Ctrl+Break and closing the console stand
// for them.
class StopSignals final : public QObject
{
    Q_OBJECT

public:
    StopSignals();
    ~StopSignals() override;

Q_SIGNALS:
    // The exit status that reports the signal: 128 plus its number.
    void stopRequested(int exitStatus);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// A process stopped by SIGINT, SIGTERM or SIGHUP ends by that same signal once it has done what it
// must, so that the shell or the loop that started it sees it stopped and stops too (a shell still
// reads 128 plus the number). `exitStatus` is what stopRequested() gave; any other status is
// returned as it is.
int endByStopSignal(int exitStatus);

} // namespace pwm20
