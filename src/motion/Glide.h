#pragma once

#include "MoveTiming.h"
#include "channels/ChannelValue.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pwm20 {

// One channel of a timed move and the value it ends on.
struct GlideChannel
{
    int channel = 0;
    int target = 0;
    // A channel with limits keeps to the move's curve exactly: never finished early, never
    // thrown to its target, so that the curve's speed is its speed.
    bool exact = false;
};

// A timed move of several channels together: each glides from the value it holds at the start to
// its target (linearly, or easing in and out), all arriving together at the end. The player asks
// for a frame each time the line is free; the slot goes to the channel furthest from where its
// glide will be when the frame lands, and carries the glide's value for that moment. Every target
// is written by the end of the move, where the slots allow: when the frames the channels still
// need would fill the slots left, channels near their targets are finished early, and once there
// are no more slots than channels off target, each slot finishes the one furthest off.
//
// The board's values (`held`, index channel - 1) are read at each call, frames written by hand
// meanwhile included. A channel moved by hand, behind its glide, ahead of it or past its target,
// is put back on its glide by its next frame; the move never sends a channel a value behind one it
// sent before, so it still ends on the exact target. A channel that is off (0) at the start, or is
// switched off (a target of 0), has no glide: it goes straight to its target.
class Glide
{
public:
    // A channel listed twice keeps its later target and place. A duration of 0 is a pose: the
    // targets in the order written. Channels are 1..held.size().
    Glide(std::vector<GlideChannel> targets, std::span<const int> held, std::int64_t durationNs,
          MoveShape shape, std::int64_t frameNs);

    // The frame to write `nowNs` after the move started; it reaches the board one frame later.
    // Slots come `slotNs` apart: the line time, or more on a machine whose timer wakes late.
    // Nothing when no channel needs a frame now.
    std::optional<ChannelValue> nextFrame(std::int64_t nowNs, std::span<const int> held,
                                          std::int64_t slotNs);
    // The earliest time after `nowNs` at which nextFrame() may give a frame (a slot later at the
    // most when a channel lags already): a slow move sleeps until then rather than ask each slot.
    std::int64_t nextDueNs(std::int64_t nowNs, std::span<const int> held,
                           std::int64_t slotNs) const;
    // Every channel of the move holds its exact target.
    bool finished(std::span<const int> held) const;
    // Where a channel ought to be `ns` after the start, unrounded; NaN for a channel not moved.
    double ideal(int channel, std::int64_t ns) const;
    // The channel leaves the move: something else moves it now.
    void release(int channel);
    bool hasExact() const;
    // The channel is one with limits, on the curve exactly.
    bool keepsCurve(int channel) const;

private:
    struct Track
    {
        int channel = 0;
        int start = 0;
        int target = 0;
        int sent = 0; // the furthest value sent so far: the move never takes a step back
        bool exact = false;
    };

    double idealOf(const Track &track, std::int64_t ns) const;
    // `value`, or the value sent before when `value` would step back behind it.
    static int notBack(const Track &track, int value);
    // The frame a channel on its glide gets when written at `ns`, sent early or not.
    int glideValue(const Track &track, std::int64_t ns) const;
    // How far all channels together travel in one slot, on average.
    double slotTravel(std::int64_t slotNs) const;
    // The frames the channels off target still need at about a slot's travel each.
    std::int64_t framesNeeded(std::int64_t nowNs, std::span<const int> held,
                              double slotTravel) const;
    std::int64_t slotsLeft(std::int64_t nowNs, std::int64_t slotNs) const;
    static bool glides(const Track &track);
    // The exact target to the channel furthest from it, or for a pose to the first off it in
    // the order written.
    std::optional<ChannelValue> finishOne(std::span<const int> held, bool inOrder);

    std::vector<Track> m_tracks; // in the order written
    std::int64_t m_durationNs = 0;
    MoveShape m_shape;
    std::int64_t m_frameNs = 1;
    double m_travel = 0; // of every channel that glides, together
};

} // namespace pwm20
