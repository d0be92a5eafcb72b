// Timings of a batch played by the window on a pseudo-terminal, taken at the board's end: the
// spacing of frames, how long a `wait` holds, how soon Stop takes effect, how closely timed moves
// follow their glide (also with the machine kept busy), what a slow move costs in wake-ups and
// processor time against a `wait`, and the window's longest event-loop stall and its memory while
// a long batch plays.
//   pwm20_batch_bench [SECONDS]   (how long `repeat` without a count plays; default 60)
#include "FrameClock.h"
#include "WindowHarness.h"
#include "batch/BatchOutput.h"
#include "batch/BatchScript.h"
#include "motion/Glide.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numbers>
#include <signal.h>
#include <sys/resource.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using pwm20::testing::WindowHarness;
using Clock = std::chrono::steady_clock;
using namespace Qt::StringLiterals;

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

struct Run
{
    double longestStallMs = 0;
    double residentGrowthMiB = 0;
};

// Plays `text` until it ends or `seconds` pass (then clicks Stop), watching the event loop unless
// told not to (the watch wakes it every millisecond).
Run play(WindowHarness &window, const QString &text, double seconds, bool watch = true)
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
    if (watch)
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

// A timed move in the window: a pose to start from, then the move.
struct Move
{
    const char *what;
    QString batch; // "pose\nmove ..."
    bool equalTravel;
    int busyProcesses = 0; // spinning beside it all the while
};

// Processes that keep the processor busy until destroyed.
class BusyProcesses
{
public:
    explicit BusyProcesses(int count)
    {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
#ifdef Q_OS_LINUX
                ::prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives the benchmark
#endif
                volatile unsigned spin = 0;
                for (;;)
                    spin = spin + 1;
            }
            if (pid > 0)
                m_pids.push_back(pid);
        }
    }
    ~BusyProcesses()
    {
        for (const pid_t pid : m_pids) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    BusyProcesses(const BusyProcesses &) = delete;
    BusyProcesses &operator=(const BusyProcesses &) = delete;

private:
    std::vector<pid_t> m_pids;
};

// Plays a pose, then a move, and measures at the board how far each moving channel's value is
// from its ideal glide at every moment, and when the last frame is on the board. A frame is on
// the board one line time after its first byte arrives; the move starts when the pose's last frame
// is on the board.
void measureMove(WindowHarness &window, FrameClock &board, const Move &move)
{
    const pwm20::BatchScript script = pwm20::parseBatch(move.batch.toStdString());
    const pwm20::BatchStep &pose = script.steps.at(0);
    const pwm20::BatchStep &step = script.steps.at(1);
    pwm20::ChannelValues held{};
    for (const pwm20::ChannelValue &frame : pose.frames)
        held[std::size_t(frame.channel - 1)] = frame.value;
    std::vector<pwm20::GlideChannel> targets;
    double travel = 0;
    for (const pwm20::ChannelValue &target : step.frames) {
        targets.push_back({target.channel, target.value});
        travel += std::abs(target.value - held[std::size_t(target.channel - 1)]);
    }
    const auto frameNs = qint64(frameMs * 1e6);
    const qint64 durationNs = step.amount * 1'000'000;
    const pwm20::Glide glide(targets, held, durationNs, pwm20::MoveShape{step.smooth}, frameNs);

    const Run run = [&] {
        const BusyProcesses busy(move.busyProcesses);
        return play(window, move.batch, 30);
    }();
    const std::vector<Arrival> frames = board.takeFrames();
    const Clock::time_point start =
        frames.at(pose.frames.size() - 1).at + std::chrono::nanoseconds(frameNs);
    double worst = 0;
    double lastOnBoardMs = 0;
    const auto measure = [&](double ns) {
        for (const pwm20::GlideChannel &target : targets)
            worst = std::max(worst, std::abs(held[std::size_t(target.channel - 1)] -
                                             glide.ideal(target.channel, qint64(ns))));
    };
    measure(0);
    for (std::size_t i = pose.frames.size(); i < frames.size(); ++i) {
        const double onBoardNs = msBetween(start, frames[i].at) * 1e6 + double(frameNs);
        measure(onBoardNs); // just before the frame lands
        held[std::size_t(frames[i].channel - 1)] = frames[i].value;
        measure(onBoardNs);
        lastOnBoardMs = onBoardNs / 1e6;
    }
    measure(double(durationNs));
    const double seconds = double(step.amount) / 1000.0;
    const double glideTerm = (move.equalTravel ? 1.0 : 2.0) * travel / (240.0 * seconds) *
                             (step.smooth ? std::numbers::pi / 2 : 1.0);
    // A busy machine may take a line time more.
    const double lastBoundMs = double(step.amount) + frameMs * (move.busyProcesses ? 2 : 1);
    std::printf("move: %-28s S=%-5.0f error max %5.2f (bound %5.2f)  last frame on the board at "
                "%7.2f ms (bound %7.2f)  %zu frames  longest stall %.2f ms\n",
                move.what, travel, worst, glideTerm + 2, lastOnBoardMs, lastBoundMs,
                frames.size() - pose.frames.size(), run.longestStallMs);
}

void measureMoves(WindowHarness &window, FrameClock &board)
{
    QString twenty = u"1=10"_s;
    QString twentyTargets;
    for (int channel = 2; channel <= 20; ++channel)
        twenty += u" %1=10"_s.arg(channel);
    for (int channel = 1; channel <= 20; ++channel)
        twentyTargets += u" %1=250"_s.arg(channel);
    const Move moves[] = {
        {"2 channels in 0.6 s", u"1=10 2=10\nmove 1=50 2=50 in 600"_s, true},
        {"20 channels 10->250 in 1 s", twenty + u"\nmove"_s + twentyTargets + u" in 1000"_s, true},
        {"the same, 2 busy processes", twenty + u"\nmove"_s + twentyTargets + u" in 1000"_s, true,
         2},
        {"6 channels, unequal, in 1 s",
         u"1=10 2=10 3=200 4=100 5=50 6=10\nmove 1=40 2=100 3=20 4=90 5=60 6=250 in 1000"_s, false},
        {"4 channels smooth in 0.8 s",
         u"1=20 2=20 3=20 4=20\nmove 1=200 2=200 3=200 4=200 in 800 smooth"_s, true},
    };
    for (const Move &move : moves)
        measureMove(window, board, move);
}

// The main thread's wake-ups (its voluntary context switches) and processor time while `text`
// plays, the event loop not watched.
void measureSleep(WindowHarness &window, FrameClock &board, const char *what, const QString &text)
{
    rusage before{};
    rusage after{};
    ::getrusage(RUSAGE_THREAD, &before);
    const double seconds =
        double(pwm20::parseBatch(text.toStdString()).steps.back().amount) / 1000.0;
    play(window, text, seconds + 5, false);
    ::getrusage(RUSAGE_THREAD, &after);
    const auto ms = [](const timeval &time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    const double cpuMs =
        ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime);
    const long wakes = after.ru_nvcsw - before.ru_nvcsw;
    std::printf("%-34s %.0f s: %ld wake-ups (%.1f/s), processor %.1f ms, %zu frames\n", what,
                seconds, wakes, double(wakes) / seconds, cpuMs, board.take().size());
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

    measureMoves(window, board);
    // A slow move sleeps until its next frame is due, as a wait sleeps: its wake-ups beyond the
    // wait's go with its frames (two for the player, the rest for the window), not with the time.
    measureSleep(window, board, "slow move, move 1=50 in 5000", u"1=10\nmove 1=50 in 5000"_s);
    measureSleep(window, board, "  against wait 5000", u"1=10\nwait 5000"_s);

    const Run forever = play(window, QStringLiteral("repeat\n1=1\n1=2\nend"), foreverSeconds);
    std::printf(
        "%-34s %.0f s: %zu frames, longest stall %.2f ms (goal < 16)  RSS growth %+.2f MiB\n",
        "repeat without a count", foreverSeconds, board.take().size(), forever.longestStallMs,
        forever.residentGrowthMiB);
    return 0;
}
