#include "StopSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
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
    // The terminal closing, or an ssh session dropping, stops a run as Ctrl+C does.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
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

#elif defined(Q_OS_WIN)
namespace {

StopSignals *watching = nullptr;

// Runs on a thread of the console's own, so the stop is queued to the event loop.
BOOL WINAPI forwardConsoleEvent(DWORD event)
{
    if (!watching ||
        (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT))
        return FALSE;
    const int exitStatus = event == CTRL_C_EVENT ? 128 + 2 : 128 + 15; // as SIGINT, as SIGTERM
    QMetaObject::invokeMethod(
        watching, [exitStatus] { Q_EMIT watching->stopRequested(exitStatus); },
        Qt::QueuedConnection);
    return TRUE;
}

} // namespace

StopSignals::StopSignals()
{
    watching = this;
    ::SetConsoleCtrlHandler(forwardConsoleEvent, TRUE);
}

StopSignals::~StopSignals()
{
    ::SetConsoleCtrlHandler(forwardConsoleEvent, FALSE);
    watching = nullptr;
}

#else

StopSignals::StopSignals() = default;
StopSignals::~StopSignals() = default;

#endif

} // namespace pwm20
