#include "PortDescription.h"

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QStringList>

namespace pwm20 {
namespace {

QString sourceOf(int port, PortDevice::Source source)
{
    switch (source) {
    case PortDevice::Source::CommandLine:
        return QCoreApplication::translate("PortDescription", "命令行 --com%1 指定").arg(port);
    case PortDevice::Source::Environment:
        return QCoreApplication::translate("PortDescription", "环境变量 PWM20_COM%1 指定")
            .arg(port);
    case PortDevice::Source::Remembered:
        return QCoreApplication::translate("PortDescription", "上次选择的设备");
    case PortDevice::Source::Automatic:
        return QCoreApplication::translate("PortDescription", "自动：系统中的第 %1 个串口")
            .arg(port);
    case PortDevice::Source::None:
        break;
    }
    return {};
}

} // namespace

QString describePort(const QSerialPortInfo &info)
{
    QStringList parts;
    for (const QString &part : {info.description(), info.manufacturer()}) {
        if (!part.isEmpty())
            parts << part;
    }
    if (!info.serialNumber().isEmpty())
        parts
            << QCoreApplication::translate("PortDescription", "序列号 %1").arg(info.serialNumber());
    return parts.join(QCoreApplication::translate("PortDescription", "，"));
}

QString describeDevice(const QString &device, const QList<QSerialPortInfo> &known)
{
    for (const QSerialPortInfo &info : known) {
        if (info.systemLocation() == device || info.portName() == device)
            return describePort(info);
    }
    return {};
}

QString portEntry(const QString &device, const QList<QSerialPortInfo> &known)
{
    const QString details = describeDevice(device, known);
    return details.isEmpty() ? device : QStringLiteral("%1 — %2").arg(device, details);
}

QString portDeviceLine(int port, const PortDevice &chosen)
{
    if (chosen.device.isEmpty())
        return QCoreApplication::translate("PortDescription", "com%1：没有可用的串口。").arg(port);
    return QCoreApplication::translate("PortDescription", "com%1：%2（%3）")
        .arg(port)
        .arg(chosen.device, sourceOf(port, chosen.source));
}

QString overridingLine(int port, const PortDevice &chosen)
{
    switch (chosen.source) {
    case PortDevice::Source::CommandLine:
        return QCoreApplication::translate("PortDescription", "由命令行 --com%1 指定：%2")
            .arg(port)
            .arg(chosen.device);
    case PortDevice::Source::Environment:
        return QCoreApplication::translate("PortDescription", "由环境变量 PWM20_COM%1 指定：%2")
            .arg(port)
            .arg(chosen.device);
    default:
        return {};
    }
}

QString overriddenChoiceMessage(int port, const PortDevice &chosen)
{
    if (chosen.source == PortDevice::Source::CommandLine)
        return QCoreApplication::translate("PortDescription",
                                           "已记住这一选择。现在 com%1 由命令行 --com%1 指定为 "
                                           "%2，不带该选项启动时这一选择才生效。")
            .arg(port)
            .arg(chosen.device);
    return QCoreApplication::translate("PortDescription",
                                       "已记住这一选择。现在 com%1 由环境变量 PWM20_COM%1 指定为 "
                                       "%2，去掉该环境变量后这一选择才生效。")
        .arg(port)
        .arg(chosen.device);
}

} // namespace pwm20
