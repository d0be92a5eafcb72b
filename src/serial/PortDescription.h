#pragma once

#include "PortNaming.h"

#include <QList>
#include <QSerialPortInfo>
#include <QString>

namespace pwm20 {

// What the system says of a serial port: "FT232R USB UART，FTDI，序列号 A5XK3RJT".
QString describePort(const QSerialPortInfo &info);
// What the system says of a device named by its path or name, from what it says of its ports;
// empty when the system does not list it.
QString describeDevice(const QString &device,
                       const QList<QSerialPortInfo> &known = QSerialPortInfo::availablePorts());
// A port as a list shows it: "/dev/ttyUSB0 — FT232R USB UART，FTDI", or just its path.
QString portEntry(const QString &device, const QList<QSerialPortInfo> &known);
// Which device port `port` stands for, and why: "com1：/dev/ttyUSB0（自动：系统中的第 1 个串口）",
// or that there is none.
QString portDeviceLine(int port, const PortDevice &chosen);
// The port menu's first line when the command line or the environment decides the device, which
// the menu's choice then cannot: "由命令行 --com1 指定：/dev/ttyUSB0"; empty otherwise.
QString overridingLine(int port, const PortDevice &chosen);
// Said of a choice made in the menu while that holds: when the choice takes effect.
QString overriddenChoiceMessage(int port, const PortDevice &chosen);

} // namespace pwm20
