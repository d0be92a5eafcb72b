#pragma once

#include "BatchScript.h"
#include "channels/GroupFrames.h"
#include "motion/MoveTiming.h"

#include <cstdint>
#include <vector>

namespace pwm20 {

// One frame of a plan and the moment it reaches the board, from the start of the batch.
struct PlanFrame
{
    std::int64_t arrivalNs = 0;
    PlannedFrame frame;

    bool operator==(const PlanFrame &) const = default;
};

// A timed move that takes longer than written, on its line.
struct StretchedMove
{
    int line = 0;
    MoveTiming timing;
};

// When a step starts playing, from the start of the batch: a move when it starts gliding, any
// other step when it is taken (its frames follow as the line takes them). Every pass of a loop is
// there, in the order played.
struct StepStart
{
    int line = 0;
    std::int64_t ns = 0;
    std::int64_t glideNs = 0; // a move: how long it glides, stretched or not
};

struct BatchPlan
{
    std::vector<PlanFrame> frames;
    std::vector<StretchedMove> stretched; // each line once, in the order met
    bool cut = false;                     // still playing when the time planned ran out
    std::vector<StepStart> starts;
};

// Whether the batch can only end by being stopped: it holds a `repeat` without a count.
bool playsUntilStopped(const std::vector<BatchStep> &steps);

// What playing the batch sends on a free line whose timer is never late, from channels standing
// at `from`: the same player as a real play, on a clock that jumps to each wake-up. Frames that
// would reach the board after `forNs` are left out.
BatchPlan planBatch(const std::vector<BatchStep> &steps, const ChannelTable &channels,
                    const ChannelValues &from, std::int64_t forNs);

} // namespace pwm20
