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
    allOffStarting();
    for (ChannelRow &row : m_rows)
        row.setValue(ChannelTable::offValue);
    // Only now, after every nested change has sent its frame, is the buffer reused: start, value 0
    // and end once, then each channel number in turn.
    m_frameBuffer[0] = frameStart;
    m_frameBuffer[2] = 0;
    m_frameBuffer[3] = frameEnd;
    for (const ChannelRow &row : m_rows) {
        m_frameBuffer[1] = static_cast<std::uint8_t>(row.channel());
        m_frames.plainFrameWrite();
    }
}

void GroupCommands::centreAll()
{
    for (ChannelRow &row : m_rows)
        row.setValue(m_table.channel(row.channel()).home);
}

ChannelValues GroupCommands::channelValues() const
{
    ChannelValues values{};
    for (const ChannelRow &row : m_rows)
        values[static_cast<std::size_t>(row.channel() - 1)] = row.value();
    return values;
}

void GroupCommands::allOffStarting()
{
    for (ChannelRow &row : m_rows)
        row.setValueText(QStringLiteral("0"));
}

void GroupCommands::send(const PlannedFrame &frame)
{
    if (frame.offLoop) {
        fillChannelFrame(m_frameBuffer, frame.channel, 0);
        m_frames.plainFrameWrite();
    } else {
        m_rows[static_cast<std::size_t>(frame.channel - 1)].sendValue(frame.value);
    }
}

} // namespace pwm20
