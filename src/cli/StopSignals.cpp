#include "StopSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace pwm20 {

#ifdef Q_OS_UNIX
namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int signal)
{
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &number, 1);
}

void handleStopSignals(void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace

StopSignals::StopSignals()
{
    if (::pipe(signalPipe) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            Q_EMIT stopRequested(128 + number);
    });
    handleStopSignals(forwardSignal);
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    handleStopSignals(SIG_DFL);
    m_notifier.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

#else

StopSignals::StopSignals() = default;
StopSignals::~StopSignals() = default;

#endif

} // namespace pwm20
