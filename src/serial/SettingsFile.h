#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace pwm20 {

// The program's settings, kept across runs: in `file`, or in the user's config folder when it is
// empty (~/.config/pwm20/pwm20.conf on Linux).
std::unique_ptr<QSettings> openSettings(const QString &file);

} // namespace pwm20
