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
    for (const PlannedFrame &frame : allOffFrames(sliderValues()))
        send(frame);
}

void GroupCommands::centreAll()
{
    for (const PlannedFrame &frame : centreAllFrames(sliderValues(), m_table))
        send(frame);
}

ChannelValues GroupCommands::channelValues() const
{
    return m_frames.sentValues();
}

ChannelValues GroupCommands::sliderValues() const
{
    ChannelValues values{};
    for (const ChannelRow &row : m_rows)
        values[static_cast<std::size_t>(row.channel() - 1)] = row.value();
    return values;
}

void GroupCommands::send(const PlannedFrame &frame)
{
    if (frame.ramped) {
        m_frames.rampFrameSend(frame.channel, frame.value);
    } else if (frame.offLoop) {
        fillChannelFrame(m_frameBuffer, frame.channel, 0);
        m_frames.plainFrameWrite();
        // The slider moved to 0 before the loop began, unless a hand has moved it since.
        m_rows[static_cast<std::size_t>(frame.channel - 1)].showSent(ChannelTable::offValue);
    } else {
        m_rows[static_cast<std::size_t>(frame.channel - 1)].sendValue(frame.value);
    }
}

void GroupCommands::showTarget(int channel, int target)
{
    // The slider shows where the channel is going; its frames echo on the way.
    m_rows[static_cast<std::size_t>(channel - 1)].showSent(target);
}

} // namespace pwm20
