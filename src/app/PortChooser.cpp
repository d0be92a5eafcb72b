#include "PortChooser.h"

#include "serial/SerialService.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QToolTip>

namespace pwm20 {
namespace {

// What the system says of a device: "FT232R USB UART, FTDI, serial number A5XK3RJT".
QString describe(const QSerialPortInfo &info)
{
    QStringList parts;
    for (const QString &part : {info.description(), info.manufacturer()}) {
        if (!part.isEmpty())
            parts << part;
    }
    if (!info.serialNumber().isEmpty())
        parts << QCoreApplication::translate("PortChooser", "序列号 %1").arg(info.serialNumber());
    return parts.join(QCoreApplication::translate("PortChooser", "，"));
}

QString describeDevice(const QString &device)
{
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() == device || info.portName() == device)
            return describe(info);
    }
    return {};
}

QString sourceOf(int port, PortDevice::Source source)
{
    switch (source) {
    case PortDevice::Source::CommandLine:
        return QCoreApplication::translate("PortChooser", "命令行 --com%1 指定").arg(port);
    case PortDevice::Source::Environment:
        return QCoreApplication::translate("PortChooser", "环境变量 PWM20_COM%1 指定").arg(port);
    case PortDevice::Source::Remembered:
        return QCoreApplication::translate("PortChooser", "上次选择的设备");
    case PortDevice::Source::Automatic:
        return QCoreApplication::translate("PortChooser", "自动：系统中的第 %1 个串口").arg(port);
    case PortDevice::Source::None:
        break;
    }
    return {};
}

} // namespace

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
    } else if (const PortDevice chosen = m_comm.portDevice(port); chosen.device.isEmpty()) {
        lines << QCoreApplication::translate("PortChooser", "com%1：没有可用的串口。").arg(port);
    } else {
        lines << QCoreApplication::translate("PortChooser", "com%1：%2（%3）")
                     .arg(port)
                     .arg(chosen.device, sourceOf(port, chosen.source))
              << describeDevice(chosen.device);
    }
    if (openDevice.isEmpty())
        lines << QCoreApplication::translate("PortChooser", "右键单击可选择设备。");
    lines.removeAll(QString());
    return lines.join(u'\n');
}

void PortChooser::choose(int port, const QString &device)
{
    m_comm.chooseDevice(port, device);
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
        const QString details = describe(info);
        QAction *action = menu.addAction(
            details.isEmpty() ? info.systemLocation()
                              : QStringLiteral("%1 — %2").arg(info.systemLocation(), details));
        action->setData(info.systemLocation());
        action->setCheckable(true);
        action->setChecked(remembered && chosen.device == info.systemLocation());
    }
    if (ports.isEmpty())
        menu.addAction(QCoreApplication::translate("PortChooser", "没有找到串口"))
            ->setEnabled(false);
    if (QAction *picked = menu.exec(at))
        choose(port, picked->data().toString());
}

} // namespace pwm20
