#include "WindowHarness.h"

#include <QTest>

#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace pwm20::testing;

// Closing the port with frames still on their way.
class TestPortClose : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lastFramesReachTheBoard();
};

// A board slower than the program: what still waits in the program's buffers when the port's
// button closes it reaches the board all the same.
void TestPortClose::lastFramesReachTheBoard()
{
    WindowHarness window;
    window.openPortAndSettle();
    // Far more than the pseudo-terminal holds while the board reads nothing.
    const QByteArray frames = frame(7, 7).repeated(100'000);
    window.comm().output(frames);
    QByteArray received;
    std::thread board([&received, &frames, fd = window.com1().boardFd()] {
        char bytes[4096];
        pollfd line{fd, POLLIN, 0};
        while (received.size() < frames.size() && ::poll(&line, 1, 3000) > 0) {
            const ssize_t count = ::read(fd, bytes, sizeof bytes);
            if (count <= 0)
                break;
            received.append(bytes, count);
        }
    });
    window.click(window.button(1));
    board.join();
    QCOMPARE(received.size(), frames.size());
}

QTEST_MAIN(TestPortClose)
#include "TestPortClose.moc"
