#include "SequenceRow.h"

#include <algorithm>

namespace pwm20 {

std::optional<int> SequenceRow::valueOf(int channel) const
{
    const auto target = std::ranges::find(targets, channel, &ChannelValue::channel);
    return target == targets.end() ? std::nullopt : std::optional(target->value);
}

} // namespace pwm20
