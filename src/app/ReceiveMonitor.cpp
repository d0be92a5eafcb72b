#include "ReceiveMonitor.h"

#include "serial/ReceiveText.h"
#include "serial/SerialService.h"

#include <QLineEdit>

namespace pwm20 {

ReceiveMonitor::ReceiveMonitor(SerialService &comm, QByteArray &receiveBuffer, QLineEdit &text2)
    : m_comm(comm), m_receiveBuffer(receiveBuffer), m_text2(text2)
{}

void ReceiveMonitor::showReceived()
{
    // Replaced as a whole, so a board that never stops talking keeps one event's data at most.
    m_receiveBuffer = receiveBufferFromText(m_comm.input());
    m_text2.setText(textFromReceiveBuffer(m_receiveBuffer));
}

} // namespace pwm20
