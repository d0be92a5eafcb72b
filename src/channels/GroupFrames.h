#pragma once

#include "ChannelTable.h"

#include <array>
#include <vector>

namespace pwm20 {

// One frame of a group command, a batch or a ramp. A frame of all-off's loop goes out as that
// loop sends it: no echo, no slider; a frame on the way of a ramp with its echo, the slider
// staying on the value asked; every other frame as if that channel's slider had been moved by
// hand.
struct PlannedFrame
{
    int channel = 0;
    int value = 0;
    bool offLoop = false;
    bool ramped = false;
    int line = 0; // of the batch it comes from; 0 for none

    bool operator==(const PlannedFrame &) const = default;
};

// The value each channel stands at, channel 1 first.
using ChannelValues = std::array<int, ChannelTable::channelCount>;

// What "全关" sends from these values, in order: an off frame for each channel not off, then
// the loop of twenty off frames, channel 1 to 20, that every all-off ends with.
std::vector<PlannedFrame> allOffFrames(const ChannelValues &values);
// What "舵机全归中" sends: each channel not at its home to its home, in channel order.
std::vector<PlannedFrame> centreAllFrames(const ChannelValues &values, const ChannelTable &table);

} // namespace pwm20
