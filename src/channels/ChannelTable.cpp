#include "ChannelTable.h"

#include <QString>

namespace pwm20 {

bool ChannelTable::accepts(int number, int value) const
{
    const Channel &limits = channel(number);
    return value == offValue || (value >= limits.min && value <= limits.max);
}

int ChannelTable::restingValue(int number, int from, int to, bool dragged) const
{
    const Channel &limits = channel(number);
    // A drag let go at the bottom end of a channel with a minimum is below it too: a gripper let
    // go of there holds what it grips. End, or a step down from the minimum, switch it off.
    const bool droppedBelowMinimum = dragged && to < limits.min && limits.min > offValue + 1;
    if (accepts(number, to) && !droppedBelowMinimum)
        return to;
    if (to > limits.max)
        return limits.max;
    // Below the minimum: a single step down from it switches off; a drag let go there holds.
    return !dragged && from == limits.min && to == from - 1 ? offValue : limits.min;
}

std::optional<int> ChannelTable::channelNamed(std::string_view name) const
{
    for (int number = 1; number <= channelCount; ++number) {
        const std::string &own = channel(number).name;
        if (!own.empty() && sameName(own, name))
            return number;
    }
    return std::nullopt;
}

bool sameName(std::string_view a, std::string_view b)
{
    // é typed as one character or as e and a combining accent is one name.
    const auto folded = [](std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
            .normalized(QString::NormalizationForm_D)
            .toCaseFolded()
            .normalized(QString::NormalizationForm_C);
    };
    return folded(a) == folded(b);
}

} // namespace pwm20
