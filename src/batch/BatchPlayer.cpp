#include "BatchPlayer.h"

#include "WakeTimer.h"

#include "channels/GroupFrames.h"
#include "serial/LineClock.h"
#include "serial/ServoFrame.h"

#include <algorithm>
#include <utility>

namespace pwm20 {
namespace {

// Steps taken in one turn at most, so that a loop with nothing to send still lets the window run.
constexpr int stepsPerTurn = 1000;
// How much earlier than due a long sleep ends.
constexpr qint64 earlyWakeNs = 1'000'000;
// Later than a timer's usual wake-up and a frame's own work: the program did not run for a while.
constexpr qint64 lateNs = 500'000;

} // namespace

BatchPlayer::BatchPlayer(BatchOutput &output, const LineClock &line, const ChannelTable &channels,
                         std::unique_ptr<Alarm> alarm, QObject *parent)
    : QObject(parent), m_output(output), m_line(line), m_channels(channels),
      m_alarm(alarm ? std::move(alarm) : std::make_unique<WakeTimer>()),
      m_planner(channels, LineClock::frameNs)
{
    m_alarm->onWake([this] { advance(); });
}

void BatchPlayer::start(std::vector<BatchStep> steps)
{
    m_steps = std::move(steps);
    m_repeatsLeft.assign(m_steps.size(), 0);
    m_activityAtPass.assign(m_steps.size(), 0);
    m_activity = 0;
    m_openLoops.clear();
    m_nextStep = 0;
    // Frames written just before (all-off on open, a hand move) leave the line first.
    m_nextStartNs = std::max(m_line.nowNs(), m_line.freeAtNs());
    m_holdUntilNs = 0;
    m_planner.endMove();
    m_lateNs = 0;
    m_running = true;
    m_interrupted = false;
    advance();
}

bool BatchPlayer::interrupt()
{
    using Pose = ChannelTable::StopPose;
    if (!m_running || std::exchange(m_interrupted, true) || m_channels.stopPose() == Pose::None) {
        stop();
        return false;
    }
    // What the group button would send from where the channels stand now, after which the
    // batch ends; a `wait` under way ends here.
    BatchStep pose;
    pose.kind =
        m_channels.stopPose() == Pose::Home ? BatchStep::Kind::Centre : BatchStep::Kind::Off;
    m_steps.clear();
    m_nextStep = 0;
    m_holdUntilNs = 0;
    m_nextStartNs = std::min(m_nextStartNs, std::max(clockNs(), lineFreeNs()));
    // The pose takes over from where every channel is and how fast it goes, then what is left
    // of the move is dropped.
    m_planner.cutShort();
    takeStep(pose);
    m_planner.endMove();
    m_alarm->startIn(0);
    return true;
}

void BatchPlayer::stop()
{
    m_running = false;
    // A channel cut short on its way is shown where it stopped.
    const ChannelValues held = m_output.channelValues();
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (m_planner.moving(channel))
            m_output.showTarget(channel, held[std::size_t(channel - 1)]);
    }
    m_planner.clear();
    m_alarm->stop();
}

bool BatchPlayer::moveByHand(int channel, int value)
{
    const ChannelValues held = m_output.channelValues();
    if (!m_planner.ramps(channel, value, held)) {
        m_planner.endRamp(channel);
        return false;
    }
    const qint64 nowNs = clockNs();
    if (!m_running && !m_planner.busy(held, nowNs)) {
        // Idle since who knows when: the ramp starts now, not at a slot long gone.
        m_nextStartNs = std::max(m_nextStartNs, nowNs);
        m_lateNs = 0;
    }
    // A sleep until a slow ramp's next frame, or a batch's wait, does not hold this one back.
    m_nextStartNs = std::min(m_nextStartNs, std::max(nowNs, lineFreeNs()));
    // The channel stands on the value it holds once the frames on the line have landed.
    m_planner.moveTo(channel, value, held, std::max(nowNs, lineFreeNs()));
    m_alarm->startIn(0);
    return true;
}

qint64 BatchPlayer::clockNs() const
{
    const qint64 nowNs = m_line.nowNs();
    return nowNs > m_wakeNs && nowNs - m_wakeNs < lateNs ? m_wakeNs : nowNs;
}

qint64 BatchPlayer::lineFreeNs() const
{
    // The last frame was handed a little after its slot: the line is free when its slot says.
    const qint64 freeNs = m_line.freeAtNs();
    return freeNs > m_nextStartNs && freeNs - m_nextStartNs < lateNs ? m_nextStartNs : freeNs;
}

void BatchPlayer::advance()
{
    for (int step = 0; step < stepsPerTurn; ++step) {
        const qint64 nowNs = clockNs();
        const ChannelValues held = m_output.channelValues();
        // A ramp made by hand shares the line with the batch but holds none of its steps.
        const bool batchMoving = m_planner.busy(held, nowNs, false);
        const bool stepDue = m_running && !batchMoving && m_nextStep < m_steps.size();
        if (!batchMoving)
            // Every channel of a move stands on its target: the move is over, and must not pull
            // a channel back once something else moves it (all-off, a frame by hand).
            m_planner.endMove();
        if (stepDue && m_holdUntilNs <= nowNs) {
            // The step after a move or a wait counts from its end, even where a ramp by hand
            // pulled the next slot back into it.
            m_nextStartNs = std::max(m_nextStartNs, m_holdUntilNs);
            takeStep(m_steps[m_nextStep++]);
        } else if (m_planner.busy(held, nowNs, true)) {
            // A frame written by hand or by a button meanwhile goes first; this one queues
            // behind the last of them at most.
            const qint64 dueNs = std::max(m_nextStartNs, lineFreeNs() - LineClock::frameNs);
            // Due by the real clock already: sleeping again would add a second wake-up's
            // lateness to this frame.
            if (dueNs > m_line.nowNs())
                return sleepUntil(stepDue ? std::min(dueNs, m_holdUntilNs) : dueNs);
            planOn(dueNs, held);
        } else if (!m_running) {
            // Hand ramps are over and no batch plays.
            return;
        } else if (m_holdUntilNs > nowNs) {
            return sleepUntil(m_holdUntilNs);
        } else if (lineFreeNs() > nowNs) {
            // Done once the last frame is on the board.
            return sleepUntil(lineFreeNs());
        } else {
            m_running = false;
            Q_EMIT finished();
            return;
        }
    }
    m_alarm->startIn(0);
}

void BatchPlayer::sleepUntil(qint64 ns)
{
    m_wakeNs = ns;
    const qint64 waitNs = ns - m_line.nowNs();
    // A long sleep wakes late on a busy machine: wake a little early, then sleep the short rest.
    m_alarm->startIn(waitNs > 2 * earlyWakeNs ? waitNs - earlyWakeNs : waitNs);
}

void BatchPlayer::planOn(qint64 dueNs, const ChannelValues &held)
{
    // A slot taken late (the machine was busy) counts the line time from now: the frames after
    // it keep their spacing instead of catching up, and ramps wait rather than jump ahead.
    const qint64 nowNs = m_line.nowNs();
    const qint64 lostNs = nowNs - dueNs > lateNs ? nowNs - dueNs : 0;
    if (lostNs > 0 && m_planner.delay(lostNs))
        m_holdUntilNs = std::max<qint64>(m_holdUntilNs, m_planner.moveEndNs());
    // The frame lands a line time after it starts: now, or behind any frame still on the line.
    const qint64 arrivalNs = std::max({dueNs, clockNs(), lineFreeNs()}) + LineClock::frameNs;
    // Slots come a line time apart, plus what the machine has lately been adding to each.
    const auto slotNs = LineClock::frameNs + qint64(m_lateNs);
    if (const auto frame = m_planner.nextFrame(arrivalNs, held, slotNs))
        hand(*frame, dueNs, lostNs);
    // A slow ramp or move sleeps until its next frame is due, not a slot at a time.
    m_nextStartNs = std::max(m_nextStartNs,
                             m_planner.nextArrivalNs(arrivalNs, m_output.channelValues(), slotNs) -
                                 LineClock::frameNs);
}

void BatchPlayer::hand(const PlannedFrame &frame, qint64 dueNs, qint64 lostNs)
{
    m_output.send(frame);
    ++m_activity;
    m_nextStartNs = dueNs + lostNs + LineClock::frameNs;
    // One long stall (a suspend, Ctrl+Z) counts as one frame late at most: else a later move
    // would take its slots for hundreds of milliseconds long and throw servos to their targets.
    m_lateNs += (double(std::min(lostNs, LineClock::frameNs)) - m_lateNs) / 8;
    // A line is shown as playing once its first frame has gone, not while a wait before it holds.
    if (const int line = std::exchange(m_lineToShow, 0))
        Q_EMIT lineStarted(line);
}

void BatchPlayer::takeStep(const BatchStep &step)
{
    using Kind = BatchStep::Kind;
    const std::size_t index = m_nextStep - 1;
    if (step.kind != Kind::Repeat && step.kind != Kind::End)
        Q_EMIT stepTaken(step.line);
    // A step that sent nothing leaves no line to show.
    m_lineToShow = 0;
    if (step.kind == Kind::Wait || step.kind == Kind::Move)
        Q_EMIT lineStarted(step.line);
    else if (step.kind != Kind::Repeat && step.kind != Kind::End)
        m_lineToShow = step.line;
    const ChannelValues held = m_output.channelValues();
    switch (step.kind) {
    case Kind::Frames: {
        std::vector<PlannedFrame> frames;
        for (const ChannelValue &frame : step.frames)
            frames.push_back({frame.channel, frame.value});
        moveAll(frames, step.line);
        break;
    }
    case Kind::Off:
        m_planner.endRamps();
        for (PlannedFrame frame : allOffFrames(held)) {
            frame.line = step.line;
            m_planner.queue(frame);
        }
        break;
    case Kind::Centre: {
        std::vector<PlannedFrame> frames = centreAllFrames(held, m_channels);
        // A channel on its way elsewhere that happens to stand at home now goes home too.
        for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
            const int home = m_channels.channel(channel).home;
            if (held[std::size_t(channel - 1)] == home && m_planner.moving(channel) &&
                m_planner.ramps(channel, home, held))
                frames.push_back({channel, home});
        }
        moveAll(frames, step.line);
        break;
    }
    case Kind::Wait:
        // Counted from when the frames before it have left the line, and held even when
        // nothing follows it.
        m_nextStartNs =
            std::max({m_nextStartNs, lineFreeNs(), clockNs()}) + step.amount * 1'000'000;
        m_holdUntilNs = m_nextStartNs;
        m_activity += step.amount > 0 ? 1 : 0;
        break;
    case Kind::Move: {
        // Starts when the line is free, as a wait counts, from where every channel stands.
        const qint64 startNs = std::max({m_nextStartNs, lineFreeNs(), clockNs()});
        m_nextStartNs = startNs;
        for (const ChannelValue &target : step.frames) {
            if (m_planner.ramps(target.channel, target.value, held))
                m_output.showTarget(target.channel, target.value);
        }
        const MoveTiming timing = m_planner.startMove(
            step.frames, held, startNs, step.amount * 1'000'000, step.smooth, step.line);
        // A move lasts its time, whatever it sent.
        m_holdUntilNs = std::max<qint64>(m_holdUntilNs, m_planner.moveEndNs());
        Q_EMIT moveStarted(step.line, startNs, timing);
        if (timing.stretched())
            Q_EMIT moveStretched(step.line, timing);
        m_activity += step.amount > 0 ? 1 : 0;
        break;
    }
    case Kind::Repeat:
        m_repeatsLeft[index] = step.amount;
        m_activityAtPass[index] = m_activity;
        m_openLoops.push_back({1, step.amount});
        break;
    case Kind::End:
        endLoopPass(step);
        break;
    }
}

void BatchPlayer::moveAll(const std::vector<PlannedFrame> &frames, int line)
{
    // Each channel is asked from the moment the step is taken; the frames that go at once keep
    // the order written, ahead of the ramps.
    const qint64 nowNs = std::max({m_nextStartNs, clockNs(), lineFreeNs()});
    const ChannelValues held = m_output.channelValues();
    for (const PlannedFrame &frame : frames) {
        if (m_planner.ramps(frame.channel, frame.value, held))
            m_output.showTarget(frame.channel, frame.value);
        m_planner.moveTo(frame.channel, frame.value, held, nowNs, line);
    }
}

void BatchPlayer::endLoopPass(const BatchStep &end)
{
    std::int64_t &left = m_repeatsLeft[end.partner];
    // A count of 0 repeats until stopped.
    if (left != 0 && --left == 0) {
        m_openLoops.pop_back();
        return;
    }
    m_nextStep = end.partner + 1;
    ++m_openLoops.back().pass;
    // A pass may send nothing (`centre` with every servo centred already): the next one waits a
    // line time rather than spin.
    if (std::exchange(m_activityAtPass[end.partner], m_activity) == m_activity)
        m_holdUntilNs = std::max(m_holdUntilNs, m_line.nowNs() + LineClock::frameNs);
}

} // namespace pwm20
