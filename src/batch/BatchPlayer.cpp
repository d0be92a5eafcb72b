#include "BatchPlayer.h"

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

// The frames the all-off and centre-all buttons send from these channel values, in their order.
std::vector<PlannedFrame> allOffFrames(const ChannelValues &values)
{
    std::vector<PlannedFrame> frames;
    for (int channel = 1; channel <= channelCount; ++channel) {
        if (values[static_cast<std::size_t>(channel - 1)] != 0)
            frames.push_back({channel, 0, false});
    }
    for (int channel = 1; channel <= channelCount; ++channel)
        frames.push_back({channel, 0, true});
    return frames;
}

std::vector<PlannedFrame> centreAllFrames(const ChannelValues &values)
{
    std::vector<PlannedFrame> frames;
    for (int channel = 1; channel <= channelCount; ++channel) {
        if (values[static_cast<std::size_t>(channel - 1)] != centreValue)
            frames.push_back({channel, centreValue, false});
    }
    return frames;
}

} // namespace

BatchPlayer::BatchPlayer(BatchOutput &output, const LineClock &clock, QObject *parent)
    : QObject(parent), m_output(output), m_clock(clock)
{
    connect(&m_timer, &WakeTimer::timeout, this, &BatchPlayer::advance);
}

void BatchPlayer::start(std::vector<BatchStep> steps)
{
    m_steps = std::move(steps);
    m_repeatsLeft.assign(m_steps.size(), 0);
    m_openLoops.clear();
    m_nextStep = 0;
    m_frames.clear();
    m_nextFrame = 0;
    // Frames written just before (all-off on open, a hand move) leave the line first.
    m_nextStartNs = std::max(m_clock.nowNs(), m_clock.freeAtNs());
    m_running = true;
    advance();
}

void BatchPlayer::stop()
{
    m_running = false;
    m_timer.stop();
}

void BatchPlayer::advance()
{
    for (int step = 0; step < stepsPerTurn && m_running; ++step) {
        if (m_nextFrame < m_frames.size()) {
            // A frame written by hand or by a button meanwhile goes first; this one queues
            // behind the last of them at most.
            const qint64 dueNs = std::max(m_nextStartNs, m_clock.freeAtNs() - LineClock::frameNs);
            const qint64 waitNs = dueNs - m_clock.nowNs();
            if (waitNs > 0) {
                // A long sleep wakes late on a busy machine: wake a little early, then sleep
                // the short rest.
                m_timer.startIn(waitNs > 2 * earlyWakeNs ? waitNs - earlyWakeNs : waitNs);
                return;
            }
            sendNextFrame(dueNs);
        } else if (m_nextStep < m_steps.size()) {
            takeStep(m_steps[m_nextStep++]);
        } else {
            m_running = false;
            Q_EMIT finished();
            return;
        }
    }
    if (m_running)
        m_timer.startIn(0);
}

void BatchPlayer::sendNextFrame(qint64 dueNs)
{
    m_output.send(m_frames[m_nextFrame++]);
    // A frame that went out late (the machine was busy) counts the line time from now: the
    // frames after it keep their spacing instead of catching up.
    const qint64 sentNs = m_clock.nowNs();
    m_nextStartNs = (sentNs - dueNs > lateNs ? sentNs : dueNs) + LineClock::frameNs;
    // A line is shown as playing once its first frame has gone, not while a wait before it holds.
    if (const int line = std::exchange(m_lineToShow, 0))
        Q_EMIT lineStarted(line);
}

void BatchPlayer::takeStep(const BatchStep &step)
{
    using Kind = BatchStep::Kind;
    const std::size_t index = m_nextStep - 1;
    if (step.kind == Kind::Wait)
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
        m_output.allOffStarting();
        break;
    case Kind::Centre:
        m_frames = centreAllFrames(m_output.channelValues());
        break;
    case Kind::Wait:
        // Counted from when the frames before it have left the line.
        m_nextStartNs = std::max({m_nextStartNs, m_clock.freeAtNs(), m_clock.nowNs()}) +
                        step.amount * 1'000'000;
        break;
    case Kind::Repeat:
        m_repeatsLeft[index] = step.amount;
        m_openLoops.push_back({1, step.amount});
        break;
    case Kind::End: {
        std::int64_t &left = m_repeatsLeft[step.partner];
        // A count of 0 repeats until stopped.
        if (left == 0 || --left > 0) {
            m_nextStep = step.partner + 1;
            ++m_openLoops.back().pass;
        } else {
            m_openLoops.pop_back();
        }
        break;
    }
    }
}

} // namespace pwm20
