#pragma once

#include "batch/BatchPlan.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pwm20 {

struct PlotPoint
{
    double ms = 0;
    double value = 0;

    bool operator==(const PlotPoint &) const = default;
};

// One channel of the plot: the curve as written, the frames the planner plans, where each
// keyframe means the channel to be, and the limits it keeps.
struct ChannelCurves
{
    int channel = 0;
    // A polyline: a pose line jumps (two points at one time), a move follows its curve over the
    // time written, from the step's start in the plan.
    std::vector<PlotPoint> ideal;
    // Each planned frame of the channel where it lands; the channel holds its value until the
    // next one.
    std::vector<PlotPoint> planned;
    // Each keyframe's target at the end of its time as written.
    std::vector<PlotPoint> keyframes;
    int low = 1;
    int high = 255;
};

// Where a step plays in the plan, its first pass: from its start until the next step starts (a
// move: until it ends).
struct StepSpan
{
    int line = 0;
    double startMs = 0;
    double endMs = 0;
    bool stretched = false; // a move that takes longer than written, to keep its limits
};

struct SequencePlot
{
    // The channels the steps name (or, when none does, those the frames set), in order.
    std::vector<ChannelCurves> channels;
    std::vector<StepSpan> spans; // in the order they start
    double endMs = 0;            // the end of the plan: its last frame or wait
    bool cut = false;            // the plan stops before the batch does

    const StepSpan *spanOf(int line) const;
};

// The plot of a plan made from `steps` by planBatch, from channels standing at `from`.
SequencePlot sequencePlot(const std::vector<BatchStep> &steps, const BatchPlan &plan,
                          const ChannelTable &channels, const ChannelValues &from);

// A frame that went out while a batch played: when it had left the line, from the start.
struct SentFrame
{
    std::int64_t ns = 0;
    int channel = 0;
    int value = 0;

    bool operator==(const SentFrame &) const = default;
};

// How far the frames sent came from the plan: the largest difference between a frame's value and
// the value the plan has the channel on at that moment (half a millisecond later, the player's
// own give), where it was; none when nothing was sent.
struct PlanDifference
{
    int value = 0;
    std::int64_t ns = 0;
    int channel = 0;

    bool operator==(const PlanDifference &) const = default;
};

std::optional<PlanDifference> largestDifference(const BatchPlan &plan, const ChannelValues &from,
                                                const std::vector<SentFrame> &sent);

} // namespace pwm20
