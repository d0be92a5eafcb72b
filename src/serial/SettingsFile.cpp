#include "SettingsFile.h"

#include <QSettings>

namespace pwm20 {

std::unique_ptr<QSettings> openSettings(const QString &file)
{
    if (file.isEmpty())
        return std::make_unique<QSettings>(QStringLiteral("pwm20"), QStringLiteral("pwm20"));
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

} // namespace pwm20
