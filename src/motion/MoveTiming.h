#pragma once

#include <cstdint>
#include <span>

namespace pwm20 {

// How far along a timed move is, 0 to 1, at a fraction of its time, 0 to 1: the same for every
// channel of the move, so that they all arrive together.
struct MoveShape
{
    bool smooth = false; // eased in and out on half a cosine
    // Linear only: the fraction of the time spent speeding up, and again slowing down; 0 for an
    // even speed from start to end.
    double rampFraction = 0;

    double progress(double fraction) const;
};

// One channel of a timed move: how far it travels and its limits (0: none).
struct MoveTravel
{
    int channel = 0;
    double travel = 0;
    int speed = 0;
    int accel = 0;
};

// The time a move takes: the time asked, or the least time at which every channel keeps to its
// limits when that is longer, with the channel and the limit that hold it back.
struct MoveTiming
{
    enum class Limit { None, Speed, Accel };

    std::int64_t askedNs = 0;
    std::int64_t durationNs = 0; // whole milliseconds when stretched
    MoveShape shape;
    int channel = 0; // the one that holds it back most, when stretched
    Limit limit = Limit::None;

    bool stretched() const { return durationNs > askedNs; }
};

// A linear move ramps its start and end as soon as one channel has an acceleration limit; a
// smooth one keeps its curve and only takes longer.
MoveTiming timeMove(std::span<const MoveTravel> channels, std::int64_t askedNs, bool smooth);

} // namespace pwm20
