#include "PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <fcntl.h>
#include <limits>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace pwm20::testing {

PtyPair::PtyPair()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    // Raw from the start, so a 0x0A value byte is not turned into CR LF on its way.
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // Kept from programs the test starts, so that closing it here unplugs the board for them too.
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    m_devicePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    closeBoardSide();
}

QByteArray PtyPair::takeReceived(qsizetype count, int timeoutMs, bool turnEventLoop)
{
    QByteArray received;
    const QDeadlineTimer deadline(timeoutMs);
    while (received.size() < count) {
        if (turnEventLoop)
            QCoreApplication::processEvents();
        char chunk[4096];
        const ssize_t got = m_master >= 0 ? ::read(m_master, chunk, sizeof chunk) : -1;
        if (got > 0)
            received.append(chunk, got);
        else if (deadline.hasExpired())
            break;
        else if (turnEventLoop)
            QThread::msleep(1);
    }
    return received;
}

QByteArray PtyPair::takeAllWithin(int waitMs)
{
    return takeReceived(std::numeric_limits<qsizetype>::max(), waitMs);
}

bool PtyPair::send(const QByteArray &bytes)
{
    return sendSome(bytes) == bytes.size();
}

qsizetype PtyPair::sendSome(QByteArrayView bytes)
{
    const ssize_t count = ::write(m_master, bytes.data(), static_cast<size_t>(bytes.size()));
    return count > 0 ? count : 0;
}

bool PtyPair::lineSettings(termios &settings) const
{
    // On a pseudo-terminal the master reports the slave's settings.
    return ::tcgetattr(m_master, &settings) == 0;
}

bool PtyPair::programSideClosed() const
{
    pollfd watched{m_master, POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & POLLHUP);
}

void PtyPair::closeBoardSide()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

} // namespace pwm20::testing
