#include "PortChooser.h"

#include "serial/MessagePresenter.h"
#include "serial/PortDescription.h"
#include "serial/SerialService.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QToolTip>

namespace pwm20 {

PortChooser::PortChooser(std::array<QRadioButton *, 2> buttons, SerialService &comm,
                         MessagePresenter &messages)
    : m_buttons(buttons), m_comm(comm), m_messages(messages)
{
    for (QRadioButton *button : m_buttons)
        button->installEventFilter(this);
}

QString PortChooser::toolTip(int port) const
{
    QStringList lines;
    const QString openDevice = m_comm.commPort() == port ? m_comm.openDevice() : QString();
    if (!openDevice.isEmpty()) {
        lines << QCoreApplication::translate("PortChooser", "com%1：已打开 %2")
                     .arg(port)
                     .arg(openDevice)
              << describeDevice(openDevice);
    } else {
        const PortDevice chosen = m_comm.portDevice(port);
        lines << portDeviceLine(port, chosen) << describeDevice(chosen.device)
              << QCoreApplication::translate("PortChooser", "右键单击可选择设备。");
    }
    lines.removeAll(QString());
    return lines.join(u'\n');
}

bool PortChooser::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::ranges::find(m_buttons, watched);
    if (found == m_buttons.end())
        return false;
    const int port = static_cast<int>(found - m_buttons.begin()) + 1;
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTip(port), *found);
        return true;
    }
    if (event->type() == QEvent::ContextMenu) {
        showMenu(port, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return false;
}

void PortChooser::showMenu(int port, const QPoint &at)
{
    const PortDevice chosen = m_comm.portDevice(port);
    // A tick marks the device the port stands for, and 自动 only a port mapped automatically.
    const bool mappedAutomatically =
        chosen.source == PortDevice::Source::Automatic || chosen.source == PortDevice::Source::None;
    const QString overriding = overridingLine(port, chosen);
    QMenu menu;
    if (!overriding.isEmpty()) {
        menu.addAction(overriding)->setEnabled(false);
        menu.addSeparator();
    }
    QAction *automatic = menu.addAction(QCoreApplication::translate("PortChooser", "自动"));
    automatic->setCheckable(true);
    automatic->setChecked(mappedAutomatically);
    menu.addSeparator();
    const QStringList devices = m_comm.systemPorts();
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    for (const QString &device : devices) {
        QAction *action = menu.addAction(portEntry(device, known));
        action->setData(device);
        action->setCheckable(true);
        action->setChecked(!mappedAutomatically && chosen.device == device);
    }
    if (devices.isEmpty())
        menu.addAction(QCoreApplication::translate("PortChooser", "没有找到串口"))
            ->setEnabled(false);
    QAction *picked = menu.exec(at);
    if (!picked)
        return;
    m_comm.chooseDevice(port, picked->data().toString()); // empty for 自动
    if (!overriding.isEmpty())
        m_messages.showMessage(overriddenChoiceMessage(port, chosen));
}

} // namespace pwm20
