#pragma once

#include "Alarm.h"
#include "BatchOutput.h"
#include "BatchScript.h"
#include "motion/MotionPlanner.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace pwm20 {

class LineClock;

// Which pass of a `repeat` loop is playing, the first being 1, of `count` (0: until stopped).
struct LoopPass
{
    std::int64_t pass = 0;
    std::int64_t count = 0;
};

// Plays a checked batch at the line's own pace, from the event loop: each frame is handed over
// once the frame before it has had its line time, so at most one frame waits ahead of the line;
// a `wait` holds for the time written wherever it stands, and stop() takes effect before the next
// frame. Between frames and waits the player sleeps, so playing costs next to no processor time.
// Its planner decides every frame, and it also plays the ramps of changes made by hand, batch or
// not. A timer that rings a little late (less than half a millisecond) counts as on time, so that
// the same batch sends the same frames at the same moments on any machine.
class BatchPlayer final : public QObject
{
    Q_OBJECT

public:
    // The alarm wakes the player; by default a timer of the event loop.
    BatchPlayer(BatchOutput &output, const LineClock &line, const ChannelTable &channels,
                std::unique_ptr<Alarm> alarm = {}, QObject *parent = nullptr);

    void start(std::vector<BatchStep> steps);
    // Ends at once and sends nothing more: the port or the device is gone.
    void stop();
    // The user stops the batch: the setup's stop pose, if it has one, is sent (paced) in place of
    // the rest, and finished() follows it; true while that pose is still going out. A second
    // interruption ends at once.
    bool interrupt();
    bool isRunning() const { return m_running; }
    // A change made by hand, batch or not: true when the channel ramps there and the player
    // sends its frames; false when its one frame is to go at once, the caller's to send.
    bool moveByHand(int channel, int value);
    // All-off: every ramp ends where it is.
    void endRamps() { m_planner.endRamps(); }
    // The pass of the innermost loop around the step playing; none outside every loop.
    std::optional<LoopPass> loopPass() const
    {
        return m_openLoops.empty() ? std::nullopt : std::optional(m_openLoops.back());
    }

Q_SIGNALS:
    // The step on this line of the text has started.
    void lineStarted(int line);
    // The batch, or the stop pose, ran to its end and its last frame has left the line (not
    // sent on stop()).
    void finished();
    // A timed move on this line takes longer than written, to keep its channels' limits.
    void moveStretched(int line, const pwm20::MoveTiming &timing);
    // The step on this line is taken: before any frame of it goes out (a loop's `repeat` and
    // `end` are not steps of their own here).
    void stepTaken(int line);
    // A timed move on this line starts gliding at `startNs` on the line's clock, for this long.
    void moveStarted(int line, qint64 startNs, const pwm20::MoveTiming &timing);

private:
    void advance();
    void sleepUntil(qint64 ns);
    // The clock, and when the line is free, with a timer's usual lateness taken off.
    qint64 clockNs() const;
    qint64 lineFreeNs() const;
    // `lostNs`: how late the slot due at `dueNs` was taken.
    void hand(const PlannedFrame &frame, qint64 dueNs, qint64 lostNs);
    void planOn(qint64 dueNs, const ChannelValues &held);
    void takeStep(const BatchStep &step);
    void moveAll(const std::vector<PlannedFrame> &frames, int line);
    void endLoopPass(const BatchStep &end);

    BatchOutput &m_output;
    const LineClock &m_line;
    const ChannelTable &m_channels;
    std::unique_ptr<Alarm> m_alarm;
    bool m_running = false;
    bool m_interrupted = false;
    std::vector<BatchStep> m_steps;
    std::size_t m_nextStep = 0;
    std::vector<std::int64_t> m_repeatsLeft; // by the index of a `repeat` step
    // Frames sent and waits held so far, and that count when each loop's pass began: a pass
    // that did neither is held for a line time, so that such a loop cannot spin the processor.
    std::int64_t m_activity = 0;
    std::vector<std::int64_t> m_activityAtPass; // by the index of a `repeat` step
    std::vector<LoopPass> m_openLoops;          // entered and not yet left, the innermost last
    int m_lineToShow = 0; // the line of the step being played, until its first frame goes out
    // When the next frame may start on the line: the end of the last one's line time, plus any
    // `wait` since, or when a move's next value is due.
    qint64 m_nextStartNs = 0;
    // No step is taken before this: the end of a `wait` or of a move.
    qint64 m_holdUntilNs = 0;
    // When the alarm was last set to ring.
    qint64 m_wakeNs = 0;
    MotionPlanner m_planner;
    // The line time lost to late frames lately, on average: a move counts its slots with it.
    double m_lateNs = 0;
};

} // namespace pwm20
