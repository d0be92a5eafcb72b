#pragma once

#include <functional>

class QPushButton;
class QRadioButton;

namespace pwm20 {

class MessagePresenter;
class SerialService;

// The controls that follow whether the port is open.
struct PortControls
{
    QPushButton &command1;
    QRadioButton &option1;
    QRadioButton &option2;
    QPushButton &command3;
    QPushButton &command4;
};

// Choosing, opening and closing the port, and what happens when its device goes away.
class PortSwitch
{
public:
    PortSwitch(SerialService &comm, PortControls controls, MessagePresenter &messages,
               std::function<void()> allOff);

    // Takes effect at the next open; the choice is locked while the port is open.
    void choosePort(int port);
    // Opens the port when it is closed (switching every channel off), closes it when it is open.
    void toggle();
    // The open device stopped working: close the port and say so, once.
    void deviceLost();

private:
    void open();
    void close();
    void showClosedState();

    SerialService &m_comm;
    PortControls m_controls;
    MessagePresenter &m_messages;
    std::function<void()> m_allOff;
};

} // namespace pwm20
