#include "KeyframeText.h"

#include "batch/BatchLines.h"

#include <algorithm>

namespace pwm20 {
namespace {

std::string channelWord(int channel, const ChannelTable &channels)
{
    const std::string &name = channels.channel(channel).name;
    return name.empty() ? std::to_string(channel) : name;
}

std::string joined(const std::vector<std::string> &words)
{
    std::string line;
    for (const std::string &word : words)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

std::string moveCommand(const std::vector<std::string> &pairs, std::int64_t ms, bool smooth)
{
    return "move " + joined(pairs) + " in " + std::to_string(ms) + (smooth ? " smooth" : "");
}

} // namespace

std::string keyframeLine(const SequenceRow &row, const ChannelTable &channels)
{
    const std::string_view text = row.text;
    const std::vector<std::string_view> words = splitWords(text.substr(0, text.find('#')));
    // What stands before the first word and after the last (blanks, a comment) stays as typed.
    const std::size_t first = words.empty() ? 0 : std::size_t(words.front().data() - text.data());
    const std::size_t last =
        words.empty() ? 0 : std::size_t(words.back().data() + words.back().size() - text.data());
    std::vector<std::string> pairs;
    for (std::size_t index = 0; index < row.targets.size(); ++index) {
        const ChannelValue &target = row.targets[index];
        pairs.push_back((index < row.channelWords.size() ? row.channelWords[index]
                                                         : channelWord(target.channel, channels)) +
                        "=" + std::to_string(target.value));
    }
    const std::string command =
        row.curve == Curve::Instant
            ? joined(pairs)
            : moveCommand(pairs, row.durationMs, row.curve == Curve::Smooth);
    return std::string(text.substr(0, first)) + command + std::string(text.substr(last));
}

bool setTarget(SequenceRow &row, int channel, std::optional<int> value)
{
    const auto target = std::ranges::find(row.targets, channel, &ChannelValue::channel);
    if (value && target != row.targets.end())
        target->value = *value;
    else if (value)
        row.targets.push_back({channel, *value});
    else if (target != row.targets.end()) {
        if (row.targets.size() == 1)
            return false;
        const auto index = target - row.targets.begin();
        if (std::size_t(index) < row.channelWords.size())
            row.channelWords.erase(row.channelWords.begin() + index);
        row.targets.erase(target);
    }
    return true;
}

void setDuration(SequenceRow &row, std::int64_t ms)
{
    row.durationMs = ms;
    if (row.curve == Curve::Instant)
        row.curve = Curve::Linear;
}

void setCurve(SequenceRow &row, Curve curve)
{
    if (curve == Curve::Instant)
        row.durationMs = 0;
    else if (row.curve == Curve::Instant)
        row.durationMs = capturedMoveMs;
    row.curve = curve;
}

namespace {

// The channels a capture takes: on, and not where the sequence already holds them.
bool captures(int channel, const ChannelValues &values, const HeldPose &held)
{
    const int value = values[std::size_t(channel - 1)];
    const std::optional<int> before = held[std::size_t(channel - 1)];
    return value != ChannelTable::offValue && before != value;
}

} // namespace

std::optional<std::string> captureLine(const ChannelValues &values, const HeldPose &held,
                                       const ChannelTable &channels)
{
    std::vector<std::string> pairs;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (captures(channel, values, held))
            pairs.push_back(channelWord(channel, channels) + "=" +
                            std::to_string(values[std::size_t(channel - 1)]));
    }
    if (pairs.empty())
        return std::nullopt;
    return moveCommand(pairs, capturedMoveMs, true);
}

SequenceRow updatedPose(SequenceRow row, const ChannelValues &values, const HeldPose &held)
{
    for (ChannelValue &target : row.targets) {
        // An off channel has no pose to take: what was written stays.
        if (const int value = values[std::size_t(target.channel - 1)];
            value != ChannelTable::offValue)
            target.value = value;
    }
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (!row.valueOf(channel) && captures(channel, values, held))
            row.targets.push_back({channel, values[std::size_t(channel - 1)]});
    }
    return row;
}

} // namespace pwm20
