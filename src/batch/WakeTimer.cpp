#include "WakeTimer.h"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace pwm20 {

WakeTimer::WakeTimer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { ring(); });
#ifdef Q_OS_LINUX
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations)
            ring();
    });
#endif
}

WakeTimer::~WakeTimer()
{
#ifdef Q_OS_LINUX
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void WakeTimer::startIn(qint64 ns)
{
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec when{};
        // A zero time would disarm the timer rather than fire it.
        ns = std::max<qint64>(ns, 1);
        when.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        when.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        ::timerfd_settime(m_fd, 0, &when, nullptr);
        return;
    }
#endif
    m_timer.start(static_cast<int>(std::max<qint64>(0, (ns + 999'999) / 1'000'000)));
}

void WakeTimer::stop()
{
    m_timer.stop();
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        const itimerspec disarmed{};
        ::timerfd_settime(m_fd, 0, &disarmed, nullptr);
    }
#endif
}

} // namespace pwm20
