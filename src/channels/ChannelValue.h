#pragma once

namespace pwm20 {

// One channel set to one value: what a frame carries.
struct ChannelValue
{
    int channel = 0;
    int value = 0;

    bool operator==(const ChannelValue &) const = default;
};

} // namespace pwm20
