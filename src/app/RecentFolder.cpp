#include "RecentFolder.h"

#include "serial/SettingsFile.h"

#include <QSettings>

namespace pwm20 {
namespace {

QString folderKey()
{
    return QStringLiteral("batch/folder");
}

} // namespace

// The settings are opened only when a dialog is about to show, never at start-up.
RecentFolder::RecentFolder(QString file) : m_file(std::move(file)) {}

QString RecentFolder::folder() const
{
    return openSettings(m_file)->value(folderKey()).toString();
}

void RecentFolder::remember(const QString &folder)
{
    openSettings(m_file)->setValue(folderKey(), folder);
}

} // namespace pwm20
