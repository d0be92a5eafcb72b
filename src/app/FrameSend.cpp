#include "FrameSend.h"

#include "serial/MessagePresenter.h"
#include "serial/PortMessages.h"
#include "serial/SerialService.h"

#include <QLineEdit>

namespace pwm20 {

FrameSend::FrameSend(SerialService &comm, FrameBuffer &frameBuffer, QLineEdit &text1,
                     QLineEdit &text2, MessagePresenter &messages)
    : m_comm(comm), m_frameBuffer(frameBuffer), m_text1(text1), m_text2(text2), m_messages(messages)
{}

void FrameSend::channelFrameSend(int channel, const QLineEdit &valueBox)
{
    // The row has just written the decimal channel value into its box.
    fillChannelFrame(m_frameBuffer, channel, static_cast<std::uint8_t>(valueBox.text().toUInt()));
    if (m_comm.portOpen()) {
        write();
        m_text1.setText(echoText(channel, valueBox.text()));
    } else {
        m_messages.showMessage(notOpenMessage());
    }
    m_text2.setText(waitText());
}

void FrameSend::plainFrameWrite()
{
    if (m_comm.portOpen())
        write();
}

void FrameSend::write()
{
    m_comm.output(frameBytes(m_frameBuffer));
}

} // namespace pwm20
