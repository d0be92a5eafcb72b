#pragma once

#include "SerialService.h"

#include <QString>

namespace pwm20 {

// Who is told what to do about a port: the window's user, or a shell's running `pwm20 run`.
enum class Advice { Window, Shell };

// What the user is told about the serial port, in the window's language. Port 0 is a device
// given by its path alone.
QString notOpenMessage();
QString waitText();
QString openFailedMessage(int port, const OpenFailure &failure, Advice advice = Advice::Window);
QString deviceLostMessage(int port, const QString &device, Advice advice = Advice::Window);

} // namespace pwm20
