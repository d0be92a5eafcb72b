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
      m_alarm(alarm ? std::move(alarm) : std::make_unique<WakeTimer>())
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
    m_frames.clear();
    m_nextFrame = 0;
    // Frames written just before (all-off on open, a hand move) leave the line first.
    m_nextStartNs = std::max(m_line.nowNs(), m_line.freeAtNs());
    m_holdUntilNs = 0;
    m_glide.reset();
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
    m_steps = {pose};
    m_nextStep = 0;
    m_frames.clear();
    m_nextFrame = 0;
    m_glide.reset();
    m_holdUntilNs = 0;
    m_nextStartNs = std::min(m_nextStartNs, std::max(m_line.nowNs(), m_line.freeAtNs()));
    m_lineToShow = 0;
    m_alarm->startIn(0);
    return true;
}

void BatchPlayer::stop()
{
    m_running = false;
    m_alarm->stop();
}

void BatchPlayer::advance()
{
    for (int step = 0; step < stepsPerTurn && m_running; ++step) {
        const qint64 nowNs = m_line.nowNs();
        if (m_nextFrame < m_frames.size() || m_glide) {
            // A frame written by hand or by a button meanwhile goes first; this one queues
            // behind the last of them at most.
            const qint64 dueNs = std::max(m_nextStartNs, m_line.freeAtNs() - LineClock::frameNs);
            if (dueNs > nowNs)
                return sleepUntil(dueNs);
            if (m_nextFrame < m_frames.size())
                hand(m_frames[m_nextFrame++], dueNs);
            else
                glideOn(dueNs);
        } else if (m_holdUntilNs > nowNs) {
            return sleepUntil(m_holdUntilNs);
        } else if (m_nextStep < m_steps.size()) {
            takeStep(m_steps[m_nextStep++]);
        } else if (m_line.freeAtNs() > nowNs) {
            // Done once the last frame is on the board.
            return sleepUntil(m_line.freeAtNs());
        } else {
            m_running = false;
            Q_EMIT finished();
            return;
        }
    }
    if (m_running)
        m_alarm->startIn(0);
}

void BatchPlayer::sleepUntil(qint64 ns)
{
    const qint64 waitNs = ns - m_line.nowNs();
    // A long sleep wakes late on a busy machine: wake a little early, then sleep the short rest.
    m_alarm->startIn(waitNs > 2 * earlyWakeNs ? waitNs - earlyWakeNs : waitNs);
}

void BatchPlayer::glideOn(qint64 dueNs)
{
    const ChannelValues held = m_output.channelValues();
    if (m_glide->finished(held)) {
        // A move lasts its time, whatever it sent.
        m_glide.reset();
        m_holdUntilNs = std::max(m_holdUntilNs, m_moveEndNs);
        return;
    }
    // Slots come a line time apart, plus what the machine has lately been adding to each.
    const auto slotNs = LineClock::frameNs + qint64(m_lateNs);
    const qint64 nowNs = m_line.nowNs() - m_moveStartNs;
    if (const auto frame = m_glide->nextFrame(nowNs, held, slotNs))
        hand({frame->channel, frame->value, false}, dueNs);
    // A slow move sleeps until its next frame is due, not a slot at a time.
    m_nextStartNs = std::max(
        m_nextStartNs, m_moveStartNs + m_glide->nextDueNs(nowNs, m_output.channelValues(), slotNs));
}

void BatchPlayer::hand(const PlannedFrame &frame, qint64 dueNs)
{
    m_output.send(frame);
    ++m_activity;
    // A frame that went out late (the machine was busy) counts the line time from now: the
    // frames after it keep their spacing instead of catching up.
    const qint64 sentNs = m_line.nowNs();
    const qint64 lostNs = sentNs - dueNs > lateNs ? sentNs - dueNs : 0;
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
    // A step that sent nothing leaves no line to show.
    m_lineToShow = 0;
    if (step.kind == Kind::Wait || step.kind == Kind::Move)
        Q_EMIT lineStarted(step.line);
    else if (step.kind != Kind::Repeat && step.kind != Kind::End)
        m_lineToShow = step.line;
    m_frames.clear();
    m_nextFrame = 0;
    switch (step.kind) {
    case Kind::Frames:
        for (const ChannelValue &frame : step.frames)
            m_frames.push_back({frame.channel, frame.value, false});
        break;
    case Kind::Off:
        m_frames = allOffFrames(m_output.channelValues());
        break;
    case Kind::Centre:
        m_frames = centreAllFrames(m_output.channelValues(), m_channels);
        break;
    case Kind::Wait:
        // Counted from when the frames before it have left the line, and held even when
        // nothing follows it.
        m_nextStartNs =
            std::max({m_nextStartNs, m_line.freeAtNs(), m_line.nowNs()}) + step.amount * 1'000'000;
        m_holdUntilNs = m_nextStartNs;
        m_activity += step.amount > 0 ? 1 : 0;
        break;
    case Kind::Move: {
        // Starts when the line is free, as a wait counts, from where every channel stands.
        m_moveStartNs = std::max({m_nextStartNs, m_line.freeAtNs(), m_line.nowNs()});
        m_moveEndNs = m_moveStartNs + step.amount * 1'000'000;
        m_nextStartNs = m_moveStartNs;
        std::vector<GlideChannel> targets;
        ChannelValues held = m_output.channelValues();
        for (const ChannelValue &target : step.frames) {
            targets.push_back({target.channel, target.value});
            // A value the limits refuse (a setup changed since) is no position to glide from:
            // such a channel goes straight to its target, as one that is off does.
            int &start = held[std::size_t(target.channel - 1)];
            if (!m_channels.accepts(target.channel, start))
                start = ChannelTable::offValue;
        }
        m_glide.emplace(std::move(targets), held, step.amount * 1'000'000, step.smooth,
                        LineClock::frameNs);
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
