#include "GroupCommands.h"

#include "ChannelRow.h"
#include "FrameSend.h"

namespace pwm20 {

GroupCommands::GroupCommands(std::span<ChannelRow> rows, FrameBuffer &frameBuffer,
                             FrameSend &frames, const ChannelTable &table)
    : m_rows(rows), m_frameBuffer(frameBuffer), m_frames(frames), m_table(table)
{}

void GroupCommands::allOff()
{
    for (const PlannedFrame &frame : allOffFrames(channelValues()))
        send(frame);
}

void GroupCommands::centreAll()
{
    for (const PlannedFrame &frame : centreAllFrames(channelValues(), m_table))
        send(frame);
}

ChannelValues GroupCommands::channelValues() const
{
    ChannelValues values{};
    for (const ChannelRow &row : m_rows)
        values[static_cast<std::size_t>(row.channel() - 1)] = row.value();
    return values;
}

void GroupCommands::send(const PlannedFrame &frame)
{
    if (frame.offLoop) {
        fillChannelFrame(m_frameBuffer, frame.channel, 0);
        m_frames.plainFrameWrite();
        // The slider moved to 0 before the loop began, unless a hand has moved it since.
        m_rows[static_cast<std::size_t>(frame.channel - 1)].showSent(ChannelTable::offValue);
    } else {
        m_rows[static_cast<std::size_t>(frame.channel - 1)].sendValue(frame.value);
    }
}

} // namespace pwm20
