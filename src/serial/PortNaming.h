#pragma once

#include <QString>
#include <QStringList>

namespace pwm20 {

// System serial port names in the order that port numbers count them: USB adapters (ttyUSB*)
// first, then CDC-ACM boards (ttyACM*), then the rest; each group in natural order, so ttyUSB2
// comes before ttyUSB10.
QStringList orderedSerialPorts(QStringList names);

// The device that port `port` (1-based) stands for: `override` when it is set, otherwise the
// port-th of `systemPorts` in the order above. Empty when there is no such port.
QString deviceForPort(int port, const QString &override, const QStringList &systemPorts);

} // namespace pwm20
