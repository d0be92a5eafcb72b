// Speed and acceleration limits at the board's end: batches played by the window on a
// pseudo-terminal, the board a thread of its own, under setups with limits. For every channel
// with limits, how far any two of its frames lie apart beyond what its speed allows in the time
// between them, and in every ramp from rest how far a frame lies beyond what its acceleration
// allows since the start; how long stretched moves play against the least time that keeps the
// limits; whether the board gets the frames of the batch's plan, and when; and what limits cost
// the window: its longest event-loop stall and its processor time.
//   pwm20_limits_bench
#include "FrameClock.h"
#include "HandClock.h"
#include "WindowHarness.h"
#include "batch/BatchPlan.h"
#include "batch/BatchPlayer.h"
#include "batch/BatchScript.h"
#include "serial/LineClock.h"
#include "setup/SetupFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <sys/resource.h>
#include <tuple>
#include <utility>
#include <vector>

using pwm20::testing::WindowHarness;
using namespace Qt::StringLiterals;

namespace {

constexpr double frameMs = double(pwm20::LineClock::frameNs) / 1e6;
constexpr int channelCount = pwm20::ChannelTable::channelCount;

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return 0;
    std::ranges::sort(samples);
    return samples[static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1))];
}

// A frame on the board: from when (ms), on which line of the batch where the plan says.
struct Landed
{
    double ms = 0;
    int channel = 0;
    int value = 0;
    int line = 0;
};

// Where the batch set a channel ramping (a move's channels with limits too), and when a line
// started, as the plan's player does them: ms on the plan's clock.
struct RampStart
{
    double ms = 0;
    int channel = 0;
    int target = 0;
};

struct Starts
{
    std::vector<RampStart> ramps;
    std::map<int, double> lines;
};

// Rings exactly when set to: the clock is turned to it.
class VirtualAlarm final : public pwm20::Alarm
{
public:
    VirtualAlarm(const pwm20::testing::HandClock &clock, std::optional<qint64> &ringsAt)
        : m_clock(clock), m_ringsAt(ringsAt)
    {}
    void startIn(qint64 ns) override { m_ringsAt = m_clock.now + std::max<qint64>(ns, 0); }
    void stop() override { m_ringsAt.reset(); }
    void fire() const { ring(); }

private:
    const pwm20::testing::HandClock &m_clock;
    std::optional<qint64> &m_ringsAt;
};

// The board of a free line, as planBatch() keeps it, noting when ramps start. A step starts
// its ramps once the line is free: when it follows a `wait`, a move or a frame without limits,
// that is the moment it is taken or the end of the last frame's line time, whichever is later.
// (A pose taken the moment a ramp ends starts a slot later: the batches here never do that.)
class StartRecorder final : public pwm20::BatchOutput
{
public:
    StartRecorder(const pwm20::testing::HandClock &clock, pwm20::LineClock &line,
                  const pwm20::ChannelValues &from)
        : m_clock(clock), m_line(line), m_values(from)
    {}

    pwm20::ChannelValues channelValues() const override { return m_values; }
    void send(const pwm20::PlannedFrame &frame) override
    {
        m_values[std::size_t(frame.channel - 1)] = frame.value;
        m_line.bytesHanded(4);
    }
    void showTarget(int channel, int target) override
    {
        starts.ramps.push_back({nowMs(), channel, target});
    }
    double nowMs() const { return double(std::max(m_clock.now, m_line.freeAtNs())) / 1e6; }

    Starts starts;

private:
    const pwm20::testing::HandClock &m_clock;
    pwm20::LineClock &m_line;
    pwm20::ChannelValues m_values;
};

Starts startsOf(const std::vector<pwm20::BatchStep> &steps, const pwm20::ChannelTable &table,
                const pwm20::ChannelValues &from)
{
    pwm20::testing::HandClock clock;
    pwm20::LineClock line(clock);
    StartRecorder board(clock, line, from);
    std::optional<qint64> ringsAt;
    auto alarm = std::make_unique<VirtualAlarm>(clock, ringsAt);
    const VirtualAlarm &ringer = *alarm;
    pwm20::BatchPlayer player(board, line, table, std::move(alarm));
    QObject::connect(&player, &pwm20::BatchPlayer::lineStarted,
                     [&](int started) { board.starts.lines.emplace(started, board.nowMs()); });
    player.start(steps);
    while (player.isRunning() && ringsAt) {
        clock.now = std::max(clock.now, *std::exchange(ringsAt, std::nullopt));
        ringer.fire();
    }
    return board.starts;
}

// The plan's frames, and the run's: on the board a line time after the first byte arrives,
// counted from the first frame's first byte.
std::vector<Landed> landed(const pwm20::BatchPlan &plan)
{
    std::vector<Landed> frames;
    for (const pwm20::PlanFrame &planned : plan.frames)
        frames.push_back({double(planned.arrivalNs) / 1e6, planned.frame.channel,
                          planned.frame.value, planned.frame.line});
    return frames;
}

std::vector<Landed> landed(const std::vector<Arrival> &arrivals)
{
    std::vector<Landed> frames;
    for (const Arrival &arrival : arrivals) {
        const std::chrono::duration<double, std::milli> since = arrival.at - arrivals.front().at;
        frames.push_back({since.count() + frameMs, arrival.channel, arrival.value});
    }
    return frames;
}

// The plan's frames matched to the run's: the longest sequence of (channel, value) the two
// have in common, so that one frame missing or added does not shift the rest.
class Matching
{
public:
    Matching(const std::vector<Landed> &plan, const std::vector<Landed> &run)
        : m_plan(plan), m_run(run), m_runOf(plan.size())
    {
        const std::size_t n = plan.size();
        const std::size_t m = run.size();
        // The length of the longest common sequence of plan[i..] and run[j..].
        std::vector<std::uint16_t> longest((n + 1) * (m + 1), 0);
        const auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t & {
            return longest[i * (m + 1) + j];
        };
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = same(i, j) ? std::uint16_t(at(i + 1, j + 1) + 1)
                                      : std::max(at(i + 1, j), at(i, j + 1));
        }
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (same(i, j)) {
                m_runOf[i++] = j++;
                ++m_matched;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    }

    std::size_t matched() const { return m_matched; }
    std::optional<std::size_t> runOf(std::size_t planned) const { return m_runOf[planned]; }
    // A moment of the plan on the run's clock: through the last matched frame planned at or
    // before it (the first one for a moment before them all), so that a frame that came late
    // moves what follows it.
    double onRun(double planMs) const
    {
        std::optional<std::size_t> anchor;
        for (std::size_t i = 0; i < m_plan.size(); ++i) {
            if (m_runOf[i] && (!anchor || m_plan[i].ms <= planMs))
                anchor = i;
            if (m_plan[i].ms > planMs && anchor)
                break;
        }
        return anchor ? m_run[*m_runOf[*anchor]].ms + planMs - m_plan[*anchor].ms : planMs;
    }
    // A planned frame on the run's clock: where it came, or where the plan puts it.
    double onRun(std::size_t planned) const
    {
        return m_runOf[planned] ? m_run[*m_runOf[planned]].ms : onRun(m_plan[planned].ms);
    }
    std::vector<RampStart> onRun(std::vector<RampStart> starts) const
    {
        for (RampStart &start : starts)
            start.ms = onRun(start.ms);
        return starts;
    }

private:
    bool same(std::size_t i, std::size_t j) const
    {
        return m_plan[i].channel == m_run[j].channel && m_plan[i].value == m_run[j].value;
    }

    const std::vector<Landed> &m_plan;
    const std::vector<Landed> &m_run;
    std::vector<std::optional<std::size_t>> m_runOf;
    std::size_t m_matched = 0;
};

// The largest excess found, and where.
struct Excess
{
    double excess = -std::numeric_limits<double>::infinity();
    int channel = 0;
    double fromMs = 0; // the earlier frame, or the ramp's start
    double atMs = 0;
    int change = 0; // of the value from there

    void note(double found, int onChannel, double from, double at, int by)
    {
        if (found > excess)
            *this = {found, onChannel, from, at, by};
    }
    void note(const Excess &other)
    {
        if (other.excess > excess)
            *this = other;
    }
};

// Per channel with a speed limit, the largest |Δvalue| − speed·Δt over every pair of its frames.
std::array<Excess, channelCount> speedExcess(const std::vector<Landed> &frames,
                                             const pwm20::ChannelTable &table)
{
    std::array<Excess, channelCount> worst{};
    for (int channel = 1; channel <= channelCount; ++channel) {
        const int speed = table.channel(channel).speed;
        if (speed == 0)
            continue;
        std::vector<const Landed *> own;
        for (const Landed &frame : frames) {
            if (frame.channel == channel)
                own.push_back(&frame);
        }
        Excess &found = worst[std::size_t(channel - 1)];
        for (std::size_t i = 0; i < own.size(); ++i) {
            for (std::size_t j = i + 1; j < own.size(); ++j) {
                const int change = std::abs(own[j]->value - own[i]->value);
                found.note(change - speed * (own[j]->ms - own[i]->ms) / 1000, channel, own[i]->ms,
                           own[j]->ms, change);
            }
        }
    }
    return worst;
}

// Over every ramp from rest (`starts`, on the frames' clock, each up to the channel's next):
// the largest |value − value at the start| − (a t²/2 + 1) of a channel with an acceleration
// limit a, t from the ramp's start to the frame; and the frames that step back, away from the
// ramp's target.
struct RampExcess
{
    Excess accel;
    std::size_t stepsBack = 0;
    Excess firstBack; // its change is the step back's size
};

RampExcess rampExcess(const std::vector<Landed> &frames, const pwm20::ChannelValues &from,
                      const std::vector<RampStart> &starts, const pwm20::ChannelTable &table)
{
    RampExcess found;
    for (std::size_t s = 0; s < starts.size(); ++s) {
        const RampStart &start = starts[s];
        const int accel = table.channel(start.channel).accel;
        double endMs = std::numeric_limits<double>::infinity();
        for (std::size_t next = s + 1; next < starts.size() && std::isinf(endMs); ++next) {
            if (starts[next].channel == start.channel)
                endMs = starts[next].ms;
        }
        int rest = from[std::size_t(start.channel - 1)];
        int last = rest;
        for (const Landed &frame : frames) {
            if (frame.channel != start.channel || frame.ms >= endMs)
                continue;
            if (frame.ms <= start.ms) {
                last = rest = frame.value;
                continue;
            }
            const int toward = start.target > rest ? 1 : -1;
            if ((frame.value - last) * toward < 0 && found.stepsBack++ == 0)
                found.firstBack = {0, start.channel, start.ms, frame.ms, last - frame.value};
            last = frame.value;
            const double seconds = (frame.ms - start.ms) / 1000;
            const int change = std::abs(frame.value - rest);
            if (accel > 0)
                found.accel.note(change - (accel * seconds * seconds / 2 + 1), start.channel,
                                 start.ms, frame.ms, change);
        }
    }
    return found;
}

// What the window did while a batch played.
struct Played
{
    std::vector<Arrival> frames;
    // As the program handed them over (each frame's echo is shown right after it is written),
    // on the board a line time later, from the click.
    std::vector<Landed> handed;
    double seconds = 0;        // from the click to the end
    double startMs = 0;        // the click alone: the batch checked and planned
    double longestStallMs = 0; // watched only
    double stallAtMs = 0;      // when it ended, from the click
    double processorMs = 0;    // the main thread's, from the click to the end
};

// Plays `text` in the window from inside the event loop, watching the loop unless told not to
// (the watch wakes it every millisecond); with `stopAfterMs`, clicks Stop then.
Played play(WindowHarness &window, FrameClock &board, const QString &text, bool watch,
            int stopAfterMs = 0)
{
    window.control<QTextEdit>(u"RichTextBox1"_s).setPlainText(text);
    QPushButton &send = window.button(2);
    const QString stopText = u"停止发送"_s;
    board.takeFrames();
    Played played;
    QElapsedTimer sinceLastTurn;
    QElapsedTimer sinceClick;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, &turn, [&] {
        const double stallMs = double(sinceLastTurn.nsecsElapsed()) / 1e6;
        sinceLastTurn.restart();
        if (stallMs > played.longestStallMs && sinceClick.isValid())
            std::tie(played.longestStallMs, played.stallAtMs) =
                std::pair(stallMs, double(sinceClick.nsecsElapsed()) / 1e6);
    });
    QEventLoop loop;
    QObject::connect(&window.text1(), &QLineEdit::textChanged, &loop, [&](const QString &text) {
        const QStringList words = text.split(u' ');
        if (words.size() == 4 && sinceClick.isValid())
            played.handed.push_back({double(sinceClick.nsecsElapsed()) / 1e6 + frameMs,
                                     words[1].toInt(), words[2].toInt()});
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (send.text() != stopText)
            loop.quit();
    });
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, &loop, [&] {
        if (send.text() == stopText)
            send.click();
    });
    rusage before{};
    QTimer::singleShot(0, &loop, [&] {
        ::getrusage(RUSAGE_THREAD, &before);
        sinceClick.start();
        send.click();
        played.startMs = double(sinceClick.nsecsElapsed()) / 1e6;
        poll.start(10);
        if (stopAfterMs > 0)
            stop.start(stopAfterMs);
    });
    QTimer::singleShot(120'000, &loop, &QEventLoop::quit); // never hangs
    if (watch) {
        sinceLastTurn.start();
        turn.start(1);
    }
    loop.exec();
    rusage after{};
    ::getrusage(RUSAGE_THREAD, &after);
    played.seconds = double(sinceClick.nsecsElapsed()) / 1e9;
    const auto ms = [](const timeval &time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    played.processorMs =
        ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime);
    // The last frame has left the program's end: the board's thread reads it within this.
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    played.frames = board.takeFrames();
    return played;
}

// A batch under a setup: the values it starts from (set from off beforehand, so at once).
struct Batch
{
    const char *what;
    pwm20::ChannelTable table;
    pwm20::ChannelValues from;
    QString text;
};

QString startingPose(const pwm20::ChannelValues &from)
{
    QString pose = u"off\n"_s;
    for (int channel = 1; channel <= channelCount; ++channel) {
        if (const int value = from[std::size_t(channel - 1)])
            pose += u"%1=%2 "_s.arg(channel).arg(value);
    }
    return pose;
}

Played playFromStart(WindowHarness &window, FrameClock &board, const Batch &batch, bool watch,
                     int stopAfterMs = 0)
{
    play(window, board, startingPose(batch.from), false);
    return play(window, board, batch.text, watch, stopAfterMs);
}

Excess worstOf(const std::array<Excess, channelCount> &channels)
{
    Excess worst;
    for (const Excess &channel : channels)
        worst.note(channel);
    return worst;
}

// Speed on the board, with the same as the program handed the frames over, and as planned.
void printSpeed(const std::vector<Landed> &board, const std::vector<Landed> &handed,
                const pwm20::ChannelTable &table, const std::vector<Landed> *plan = nullptr)
{
    const std::array<Excess, channelCount> run = speedExcess(board, table);
    const Excess worst = worstOf(run);
    QString perChannel;
    for (const Excess &channel : run) {
        if (channel.channel != 0)
            perChannel += u" %1:%2"_s.arg(channel.channel).arg(channel.excess, 0, 'f', 2);
    }
    QString planned;
    if (plan)
        planned = u"; plan %1"_s.arg(worstOf(speedExcess(*plan, table)).excess, 0, 'f', 2);
    const Excess asHanded = worstOf(speedExcess(handed, table));
    std::printf("  %-40s max %+5.2f (goal <= 1): channel %d, %d in %.1f ms (frames at %.1f and "
                "%.1f ms); as handed over %+.2f (channel %d, %d in %.1f ms)%s\n"
                "    by channel:%s\n",
                "speed: |dv| - v dt, every pair of frames", worst.excess, worst.channel,
                worst.change, worst.atMs - worst.fromMs, worst.fromMs, worst.atMs, asHanded.excess,
                asHanded.channel, asHanded.change, asHanded.atMs - asHanded.fromMs,
                qPrintable(planned), qPrintable(perChannel));
}

// Speed, acceleration, the plan and stretched moves for one batch played in the window, the
// event loop watched; returns the run.
Played measureLimits(WindowHarness &window, FrameClock &board, const Batch &batch)
{
    const pwm20::BatchScript script = pwm20::parseBatch(batch.text.toStdString(), batch.table);
    const pwm20::BatchPlan plan = pwm20::planBatch(script.steps, batch.table, batch.from,
                                                   std::numeric_limits<std::int64_t>::max());
    const Starts starts = startsOf(script.steps, batch.table, batch.from);
    const Played run = playFromStart(window, board, batch, true);
    const std::vector<Landed> planned = landed(plan);
    const std::vector<Landed> got = landed(run.frames);
    std::printf("%s: %zu frames in %.2f s, longest stall %.2f ms (goal <= 16) ending %.0f ms "
                "after the click, the click (check and plan) %.2f ms\n",
                batch.what, got.size(), run.seconds, run.longestStallMs, run.stallAtMs,
                run.startMs);

    const Matching matching(planned, got);
    if (!starts.ramps.empty()) {
        printSpeed(got, run.handed, batch.table, &planned);
        const RampExcess ramps =
            rampExcess(got, batch.from, matching.onRun(starts.ramps), batch.table);
        const RampExcess plannedRamps = rampExcess(planned, batch.from, starts.ramps, batch.table);
        const Excess &accel = ramps.accel;
        std::printf("  %-40s max %+5.2f (goal <= 0): channel %d, %d at %.1f ms from its start at "
                    "%.1f ms; plan %+.2f; %zu ramps\n",
                    "accel from rest: |v - v0| - (a t^2/2 + 1)", accel.excess, accel.channel,
                    accel.change, accel.atMs - accel.fromMs, accel.fromMs,
                    plannedRamps.accel.excess, starts.ramps.size());
        const Excess &back = ramps.firstBack;
        QString firstBack;
        if (ramps.stepsBack)
            firstBack = u", the first: channel %1 back by %2 at %3 ms, %4 ms from its start"_s
                            .arg(back.channel)
                            .arg(back.change)
                            .arg(back.atMs, 0, 'f', 1)
                            .arg(back.atMs - back.fromMs, 0, 'f', 1);
        std::printf("  %-40s %zu (goal 0)%s; plan %zu\n", "ramps from rest: frames stepping back",
                    ramps.stepsBack, qPrintable(firstBack), plannedRamps.stepsBack);
    }

    // The plan against the run: the frames of one the other lacks, how far apart in time the
    // frames they share land (from the first they share), and how often a frame came more than
    // the player's half a millisecond of slack later after the one before than planned.
    std::optional<std::size_t> first;
    std::optional<std::size_t> origin;
    std::optional<std::size_t> previous;
    std::vector<double> apart;
    double farthest = 0;
    std::size_t farthestAt = 0;
    std::size_t late = 0;
    for (std::size_t i = 0; i < planned.size(); ++i) {
        const std::optional<std::size_t> j = matching.runOf(i);
        if (!j) {
            first = first.value_or(i);
            continue;
        }
        origin = origin.value_or(i);
        const double off = std::abs((got[*j].ms - got[*matching.runOf(*origin)].ms) -
                                    (planned[i].ms - planned[*origin].ms));
        apart.push_back(off);
        if (off > farthest)
            std::tie(farthest, farthestAt) = std::pair(off, i);
        if (previous && *j == *matching.runOf(*previous) + 1 && *previous + 1 == i &&
            (got[*j].ms - got[*j - 1].ms) - (planned[i].ms - planned[i - 1].ms) > 0.5)
            ++late;
        previous = i;
    }
    QString firstText;
    if (first)
        firstText = u"; the first planned frame missing: %1 (line %2, %3=%4 at %5 ms)"_s.arg(*first)
                        .arg(planned[*first].line)
                        .arg(planned[*first].channel)
                        .arg(planned[*first].value)
                        .arg(planned[*first].ms, 0, 'f', 1);
    std::printf("  %-40s %zu planned, %zu on the board, %zu in common: %zu mismatches (goal "
                "0)%s\n",
                "plan vs run: frames", planned.size(), got.size(), matching.matched(),
                planned.size() + got.size() - 2 * matching.matched(), qPrintable(firstText));
    std::printf("  %-40s p99 %.3f ms, max %.3f ms (frame %zu, line %d); %zu frames more than "
                "0.5 ms later after the one before than planned\n",
                "plan vs run: arrival time difference", percentile(apart, 0.99), farthest,
                farthestAt, planned.empty() ? 0 : planned[farthestAt].line, late);

    // Stretched moves: the line after each holds a frame without limits, which goes the moment
    // the move ends.
    for (const pwm20::StretchedMove &stretched : plan.stretched) {
        const auto step = std::ranges::find(script.steps, stretched.line, &pwm20::BatchStep::line);
        if (step + 1 == script.steps.end() || (step + 1)->kind != pwm20::BatchStep::Kind::Frames)
            continue;
        // On the board, from the move's start: the first frame of the next line and the move's
        // last frame.
        const double startMs = matching.onRun(starts.lines.at(stretched.line));
        double nextMs = std::nan("");
        double lastOwnMs = std::nan("");
        for (std::size_t i = 0; i < planned.size(); ++i) {
            if (planned[i].line == (step + 1)->line && std::isnan(nextMs))
                nextMs = matching.onRun(i) - startMs;
            if (planned[i].line == stretched.line)
                lastOwnMs = matching.onRun(i) - startMs;
        }
        const double least = double(stretched.timing.durationNs) / 1e6;
        const double played = nextMs - frameMs;
        std::printf("  stretched move, line %-2d (%s, asked %4.0f ms)  played %7.1f ms, least "
                    "%5.0f ms: %+5.1f ms, %+.2f line times (goal within +-3); its last frame "
                    "on the board at %.1f ms\n",
                    stretched.line, step->smooth ? "smooth" : "linear",
                    double(stretched.timing.askedNs) / 1e6, played, least, played - least,
                    (played - least) / frameMs, lastOwnMs);
    }
    return run;
}

pwm20::ChannelTable armTable()
{
    pwm20::ChannelTable table;
    table.setChannel(1, {"base", 1, 255, 19, 30, 150});
    table.setChannel(2, {"shoulder", 1, 255, 12, 40, 200});
    table.setChannel(3, {"elbow", 1, 255, 20, 50, 250});
    table.setChannel(4, {"wrist", 1, 255, 19, 60, 300});
    table.setChannel(5, {"twist", 1, 255, 19, 80, 0});
    table.setChannel(6, {"gripper", 1, 255, 20, 60, 0});
    table.setStopPose(pwm20::ChannelTable::StopPose::Home);
    return table;
}

// Every channel with a speed limit, and all but the last four with an acceleration limit.
pwm20::ChannelTable twentyTable()
{
    pwm20::ChannelTable table;
    for (int channel = 1; channel <= channelCount; ++channel)
        table.setChannel(channel, {"", 1, 255, 19, 60 + 10 * (channel % 5),
                                   channel <= 16 ? 300 + 100 * (channel % 4) : 0});
    return table;
}

QString everyChannel(const QString &command, int value, const QString &after = {})
{
    QString line = command;
    for (int channel = 1; channel <= channelCount; ++channel)
        line += u"%1=%2 "_s.arg(channel).arg(value);
    return line + after;
}

// How long planBatch() alone takes over the whole batch (the best of five): the part of the
// click that grows with the batch's length.
double planningMs(const Batch &batch)
{
    const pwm20::BatchScript script = pwm20::parseBatch(batch.text.toStdString(), batch.table);
    double best = std::numeric_limits<double>::infinity();
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        const pwm20::BatchPlan plan = pwm20::planBatch(script.steps, batch.table, batch.from,
                                                       std::numeric_limits<std::int64_t>::max());
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// Uses the setup in a file of its own, as `pwm20 --setup` does.
void useSetup(WindowHarness &window, const QTemporaryDir &folder, const char *name,
              const pwm20::ChannelTable &table)
{
    const QString path = folder.filePath(QString::fromLatin1(name));
    QString error;
    if (!pwm20::saveSetupFile(path, table, error))
        std::printf("cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    window.form().useSetup(path);
}

} // namespace

int main(int argc, char *argv[])
{
    // The setup used is remembered in the user's settings: not the user's own.
    const QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    QApplication app(argc, argv);
    WindowHarness window;
    window.openPortAndSettle();
    FrameClock board(window.com1().boardFd());

    // The arm: pose lines, moves, one of them smooth, three stretched (a frame for channel 7,
    // without limits, after each), centre; every step that sets ramps follows a wait, a move or
    // a frame without limits.
    const Batch arm{"arm, 6 channels with limits",
                    armTable(),
                    {19, 12, 20, 19, 19, 20, 19},
                    u"1=60 2=50 3=70 4=80 5=100 6=40\n"
                    "wait 100\n"
                    "move 1=40 2=30 3=50 4=60 in 2000\n"
                    "wait 50\n"
                    "move 4=120 5=20 6=10 in 1200 smooth\n"
                    "7=100\n"
                    "move 1=100 2=80 in 600\n"
                    "7=101\n"
                    "wait 100\n"
                    "centre\n"
                    "wait 100\n"
                    "move 6=60 in 300\n"
                    "7=102\n"
                    "2=40 3=40\n"
                    "wait 100\n"_s};
    useSetup(window, folder, "arm.ini", arm.table);
    measureLimits(window, board, arm);
    // Stopped in the middle of the stretched move: the stop pose takes over from where every
    // channel is and how fast it goes.
    const Played stopped = playFromStart(window, board, arm, false, 6000);
    const std::vector<Landed> stoppedFrames = landed(stopped.frames);
    std::printf("%s, stopped at 6 s (stop pose home): %zu frames\n", arm.what,
                stoppedFrames.size());
    printSpeed(stoppedFrames, stopped.handed, arm.table);

    // Twenty channels together, far: a pose, a move (stretched), a pose.
    Batch twenty{"20 channels with limits",
                 twentyTable(),
                 {},
                 everyChannel({}, 220, u"\nwait 100\n"_s) +
                     everyChannel(u"move "_s, 40, u"in 2000\nwait 100\n"_s) +
                     everyChannel({}, 160, u"\nwait 100\n"_s)};
    twenty.from.fill(30);
    useSetup(window, folder, "twenty.ini", twenty.table);
    const Played limited = measureLimits(window, board, twenty);
    const Played limitedCost = playFromStart(window, board, twenty, false);

    Batch unlimitedBatch = twenty;
    unlimitedBatch.what = "the same 20 channels without limits";
    unlimitedBatch.table = pwm20::ChannelTable();
    useSetup(window, folder, "none.ini", unlimitedBatch.table);
    const Played unlimited = measureLimits(window, board, unlimitedBatch);
    const Played unlimitedCost = playFromStart(window, board, unlimitedBatch, false);

    std::printf("cost of limits, 20 channels: longest stall %.2f ms with, %.2f without (goal <= "
                "16); the click (check and plan) %.2f / %.2f ms, of which planning %.2f / %.2f "
                "ms\n",
                limited.longestStallMs, unlimited.longestStallMs, limited.startMs,
                unlimited.startMs, planningMs(twenty), planningMs(unlimitedBatch));
    const auto cost = [](const Played &played) {
        const double frames = double(std::max<std::size_t>(played.frames.size(), 1));
        return u"%1 ms in %2 s (%3 ms a second), %4 frames (%5 us a frame)"_s
            .arg(played.processorMs, 0, 'f', 1)
            .arg(played.seconds, 0, 'f', 2)
            .arg(played.processorMs / played.seconds, 0, 'f', 1)
            .arg(played.frames.size())
            .arg(played.processorMs * 1000 / frames, 0, 'f', 0);
    };
    const auto perFrame = [](const Played &played) {
        return played.processorMs / double(std::max<std::size_t>(played.frames.size(), 1));
    };
    std::printf("  main thread's processor time, not watched: with %s; without %s: %.2fx a frame "
                "(goal <= 2), %.2fx a second, %.2fx in all\n",
                qPrintable(cost(limitedCost)), qPrintable(cost(unlimitedCost)),
                perFrame(limitedCost) / perFrame(unlimitedCost),
                limitedCost.processorMs / limitedCost.seconds /
                    (unlimitedCost.processorMs / unlimitedCost.seconds),
                limitedCost.processorMs / unlimitedCost.processorMs);
    return 0;
}
