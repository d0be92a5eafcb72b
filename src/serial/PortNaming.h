#pragma once

#include <QString>
#include <QStringList>

namespace pwm20 {

// System serial ports, by name or path, in the order that port numbers count them: USB adapters
// (ttyUSB*) first, then CDC-ACM boards (ttyACM*), then the rest; each group in natural order, so
// ttyUSB2 comes before ttyUSB10.
QStringList orderedSerialPorts(QStringList names);

// The path a serial port's name stands for, as the serial port opens it: "ttyUSB0" is
// "/dev/ttyUSB0"; a path stays as it is, and so does every name on Windows.
QString devicePath(const QString &name);
// Whether two devices are one, symbolic links followed; an empty device is none.
bool sameDevice(const QString &first, const QString &second);

// The device a port stands for, and where that choice comes from.
struct PortDevice
{
    enum class Source { None, CommandLine, Environment, Remembered, Automatic };

    QString device;
    Source source = Source::None;

    bool operator==(const PortDevice &) const = default;
};

// The devices the user named for one port, each empty where not named.
struct NamedDevices
{
    QString commandLine; // --com1, --com2
    QString environment; // PWM20_COM1, PWM20_COM2
    QString remembered;  // chosen in the window's menu on an earlier run
};

// The device port `port` (1-based) stands for: the first of the named devices that is set, in the
// order above, otherwise the port-th of `systemPorts` in the order they count in; none when there
// is no such port.
PortDevice choosePortDevice(int port, const NamedDevices &named, const QStringList &systemPorts);

} // namespace pwm20
