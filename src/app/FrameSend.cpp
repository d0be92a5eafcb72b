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
    const int value = valueBox.text().toInt();
    if (m_comm.portOpen() && m_ramper && m_ramper(channel, value)) {
        m_text2.setText(waitText());
        return;
    }
    fillChannelFrame(m_frameBuffer, channel, static_cast<std::uint8_t>(value));
    keepSent();
    if (m_comm.portOpen()) {
        write();
        m_text1.setText(echoText(channel, valueBox.text()));
    } else {
        m_messages.showMessage(notOpenMessage());
    }
    m_text2.setText(waitText());
}

void FrameSend::rampFrameSend(int channel, int value)
{
    fillChannelFrame(m_frameBuffer, channel, static_cast<std::uint8_t>(value));
    keepSent();
    if (m_comm.portOpen()) {
        write();
        m_text1.setText(echoText(channel, QString::number(value)));
    }
    m_text2.setText(waitText());
}

void FrameSend::plainFrameWrite()
{
    keepSent();
    if (m_comm.portOpen())
        write();
}

void FrameSend::keepSent()
{
    m_sent[static_cast<std::size_t>(m_frameBuffer[1] - 1)] = m_frameBuffer[2];
}

void FrameSend::write()
{
    m_comm.output(frameBytes(m_frameBuffer));
    if (m_written)
        m_written(m_frameBuffer[1], m_frameBuffer[2]);
}

} // namespace pwm20
