#pragma once

#include "channels/GroupFrames.h"

namespace pwm20 {

// Where a batch's frames go: the window's rows, or the shell's port.
class BatchOutput
{
public:
    virtual ~BatchOutput() = default;

    // The value each channel stands at now, channel 1 first.
    virtual ChannelValues channelValues() const = 0;
    virtual void send(const PlannedFrame &frame) = 0;
    // A channel with limits ramps toward `target`, or stopped there midway: the window's row
    // shows it, sending nothing.
    virtual void showTarget(int /*channel*/, int /*target*/) {}
};

} // namespace pwm20
