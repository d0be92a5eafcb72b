#include "PlayFrom.h"

#include <algorithm>
#include <limits>

namespace pwm20 {

std::vector<BatchStep> stepsFrom(const std::vector<BatchStep> &steps, int line,
                                 const HeldPose &held, const ChannelValues &now)
{
    using Kind = BatchStep::Kind;
    const auto first =
        std::ranges::find_if(steps, [&](const BatchStep &step) { return step.line >= line; });
    if (first == steps.end())
        return {};
    const auto from = std::size_t(first - steps.begin());
    // The pose the sequence holds there, reached from where the servos are.
    // The lead-in is no line of the text: nothing is highlighted for it, and a limit that
    // stretches it is no fault of the row.
    BatchStep offs;
    offs.line = 0;
    BatchStep glide = offs;
    glide.kind = Kind::Move;
    glide.amount = glideToPoseMs;
    glide.smooth = true;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const std::optional<int> value = held[std::size_t(channel - 1)];
        if (!value || *value == now[std::size_t(channel - 1)])
            continue;
        (*value == ChannelTable::offValue ? offs : glide).frames.push_back({channel, *value});
    }
    std::vector<BatchStep> played;
    for (const BatchStep &step : {offs, glide}) {
        if (!step.frames.empty())
            played.push_back(step);
    }
    constexpr auto dropped = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> newIndex(steps.size(), dropped);
    for (std::size_t index = from; index < steps.size(); ++index) {
        // The end of a loop whose start is not played: the rest of its body plays once.
        if (steps[index].kind == Kind::End && steps[index].partner < from)
            continue;
        newIndex[index] = played.size();
        played.push_back(steps[index]);
    }
    for (BatchStep &step : played) {
        if (step.kind == Kind::Repeat || step.kind == Kind::End)
            step.partner = newIndex[step.partner];
    }
    return played;
}

std::vector<BatchStep> loopedSteps(std::vector<BatchStep> steps)
{
    using Kind = BatchStep::Kind;
    if (steps.empty())
        return steps;
    for (BatchStep &step : steps) {
        if (step.kind == Kind::Repeat || step.kind == Kind::End)
            ++step.partner;
    }
    BatchStep repeat;
    repeat.kind = Kind::Repeat;
    repeat.line = steps.front().line;
    repeat.partner = steps.size() + 1;
    BatchStep end;
    end.kind = Kind::End;
    end.line = steps.back().line;
    steps.insert(steps.begin(), repeat);
    steps.push_back(end);
    return steps;
}

} // namespace pwm20
