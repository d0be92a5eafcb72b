#pragma once

#include "channels/GroupFrames.h"
#include "serial/ServoFrame.h"

#include <functional>

class QLineEdit;

namespace pwm20 {

class MessagePresenter;
class SerialService;

// The ways a frame reaches the line, all through the window's one frame buffer, and what the
// board was last sent for each channel.
class FrameSend
{
public:
    // Takes a row's new value for a channel that ramps there, and says whether it did.
    using Ramper = std::function<bool(int channel, int value)>;

    FrameSend(SerialService &comm, FrameBuffer &frameBuffer, QLineEdit &text1, QLineEdit &text2,
              MessagePresenter &messages);

    // Told of each frame once it is handed to the port.
    using Written = std::function<void(int channel, int value)>;

    void setRamper(Ramper ramper) { m_ramper = std::move(ramper); }
    void setWritten(Written written) { m_written = std::move(written); }

    // A row's new value: with the port open a channel with limits ramps there, its frames to
    // follow; otherwise the frame is written with its echo in Text1 when the port is open, the
    // not-open message otherwise. Text2 shows "Wait..." either way.
    void channelFrameSend(int channel, const QLineEdit &valueBox);
    // A frame on a ramp's way: written with its echo, the row showing the value asked.
    void rampFrameSend(int channel, int value);

    // Writes the frame buffer as it stands when the port is open; shows nothing.
    void plainFrameWrite();

    // What each channel was last sent, or would have been with the port open.
    const ChannelValues &sentValues() const { return m_sent; }

private:
    void write();
    void keepSent();

    SerialService &m_comm;
    FrameBuffer &m_frameBuffer;
    QLineEdit &m_text1;
    QLineEdit &m_text2;
    MessagePresenter &m_messages;
    Ramper m_ramper;
    Written m_written;
    ChannelValues m_sent{};
};

} // namespace pwm20
