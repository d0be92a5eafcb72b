#include "PortListing.h"

#include "serial/PortDescription.h"
#include "serial/SerialService.h"

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QStringList>

#include <cstdio>

namespace pwm20 {

void printPorts(const SerialService &comm)
{
    QStringList lines;
    for (int port = 1; port <= 2; ++port)
        lines << portDeviceLine(port, comm.portDevice(port));
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    lines << (ports.isEmpty() ? QCoreApplication::translate("PortListing", "系统中没有串口。")
                              : QCoreApplication::translate("PortListing", "系统中的串口："));
    for (const QSerialPortInfo &info : ports)
        lines << QStringLiteral("  ") + portEntry(info);
    std::fputs(qPrintable(lines.join(u'\n') + u'\n'), stdout);
}

} // namespace pwm20
