#include "MotionSequence.h"

#include "batch/BatchLines.h"
#include "batch/BatchScript.h"

#include <algorithm>
#include <span>

namespace pwm20 {
namespace {

// The same names with no limits: a keyframe stays a keyframe while a value of it is out of
// bounds, so that the cell can be seen and mended.
ChannelTable namesOnly(const ChannelTable &channels)
{
    ChannelTable table;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        ChannelTable::Channel channel = channels.channel(number);
        channel.min = 1;
        channel.max = ChannelTable::highestValue;
        table.setChannel(number, channel);
    }
    return table;
}

std::string_view commandOf(std::string_view text)
{
    return text.substr(0, text.find('#'));
}

// The line read alone, when it is one command that reads.
std::optional<BatchStep> lineStep(std::string_view text, const ChannelTable &table)
{
    BatchScript script = parseBatch(commandOf(text), table);
    if (script.error || script.steps.size() != 1)
        return std::nullopt;
    return script.steps.front();
}

SequenceRow readRow(int line, std::string_view text, const ChannelTable &table)
{
    SequenceRow row;
    row.line = line;
    row.text = std::string(text);
    const std::vector<std::string_view> words = splitWords(commandOf(text));
    // `S n v E` sets a channel too, but it is a frame written by hand, not a pose.
    if (words.empty() || sameWord(words.front(), "s"))
        return row;
    const std::optional<BatchStep> step = lineStep(text, table);
    if (!step || (step->kind != BatchStep::Kind::Frames && step->kind != BatchStep::Kind::Move))
        return row;
    const bool move = step->kind == BatchStep::Kind::Move;
    row.kind = SequenceRow::Kind::Keyframe;
    row.targets = step->frames;
    row.durationMs = move ? step->amount : 0;
    row.curve = !move ? Curve::Instant : step->smooth ? Curve::Smooth : Curve::Linear;
    const auto pairs = move ? std::span(words).subspan(1, row.targets.size()) : std::span(words);
    for (std::string_view pair : pairs)
        row.channelWords.emplace_back(pair.substr(0, pair.find('=')));
    return row;
}

} // namespace

MotionSequence MotionSequence::read(std::string_view text, const ChannelTable &channels)
{
    MotionSequence sequence;
    sequence.m_table = namesOnly(channels);
    std::array<bool, ChannelTable::channelCount + 1> used{};
    int line = 0;
    for (const TextLine &textLine : splitLines(text)) {
        sequence.m_rows.push_back(readRow(++line, textLine.text, sequence.m_table));
        for (const ChannelValue &target : sequence.m_rows.back().targets)
            used[std::size_t(target.channel)] = true;
    }
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        if (used[std::size_t(channel)])
            sequence.m_channels.push_back(channel);
    }
    return sequence;
}

HeldPose MotionSequence::poseBefore(std::size_t row) const
{
    HeldPose held;
    using Kind = BatchStep::Kind;
    for (std::size_t index = 0; index < std::min(row, m_rows.size()); ++index) {
        const std::optional<BatchStep> step = lineStep(m_rows[index].text, m_table);
        if (!step)
            continue;
        for (const ChannelValue &frame : step->frames)
            held[std::size_t(frame.channel - 1)] = frame.value;
        for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
            if (step->kind == Kind::Off)
                held[std::size_t(channel - 1)] = ChannelTable::offValue;
            else if (step->kind == Kind::Centre)
                held[std::size_t(channel - 1)] = m_table.channel(channel).home;
        }
    }
    return held;
}

} // namespace pwm20
