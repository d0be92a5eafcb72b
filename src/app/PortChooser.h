#pragma once

#include <QObject>

#include <array>

class QPoint;
class QRadioButton;

namespace pwm20 {

class MessagePresenter;
class SerialService;

// The port buttons tell which device com1 and com2 stand for (their tooltips, looked up when
// asked for), and offer the serial ports present in a right-click menu; a choice is kept for
// later runs and takes effect at the next open, or once the command line or the environment no
// longer names the device, which the menu then says.
class PortChooser final : public QObject
{
    Q_OBJECT

public:
    PortChooser(std::array<QRadioButton *, 2> buttons, SerialService &comm,
                MessagePresenter &messages);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString toolTip(int port) const;
    void showMenu(int port, const QPoint &at);

    std::array<QRadioButton *, 2> m_buttons;
    SerialService &m_comm;
    MessagePresenter &m_messages;
};

} // namespace pwm20
