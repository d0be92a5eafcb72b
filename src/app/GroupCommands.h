#pragma once

#include "batch/BatchOutput.h"
#include "serial/ServoFrame.h"

#include <span>

namespace pwm20 {

class ChannelRow;
class FrameSend;

// The two commands that act on all twenty channels, in channel order; and the rows as a batch
// sends to them, frame by frame.
class GroupCommands final : public BatchOutput
{
public:
    GroupCommands(std::span<ChannelRow> rows, FrameBuffer &frameBuffer, FrameSend &frames,
                  const ChannelTable &table);

    // Every channel to 0: moved sliders send their own frames, then every channel gets one more
    // off frame, whether its slider moved or not.
    void allOff();
    // Every servo to its home (its centre unless set otherwise); only the rows whose slider really
    // moves send a frame.
    void centreAll();

    ChannelValues channelValues() const override;
    void allOffStarting() override;
    void send(const PlannedFrame &frame) override;

private:
    std::span<ChannelRow> m_rows;
    FrameBuffer &m_frameBuffer;
    FrameSend &m_frames;
    const ChannelTable &m_table;
};

} // namespace pwm20
