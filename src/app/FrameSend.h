#pragma once

#include "serial/ServoFrame.h"

class QLineEdit;

namespace pwm20 {

class MessagePresenter;
class SerialService;

// The two ways a frame reaches the line, both through the window's one frame buffer.
class FrameSend
{
public:
    FrameSend(SerialService &comm, FrameBuffer &frameBuffer, QLineEdit &text1, QLineEdit &text2,
              MessagePresenter &messages);

    // A row's frame: written with its echo in Text1 when the port is open, the not-open message
    // otherwise; Text2 shows "Wait..." either way.
    void channelFrameSend(int channel, const QLineEdit &valueBox);

    // Writes the frame buffer as it stands when the port is open; shows nothing.
    void plainFrameWrite();

private:
    void write();

    SerialService &m_comm;
    FrameBuffer &m_frameBuffer;
    QLineEdit &m_text1;
    QLineEdit &m_text2;
    MessagePresenter &m_messages;
};

} // namespace pwm20
