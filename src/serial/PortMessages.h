#pragma once

#include "SerialService.h"

#include <QString>

namespace pwm20 {

// What the user is told about the serial port, in the window's language. Port 0 is a device
// given by its path alone.
QString notOpenMessage();
QString waitText();
QString openFailedMessage(int port, const OpenFailure &failure);
QString deviceLostMessage(int port, const QString &device);

} // namespace pwm20
