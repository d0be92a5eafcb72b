#include "PortListing.h"

#include "CommandLine.h"

#include "serial/PortDescription.h"
#include "serial/SerialService.h"

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QStringList>

#include <cstdio>

namespace pwm20 {

int printPorts(const SerialService &comm)
{
    QStringList lines;
    const PortDevice com1 = comm.portDevice(1);
    const PortDevice com2 = comm.portDevice(2);
    lines << portDeviceLine(1, com1) << portDeviceLine(2, com2);
    const QStringList devices = comm.systemPorts();
    lines << (devices.isEmpty() ? QCoreApplication::translate("PortListing", "系统中没有串口。")
                                : QCoreApplication::translate("PortListing", "系统中的串口："));
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    for (const QString &device : devices)
        lines << QStringLiteral("  ") + portEntry(device, known);
    const int status = printOut(lines.join(u'\n') + u'\n');
    // Most likely a slip: two ports are there for two boards.
    if (sameDevice(com1.device, com2.device))
        std::fputs(qPrintable(QCoreApplication::translate("PortListing",
                                                          "注意：com1 和 com2 是同一个设备（%1）。")
                                  .arg(com1.device) +
                              u'\n'),
                   stderr);
    return status;
}

} // namespace pwm20
