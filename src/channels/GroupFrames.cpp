#include "GroupFrames.h"

namespace pwm20 {
namespace {

// A frame to `target(channel)` for each channel that stands elsewhere.
template <typename Target>
std::vector<PlannedFrame> framesToward(const ChannelValues &values, Target target)
{
    std::vector<PlannedFrame> frames;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (values[static_cast<std::size_t>(channel - 1)] != target(channel))
            frames.push_back({channel, target(channel), false});
    }
    return frames;
}

} // namespace

std::vector<PlannedFrame> allOffFrames(const ChannelValues &values)
{
    std::vector<PlannedFrame> frames =
        framesToward(values, [](int) { return ChannelTable::offValue; });
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        frames.push_back({channel, ChannelTable::offValue, true});
    return frames;
}

std::vector<PlannedFrame> centreAllFrames(const ChannelValues &values, const ChannelTable &table)
{
    return framesToward(values, [&](int channel) { return table.channel(channel).home; });
}

} // namespace pwm20
