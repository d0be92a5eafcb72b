#include "PortChoices.h"

#include "SettingsFile.h"

#include <QSettings>

namespace pwm20 {
namespace {

QString keyOf(int port)
{
    return QStringLiteral("ports/com%1").arg(port);
}

} // namespace

PortChoices::PortChoices(QString file) : m_file(std::move(file)) {}

PortChoices::~PortChoices() = default;

QSettings &PortChoices::settings() const
{
    if (!m_settings)
        m_settings = openSettings(m_file);
    return *m_settings;
}

QString PortChoices::remembered(int port) const
{
    return settings().value(keyOf(port)).toString();
}

void PortChoices::remember(int port, const QString &device)
{
    if (device.isEmpty())
        settings().remove(keyOf(port));
    else
        settings().setValue(keyOf(port), device);
    settings().sync();
}

} // namespace pwm20
