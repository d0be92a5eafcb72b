// In-process timings of pwm20 on a pseudo-terminal: input to wire, all-off on open, receive to
// display, and how long a receive flood keeps the event loop from running.
#include "WindowHarness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using pwm20::testing::WindowHarness;
using Clock = std::chrono::steady_clock;

namespace {

double microsecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double percentile(std::vector<double> samples, double fraction)
{
    std::ranges::sort(samples);
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    return samples[index];
}

void report(const char *name, const std::vector<double> &samples, double goalMicroseconds,
            double goalPercentile)
{
    const auto [low, high] = std::ranges::minmax(samples);
    const double measured = percentile(samples, goalPercentile);
    std::printf("%-34s n=%-6zu p50 %8.1f us  p99 %8.1f us  min %8.1f us  max %8.1f us  "
                "p%.0f/goal %.3f\n",
                name, samples.size(), percentile(samples, 0.5), percentile(samples, 0.99), low,
                high, goalPercentile * 100, measured / goalMicroseconds);
}

// Times `runs` inputs, each from just before `input(run)` to `bytes` bytes readable at the board;
// `prepare(run)` sets each one up, untimed.
template <typename Prepare, typename Input>
std::vector<double> inputToWire(WindowHarness &window, int runs, qsizetype bytes, Prepare prepare,
                                Input input)
{
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        prepare(run);
        const auto start = Clock::now();
        input(run);
        if (window.com1().takeReceived(bytes, 3000, false).size() != bytes)
            std::fprintf(stderr, "bytes lost\n");
        samples.push_back(microsecondsSince(start));
    }
    return samples;
}

std::vector<double> receiveToDisplay(WindowHarness &window, int replies)
{
    std::vector<double> samples;
    for (int i = 0; i < replies; ++i) {
        const QByteArray reply = QByteArray::number(i % 2 == 0 ? 100000 + i : 200000 + i);
        const QString expected = QString::fromLatin1(reply);
        const auto start = Clock::now();
        window.com1().send(reply);
        while (window.text2().text() != expected)
            QCoreApplication::processEvents();
        samples.push_back(microsecondsSince(start));
    }
    return samples;
}

// The longest the event loop goes without running while a second thread floods the line.
double longestStallUnderFlood(WindowHarness &window, int milliseconds, qint64 &flooded)
{
    std::atomic<bool> stop = false;
    std::atomic<qint64> written = 0;
    std::thread board([&] {
        const QByteArray chunk(4096, 'x');
        while (!stop) {
            const qsizetype count = window.com1().sendSome(chunk);
            written += count;
            if (count == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    });
    QElapsedTimer sinceLastTurn;
    double longest = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, &turn, [&] {
        longest = std::max(longest, sinceLastTurn.nsecsElapsed() / 1e3);
        sinceLastTurn.restart();
    });
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    sinceLastTurn.start();
    turn.start();
    loop.exec();
    stop = true;
    board.join();
    flooded = written;
    return longest;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int changes = argc > 1 ? std::atoi(argv[1]) : 10000;
    WindowHarness window;
    window.openPortAndSettle();

    const auto nothing = [](int) {};
    QScrollBar &slider = window.slider(5);
    report(
        "input to wire, slider change",
        inputToWire(window, changes, 4, nothing, [&](int run) { slider.setValue(100 + run % 2); }),
        100.0, 0.99);
    QLineEdit &box = window.valueBox(6);
    report("input to wire, Enter in a box",
           inputToWire(
               window, changes, 4, [&](int run) { box.setText(QString::number(100 + run % 2)); },
               [&](int) { QTest::keyClick(&box, Qt::Key_Return); }),
           100.0, 0.99);
    // Every slider back off, so that each open writes just the twenty loop frames.
    window.click(window.button(3));
    window.com1().takeReceived(88);
    QPushButton &openClose = window.button(1);
    const auto closePort = [&](int) {
        if (window.comm().portOpen())
            openClose.click();
    };
    report("all-off on open, click to 80 bytes",
           inputToWire(window, 500, 80, closePort, [&](int) { openClose.click(); }), 1000.0, 0.99);
    window.click(window.button(1));
    window.openPortAndSettle();
    report("receive to display", receiveToDisplay(window, changes), 1000.0, 0.99);

    qint64 flooded = 0;
    const double stall = longestStallUnderFlood(window, 3000, flooded);
    std::printf("%-34s %.1f MiB in 3 s  longest stall %8.1f us  stall/goal %.3f\n",
                "event loop under a receive flood", flooded / 1048576.0, stall, stall / 16000.0);
    return 0;
}
