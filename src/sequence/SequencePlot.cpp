#include "SequencePlot.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace pwm20 {
namespace {

constexpr double nsPerMs = 1e6;
// Enough points for half a cosine to look like one at any zoom a window shows.
constexpr int smoothSegments = 24;

// The curve each channel is asked to follow, as the steps are written, drawn step by step.
class IdealCurves
{
public:
    explicit IdealCurves(const ChannelValues &from)
    {
        for (std::size_t index = 0; index < from.size(); ++index) {
            m_values[index] = from[index];
            m_curves[index].push_back({0, double(from[index])});
        }
    }

    void jump(int channel, double ms, int value)
    {
        // A pose that repeats a value draws nothing: a long line of them would draw it a
        // thousand times.
        if (m_values[std::size_t(channel - 1)] == value)
            return;
        auto &curve = m_curves[std::size_t(channel - 1)];
        curve.push_back({ms, m_values[std::size_t(channel - 1)]});
        curve.push_back({ms, double(value)});
        m_values[std::size_t(channel - 1)] = value;
    }

    void glide(int channel, double ms, const BatchStep &move, int target)
    {
        const double start = m_values[std::size_t(channel - 1)];
        // A channel that is off switches on at its target: it has no position to glide from.
        if (start == ChannelTable::offValue)
            return jump(channel, ms, target);
        const int segments = move.smooth ? smoothSegments : 1;
        const MoveShape shape{move.smooth};
        auto &curve = m_curves[std::size_t(channel - 1)];
        curve.push_back({ms, start});
        for (int segment = 1; segment <= segments; ++segment) {
            const double fraction = double(segment) / segments;
            curve.push_back({ms + fraction * double(move.amount),
                             start + (target - start) * shape.progress(fraction)});
        }
        m_values[std::size_t(channel - 1)] = target;
    }

    std::vector<PlotPoint> curveUntil(int channel, double endMs)
    {
        std::vector<PlotPoint> curve = m_curves[std::size_t(channel - 1)];
        curve.push_back({std::max(endMs, curve.back().ms), m_values[std::size_t(channel - 1)]});
        return curve;
    }

private:
    std::array<double, ChannelTable::channelCount> m_values{};
    std::array<std::vector<PlotPoint>, ChannelTable::channelCount> m_curves;
};

} // namespace

const StepSpan *SequencePlot::spanOf(int line) const
{
    const auto span = std::ranges::find(spans, line, &StepSpan::line);
    return span == spans.end() ? nullptr : &*span;
}

SequencePlot sequencePlot(const std::vector<BatchStep> &steps, const BatchPlan &plan,
                          const ChannelTable &channels, const ChannelValues &from)
{
    using Kind = BatchStep::Kind;
    SequencePlot plot;
    plot.cut = plan.cut;
    // The channels the steps name: `off` and `centre` reach every channel, which would bury
    // the few a motion is about. A batch of only those shows what it sends.
    std::array<bool, ChannelTable::channelCount + 1> used{};
    for (const BatchStep &step : steps) {
        for (const ChannelValue &frame : step.frames)
            used[std::size_t(frame.channel)] = true;
    }
    const bool namesNone = std::ranges::none_of(used, std::identity());
    for (const PlanFrame &frame : plan.frames) {
        used[std::size_t(frame.frame.channel)] |= namesNone && !frame.frame.offLoop;
        plot.endMs = std::max(plot.endMs, double(frame.arrivalNs) / nsPerMs);
    }

    // Every step but `repeat` and `end` has a start, in the order played: each start is the
    // next such step on its line (a loop goes back to the top), where several share a line too.
    // Looked up by line, so that thousands of loops around a step cost no scan of them each.
    std::map<int, std::vector<std::size_t>> onLine;
    for (std::size_t index = 0; index < steps.size(); ++index) {
        if (steps[index].kind != Kind::Repeat && steps[index].kind != Kind::End)
            onLine[steps[index].line].push_back(index);
    }
    std::size_t cursor = 0;
    const auto stepStarting = [&](int line) -> const BatchStep & {
        const std::vector<std::size_t> &indices = onLine.at(line);
        const auto next = std::ranges::lower_bound(indices, cursor);
        const std::size_t index = next == indices.end() ? indices.front() : *next;
        cursor = index + 1;
        return steps[index];
    };
    IdealCurves ideal(from);
    std::array<std::vector<PlotPoint>, ChannelTable::channelCount + 1> keyframes;
    for (std::size_t index = 0; index < plan.starts.size(); ++index) {
        const StepStart &start = plan.starts[index];
        const BatchStep &step = stepStarting(start.line);
        const double ms = double(start.ns) / nsPerMs;
        const double nextMs =
            index + 1 < plan.starts.size() ? double(plan.starts[index + 1].ns) / nsPerMs : ms;
        const double endMs = step.kind == Kind::Move   ? ms + double(start.glideNs) / nsPerMs
                             : step.kind == Kind::Wait ? ms + double(step.amount)
                                                       : std::max(ms, nextMs);
        plot.endMs = std::max(plot.endMs, endMs);
        if (!plot.spanOf(start.line)) {
            const bool stretched = std::ranges::find(plan.stretched, start.line,
                                                     &StretchedMove::line) != plan.stretched.end();
            plot.spans.push_back({start.line, ms, endMs, stretched});
        }
        for (const ChannelValue &target : step.frames) {
            if (step.kind == Kind::Move)
                ideal.glide(target.channel, ms, step, target.value);
            else
                ideal.jump(target.channel, ms, target.value);
            auto &marks = keyframes[std::size_t(target.channel)];
            if (const PlotPoint mark{ms + double(step.amount), double(target.value)};
                marks.empty() || marks.back() != mark)
                marks.push_back(mark);
        }
        for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
            if (step.kind == Kind::Off)
                ideal.jump(channel, ms, ChannelTable::offValue);
            else if (step.kind == Kind::Centre)
                ideal.jump(channel, ms, channels.channel(channel).home);
        }
    }
    // A plan cut short ends where its frames do, not with a move or a wait it never finished.
    if (plan.cut && !plan.frames.empty())
        plot.endMs = double(plan.frames.back().arrivalNs) / nsPerMs;

    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (!used[std::size_t(channel)])
            continue;
        ChannelCurves curves{channel,
                             ideal.curveUntil(channel, plot.endMs),
                             {},
                             std::move(keyframes[std::size_t(channel)]),
                             channels.channel(channel).min,
                             channels.channel(channel).max};
        for (const PlanFrame &frame : plan.frames) {
            if (frame.frame.channel == channel)
                curves.planned.push_back(
                    {double(frame.arrivalNs) / nsPerMs, double(frame.frame.value)});
        }
        plot.channels.push_back(std::move(curves));
    }
    return plot;
}

std::optional<PlanDifference> largestDifference(const BatchPlan &plan, const ChannelValues &from,
                                                const std::vector<SentFrame> &sent)
{
    // The player counts a frame up to half a millisecond late as on time.
    constexpr std::int64_t giveNs = 500'000;
    std::array<std::vector<const PlanFrame *>, ChannelTable::channelCount> planned;
    for (const PlanFrame &frame : plan.frames)
        planned[std::size_t(frame.frame.channel - 1)].push_back(&frame);
    std::optional<PlanDifference> largest;
    for (const SentFrame &frame : sent) {
        const auto &ofChannel = planned[std::size_t(frame.channel - 1)];
        const auto after = std::ranges::upper_bound(
            ofChannel, frame.ns + giveNs, {}, [](const PlanFrame *p) { return p->arrivalNs; });
        const int expected = after == ofChannel.begin() ? from[std::size_t(frame.channel - 1)]
                                                        : (*std::prev(after))->frame.value;
        const int difference = std::abs(frame.value - expected);
        if (!largest || difference > largest->value)
            largest = PlanDifference{difference, frame.ns, frame.channel};
    }
    return largest;
}

} // namespace pwm20
