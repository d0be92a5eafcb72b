#include "GroupCommands.h"

#include "channels/ChannelRow.h"
#include "channels/ChannelSlider.h"
#include "serial/FrameSend.h"

namespace pwm20 {

GroupCommands::GroupCommands(std::span<ChannelRow> rows, FrameBuffer &frameBuffer,
                             FrameSend &frames)
    : m_rows(rows), m_frameBuffer(frameBuffer), m_frames(frames)
{}

void GroupCommands::allOff()
{
    for (ChannelRow &row : m_rows)
        row.setValueText(QStringLiteral("0"));
    for (ChannelRow &row : m_rows)
        row.setPosition(ChannelSlider::offPosition);
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
        row.setPosition(centrePosition);
}

} // namespace pwm20
