#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct termios;

namespace pwm20::testing {

// A pseudo-terminal standing in for the board: the program opens the slave side as its serial
// port, the test reads and writes the master side. Every wait ends within a few seconds.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    QString devicePath() const { return m_devicePath; }
    int boardFd() const { return m_master; }

    // Waits until `count` bytes have reached the board or `timeoutMs` has passed, turning the
    // event loop meanwhile (or, for timing what is already on its way, without turning it).
    QByteArray takeReceived(qsizetype count, int timeoutMs = 3000, bool turnEventLoop = true);
    // Everything that reaches the board within `waitMs`; a quiet line gives nothing.
    QByteArray takeAllWithin(int waitMs);
    // False when the line does not take all of it at once: a few kilobytes fit.
    bool send(const QByteArray &bytes);
    // Writes what the line takes now, without waiting; safe from another thread.
    qsizetype sendSome(QByteArrayView bytes);
    // The line settings the program's side was opened with.
    bool lineSettings(termios &settings) const;
    // The board side has closed: the program's end is no longer open.
    bool programSideClosed() const;
    // Unplugs the board: the program's side starts failing.
    void closeBoardSide();

private:
    int m_master = -1;
    QString m_devicePath;
};

} // namespace pwm20::testing
