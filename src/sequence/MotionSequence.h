#pragma once

#include "SequenceRow.h"
#include "channels/ChannelTable.h"
#include "channels/GroupFrames.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwm20 {

// What the sequence holds for each channel before a row, channel 1 first: none where nothing
// before it set the channel.
using HeldPose = std::array<std::optional<int>, ChannelTable::channelCount>;

// A batch text read as the motion editor's rows, one per line (blank ones too), so that row i is
// line i + 1. A line is a keyframe when it reads alone as a pose line or a move, whatever the
// channels' limits (a value outside them is the batch check's to name); `S n v E` frames, waits,
// loops, `off`, `centre`, comments and lines that do not read are text rows.
class MotionSequence
{
public:
    MotionSequence() = default;
    static MotionSequence read(std::string_view text, const ChannelTable &channels);

    const std::vector<SequenceRow> &rows() const { return m_rows; }
    // The channels the keyframes name, in channel order: one column each.
    const std::vector<int> &channels() const { return m_channels; }
    // The pose the lines before row `row` leave, read in order (a loop's body once): pose lines
    // and moves set their channels, `S n v E` its one, `off` every channel to 0, `centre` every
    // channel to its home.
    HeldPose poseBefore(std::size_t row) const;

private:
    std::vector<SequenceRow> m_rows;
    std::vector<int> m_channels;
    ChannelTable m_table;
};

} // namespace pwm20
