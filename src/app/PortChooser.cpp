#include "PortChooser.h"

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

PortChooser::PortChooser(std::array<QRadioButton *, 2> buttons, SerialService &comm)
    : m_buttons(buttons), m_comm(comm)
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
    const bool remembered = chosen.source == PortDevice::Source::Remembered;
    QMenu menu;
    QAction *automatic = menu.addAction(QCoreApplication::translate("PortChooser", "自动"));
    automatic->setCheckable(true);
    automatic->setChecked(!remembered);
    menu.addSeparator();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        QAction *action = menu.addAction(portEntry(info));
        action->setData(info.systemLocation());
        action->setCheckable(true);
        action->setChecked(remembered && chosen.device == info.systemLocation());
    }
    if (ports.isEmpty())
        menu.addAction(QCoreApplication::translate("PortChooser", "没有找到串口"))
            ->setEnabled(false);
    if (QAction *picked = menu.exec(at))
        m_comm.chooseDevice(port, picked->data().toString()); // empty for 自动
}

} // namespace pwm20
