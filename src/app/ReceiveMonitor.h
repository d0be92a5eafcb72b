#pragma once

#include <QByteArray>

class QLineEdit;

namespace pwm20 {

class SerialService;

// Shows in Text2 what the board sent in one receive event, replacing whatever Text2 showed.
class ReceiveMonitor
{
public:
    ReceiveMonitor(SerialService &comm, QByteArray &receiveBuffer, QLineEdit &text2);

    void showReceived();

private:
    SerialService &m_comm;
    QByteArray &m_receiveBuffer;
    QLineEdit &m_text2;
};

} // namespace pwm20
