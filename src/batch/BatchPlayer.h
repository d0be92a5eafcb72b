#pragma once

#include "BatchOutput.h"
#include "BatchScript.h"
#include "WakeTimer.h"

#include <QObject>

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
// once the frame before it has had its line time, so at most one frame waits ahead of the line,
// a `wait` holds for the time written, and stop() takes effect before the next frame.
class BatchPlayer final : public QObject
{
    Q_OBJECT

public:
    BatchPlayer(BatchOutput &output, const LineClock &clock, QObject *parent = nullptr);

    void start(std::vector<BatchStep> steps);
    void stop();
    bool isRunning() const { return m_running; }
    // The pass of the innermost loop around the step playing; none outside every loop.
    std::optional<LoopPass> loopPass() const
    {
        return m_openLoops.empty() ? std::nullopt : std::optional(m_openLoops.back());
    }

Q_SIGNALS:
    // The step on this line of the text has started.
    void lineStarted(int line);
    // The batch ran to its end (not sent on stop()).
    void finished();

private:
    void advance();
    void sendNextFrame(qint64 dueNs);
    void takeStep(const BatchStep &step);

    BatchOutput &m_output;
    const LineClock &m_clock;
    WakeTimer m_timer;
    bool m_running = false;
    std::vector<BatchStep> m_steps;
    std::size_t m_nextStep = 0;
    std::vector<std::int64_t> m_repeatsLeft; // by the index of a `repeat` step
    std::vector<LoopPass> m_openLoops;       // entered and not yet left, the innermost last
    std::vector<PlannedFrame> m_frames;      // of the step being played
    std::size_t m_nextFrame = 0;
    int m_lineToShow = 0; // the line of the step being played, until its first frame goes out
    // When the next frame may start on the line: the end of the last one's line time, plus any
    // `wait` since.
    qint64 m_nextStartNs = 0;
};

} // namespace pwm20
