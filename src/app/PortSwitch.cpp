#include "PortSwitch.h"

#include "serial/MessagePresenter.h"
#include "serial/PortMessages.h"
#include "serial/SerialService.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

namespace pwm20 {

PortSwitch::PortSwitch(SerialService &comm, PortControls controls, MessagePresenter &messages,
                       std::function<void()> allOff)
    : m_comm(comm), m_controls(controls), m_messages(messages), m_allOff(std::move(allOff))
{}

void PortSwitch::choosePort(int port)
{
    m_comm.setCommPort(port);
}

void PortSwitch::toggle()
{
    if (m_comm.portOpen())
        close();
    else
        open();
}

void PortSwitch::open()
{
    m_controls.option1.setEnabled(false);
    m_controls.option2.setEnabled(false);
    if (!m_comm.setPortOpen(true)) {
        showClosedState();
        m_messages.showWarning(openFailedMessage(m_comm.commPort(), m_comm.openFailure()));
        return;
    }
    m_controls.command1.setText(QCoreApplication::translate("PortSwitch", "关闭串口"));
    // The board starts from every channel off on a freshly opened line.
    m_allOff();
    m_controls.command3.setEnabled(true);
    m_controls.command4.setEnabled(true);
}

void PortSwitch::close()
{
    // Nothing is sent: the board keeps the values it last received.
    m_comm.setPortOpen(false);
    showClosedState();
}

void PortSwitch::showClosedState()
{
    m_controls.command1.setText(QCoreApplication::translate("PortSwitch", "打开串口"));
    m_controls.option1.setEnabled(true);
    m_controls.option2.setEnabled(true);
    m_controls.command3.setEnabled(false);
    m_controls.command4.setEnabled(false);
}

void PortSwitch::deviceLost()
{
    const QString device = m_comm.openDevice();
    // Closed before the message shows: a dead device keeps reporting errors until it is closed.
    close();
    m_messages.showWarning(deviceLostMessage(m_comm.commPort(), device));
}

} // namespace pwm20
