// Timings of a batch played by the window on a pseudo-terminal, taken at the board's end: the
// spacing of frames, how long a `wait` holds, how soon Stop takes effect, and the window's
// longest event-loop stall and its memory while a long batch plays.
//   pwm20_batch_bench [SECONDS]   (how long `repeat` without a count plays; default 60)
#include "WindowHarness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <unistd.h>
#include <vector>

using pwm20::testing::WindowHarness;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double frameMs = 40.0 / 9.6;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double percentile(std::vector<double> samples, double fraction)
{
    std::ranges::sort(samples);
    return samples[static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1))];
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmRSS:") + 6;
    return text.mid(at, text.indexOf('\n', at) - at).trimmed().split(' ')[0].toDouble() / 1024.0;
}

// The board: a thread that notes when each frame's first byte arrives.
class FrameClock
{
public:
    explicit FrameClock(int fd) : m_fd(fd), m_thread([this] { listen(); }) {}
    ~FrameClock()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<Clock::time_point> take()
    {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_starts, {});
    }

private:
    void listen()
    {
        // The board answers at once: ahead of everything else on the machine, where that is
        // allowed.
        sched_param realtime{};
        realtime.sched_priority = 1;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &realtime);
        std::size_t bytes = 0;
        while (!m_stop) {
            pollfd watched{m_fd, POLLIN, 0};
            if (::poll(&watched, 1, 20) <= 0)
                continue;
            const auto now = Clock::now();
            char chunk[4096];
            const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
            const std::lock_guard lock(m_mutex);
            for (ssize_t i = 0; i < got; ++i) {
                if (bytes++ % 4 == 0)
                    m_starts.push_back(now);
            }
        }
    }

    int m_fd;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_starts;
    std::thread m_thread;
};

struct Run
{
    double longestStallMs = 0;
    double residentGrowthMiB = 0;
};

// Plays `text` until it ends or `seconds` pass (then clicks Stop), watching the event loop.
Run play(WindowHarness &window, const QString &text, double seconds)
{
    window.control<QTextEdit>(QStringLiteral("RichTextBox1")).setPlainText(text);
    QPushButton &send = window.button(2);
    const double residentBefore = residentMiB();
    Run run;
    QElapsedTimer sinceLastTurn;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, &turn, [&] {
        run.longestStallMs = std::max(run.longestStallMs, sinceLastTurn.nsecsElapsed() / 1e6);
        sinceLastTurn.restart();
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (send.text() != QStringLiteral(u"停止发送"))
            loop.quit();
    });
    QTimer::singleShot(int(seconds * 1000), &loop, [&] {
        if (send.text() == QStringLiteral(u"停止发送"))
            send.click();
        loop.quit();
    });
    send.click();
    sinceLastTurn.start();
    turn.start(1);
    poll.start(100);
    loop.exec();
    run.residentGrowthMiB = residentMiB() - residentBefore;
    return run;
}

void report(const char *what, const std::vector<double> &errorsMs, double goalMs)
{
    std::vector<double> sizes;
    for (double error : errorsMs)
        sizes.push_back(std::abs(error));
    const auto [low, high] = std::ranges::minmax(errorsMs);
    std::printf("%-34s n=%-6zu p50 |error| %6.3f ms  p99 |error| %6.3f ms  min %+7.3f  max %+7.3f  "
                "p99/goal %.3f\n",
                what, errorsMs.size(), percentile(sizes, 0.5), percentile(sizes, 0.99), low, high,
                percentile(sizes, 0.99) / goalMs);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const double foreverSeconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    WindowHarness window;
    window.openPortAndSettle();
    FrameClock board(window.com1().boardFd());

    // Each batch frame's echo is shown right after it is written: when the program handed it over.
    std::vector<Clock::time_point> handed;
    QObject::connect(&window.text1(), &QLineEdit::textChanged, &app,
                     [&] { handed.push_back(Clock::now()); });
    // 10,000 frames back to back: each one line time after the one before.
    const Run spacing = play(window, QStringLiteral("repeat 5000\n1=1\n1=2\nend"), 120);
    std::vector<Clock::time_point> starts = board.take();
    std::vector<double> errors;
    for (std::size_t i = 1; i < starts.size(); ++i)
        errors.push_back(msBetween(starts[i - 1], starts[i]) - frameMs);
    report("frame spacing, 10,000-frame batch", errors, 1.0);
    errors.clear();
    for (std::size_t i = 1; i < handed.size(); ++i)
        errors.push_back(msBetween(handed[i - 1], handed[i]) - frameMs);
    report("  as the program handed them over", errors, 1.0);
    handed.clear();
    std::printf("%-34s longest stall %.2f ms (goal < 16)  RSS growth %+.2f MiB\n",
                "  while it plays", spacing.longestStallMs, spacing.residentGrowthMiB);

    // wait 20 between frames: the next frame starts 20 ms plus one line time after the last.
    play(window, QStringLiteral("repeat 200\n1=1\nwait 20\n1=2\nwait 20\nend"), 60);
    starts = board.take();
    errors.clear();
    for (std::size_t i = 1; i < starts.size(); ++i)
        errors.push_back(msBetween(starts[i - 1], starts[i]) - frameMs - 20.0);
    report("wait 20 held, at the board", errors, 2.0);

    // Stop clicked at odd moments: how long after the click is the last frame seen?
    std::vector<double> afterStop;
    for (int run = 0; run < 50; ++run) {
        window.control<QTextEdit>(QStringLiteral("RichTextBox1"))
            .setPlainText(QStringLiteral("repeat\n1=1\n1=2\nend"));
        window.button(2).click();
        QEventLoop settle;
        QTimer::singleShot(37 + run % 11, &settle, &QEventLoop::quit);
        settle.exec();
        const auto clicked = Clock::now();
        window.button(2).click();
        QTimer::singleShot(100, &settle, &QEventLoop::quit);
        settle.exec();
        starts = board.take();
        afterStop.push_back(starts.empty() ? 0.0
                                           : std::max(0.0, msBetween(clicked, starts.back())));
    }
    std::printf("%-34s n=%-6zu max %6.3f ms  max/goal %.3f\n", "last frame after Stop",
                afterStop.size(), *std::ranges::max_element(afterStop),
                *std::ranges::max_element(afterStop) / 10.0);

    const Run forever = play(window, QStringLiteral("repeat\n1=1\n1=2\nend"), foreverSeconds);
    std::printf(
        "%-34s %.0f s: %zu frames, longest stall %.2f ms (goal < 16)  RSS growth %+.2f MiB\n",
        "repeat without a count", foreverSeconds, board.take().size(), forever.longestStallMs,
        forever.residentGrowthMiB);
    return 0;
}
