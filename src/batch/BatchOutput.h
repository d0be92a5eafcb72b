#pragma once

#include "channels/ChannelTable.h"

#include <array>

namespace pwm20 {

// One frame a batch sends. A frame of the all-off loop goes out as all-off's loop sends it: no
// echo, no slider; every other frame as if that channel's slider had been moved by hand.
struct PlannedFrame
{
    int channel = 0;
    int value = 0;
    bool offLoop = false;

    bool operator==(const PlannedFrame &) const = default;
};

using ChannelValues = std::array<int, ChannelTable::channelCount>;

// Where a batch's frames go: the window's rows, or the shell's port.
class BatchOutput
{
public:
    virtual ~BatchOutput() = default;

    // The value each channel stands at now, channel 1 first.
    virtual ChannelValues channelValues() const = 0;
    // `off` starts as the all-off button does: every value box shows "0".
    virtual void allOffStarting() = 0;
    virtual void send(const PlannedFrame &frame) = 0;
};

} // namespace pwm20
