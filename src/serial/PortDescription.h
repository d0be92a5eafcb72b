#pragma once

#include "PortNaming.h"

#include <QString>

class QSerialPortInfo;

namespace pwm20 {

// What the system says of a serial port: "FT232R USB UART，FTDI，序列号 A5XK3RJT".
QString describePort(const QSerialPortInfo &info);
// A port as a list shows it: "/dev/ttyUSB0 — FT232R USB UART，FTDI", or just its path.
QString portEntry(const QSerialPortInfo &info);
// What the system says of a device named by its path or name; empty when the system does not list
// it.
QString describeDevice(const QString &device);
// Which device port `port` stands for, and why: "com1：/dev/ttyUSB0（自动：系统中的第 1 个串口）",
// or that there is none.
QString portDeviceLine(int port, const PortDevice &chosen);

} // namespace pwm20
