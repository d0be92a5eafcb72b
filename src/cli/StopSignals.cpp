#include "StopSignals.h"

#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cstdio>

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

// The terminal closing, or an ssh session dropping, stops a run as Ctrl+C does.
constexpr std::array stopSignals{SIGINT, SIGTERM, SIGHUP};
// How each was handled before: a signal the process was started to ignore (nohup, a job started
// in the background by a script) stays ignored, and each is handed back as it was.
std::array<struct sigaction, stopSignals.size()> handledBefore{};

void forwardStopSignals()
{
    struct sigaction forward
    {
    };
    forward.sa_handler = forwardSignal;
    for (std::size_t at = 0; at < stopSignals.size(); ++at) {
        ::sigaction(stopSignals[at], nullptr, &handledBefore[at]);
        if (handledBefore[at].sa_handler != SIG_IGN)
            ::sigaction(stopSignals[at], &forward, nullptr);
    }
}

void restoreStopSignals()
{
    for (std::size_t at = 0; at < stopSignals.size(); ++at)
        ::sigaction(stopSignals[at], &handledBefore[at], nullptr);
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
    forwardStopSignals();
}

StopSignals::~StopSignals()
{
    if (!m_notifier)
        return;
    restoreStopSignals();
    m_notifier.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
}

int endByStopSignal(int exitStatus)
{
    const int signal = exitStatus - 128;
    if (std::find(stopSignals.begin(), stopSignals.end(), signal) == stopSignals.end())
        return exitStatus;
    // Nothing that was printed may be lost with the process.
    std::fflush(nullptr);
    ::signal(signal, SIG_DFL);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    ::sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    ::raise(signal);
    return exitStatus; // not reached: the default action of each ends the process
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

int endByStopSignal(int exitStatus)
{
    return exitStatus;
}

#else

StopSignals::StopSignals() = default;
StopSignals::~StopSignals() = default;

int endByStopSignal(int exitStatus)
{
    return exitStatus;
}

#endif

} // namespace pwm20
