#pragma once

#include <QString>

namespace pwm20 {

// `pwm20 --setup FILE --check`: prints the channel table the file gives (the window's setup when
// no file is named), or what is wrong with it. The exit status: 0, or 2 for a file that
// cannot be used.
int checkSetupCommand(const QString &setupFile);

} // namespace pwm20
