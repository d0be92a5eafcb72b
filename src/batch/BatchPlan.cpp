#include "BatchPlan.h"

#include "BatchPlayer.h"
#include "serial/LineClock.h"

#include <algorithm>
#include <optional>

namespace pwm20 {
namespace {

struct PlanClock final : Clock
{
    qint64 now = 0;
    qint64 nowNs() const override { return now; }
};

// Rings exactly when set to: the plan's clock is turned to it.
class PlanAlarm final : public Alarm
{
public:
    PlanAlarm(const PlanClock &clock, std::optional<qint64> &ringsAt)
        : m_clock(clock), m_ringsAt(ringsAt)
    {}
    void startIn(qint64 ns) override { m_ringsAt = m_clock.now + std::max<qint64>(ns, 0); }
    void stop() override { m_ringsAt.reset(); }
    void fire() const { ring(); }

private:
    const PlanClock &m_clock;
    std::optional<qint64> &m_ringsAt;
};

// The board's end of a free line: each frame lands once the line has carried it.
class PlanBoard final : public BatchOutput
{
public:
    PlanBoard(LineClock &line, const ChannelValues &from) : m_line(line), m_values(from) {}

    ChannelValues channelValues() const override { return m_values; }
    void send(const PlannedFrame &frame) override
    {
        m_values[static_cast<std::size_t>(frame.channel - 1)] = frame.value;
        m_line.bytesHanded(4);
        frames.push_back({m_line.freeAtNs(), frame});
    }

    std::vector<PlanFrame> frames;

private:
    LineClock &m_line;
    ChannelValues m_values;
};

} // namespace

bool playsUntilStopped(const std::vector<BatchStep> &steps)
{
    return std::ranges::any_of(steps, [](const BatchStep &step) {
        return step.kind == BatchStep::Kind::Repeat && step.amount == 0;
    });
}

BatchPlan planBatch(const std::vector<BatchStep> &steps, const ChannelTable &channels,
                    const ChannelValues &from, std::int64_t forNs)
{
    PlanClock clock;
    LineClock line(clock);
    PlanBoard board(line, from);
    std::optional<qint64> ringsAt;
    auto alarm = std::make_unique<PlanAlarm>(clock, ringsAt);
    const PlanAlarm &ringer = *alarm;
    BatchPlayer player(board, line, channels, std::move(alarm));
    BatchPlan plan;
    QObject::connect(&player, &BatchPlayer::moveStretched,
                     [&](int moveLine, const MoveTiming &timing) {
                         if (std::ranges::find(plan.stretched, moveLine, &StretchedMove::line) ==
                             plan.stretched.end())
                             plan.stretched.push_back({moveLine, timing});
                     });
    QObject::connect(&player, &BatchPlayer::stepTaken, [&](int stepLine) {
        plan.starts.push_back({stepLine, clock.now});
    });
    // A move glides from when the line is free, which may be a little after it was taken.
    QObject::connect(&player, &BatchPlayer::moveStarted,
                     [&](int moveLine, qint64 startNs, const MoveTiming &timing) {
                         if (!plan.starts.empty() && plan.starts.back().line == moveLine)
                             plan.starts.back() = {moveLine, startNs, timing.durationNs};
                     });
    player.start(steps);
    while (player.isRunning() && ringsAt && *ringsAt <= forNs) {
        clock.now = std::max(clock.now, *std::exchange(ringsAt, std::nullopt));
        ringer.fire();
    }
    plan.cut = player.isRunning();
    plan.frames = std::move(board.frames);
    std::erase_if(plan.frames, [&](const PlanFrame &frame) { return frame.arrivalNs > forNs; });
    std::erase_if(plan.starts, [&](const StepStart &start) { return start.ns > forNs; });
    return plan;
}

} // namespace pwm20
