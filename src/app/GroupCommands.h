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

    // What allOffFrames() and centreAllFrames() say, from where the sliders stand (where a
    // channel is asked to be, ramping there or not): a frame that moves a slider goes out as its
    // row sends it.
    void allOff();
    void centreAll();

    // What the board was last sent: a ramp goes on from there.
    ChannelValues channelValues() const override;
    void send(const PlannedFrame &frame) override;
    void showTarget(int channel, int target) override;

private:
    ChannelValues sliderValues() const;

    std::span<ChannelRow> m_rows;
    FrameBuffer &m_frameBuffer;
    FrameSend &m_frames;
    const ChannelTable &m_table;
};

} // namespace pwm20
