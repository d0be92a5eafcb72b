#include "SetupInUse.h"

#include "SetupFile.h"

#include "serial/SettingsFile.h"

#include <QFileInfo>
#include <QSettings>

namespace pwm20 {
namespace {

const QString fileKey = QStringLiteral("setup/file");

} // namespace

bool SetupInUse::load(const QString &path, QString &error, bool *forgotten)
{
    QByteArray text;
    const std::optional<ChannelTable> table = loadSetupFile(path, error, &text);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // A file that cannot be used is said once, not at every start.
    const bool forget = !table && absolute == rememberedPath();
    if (forget)
        openSettings({})->remove(fileKey);
    if (forgotten)
        *forgotten = forget;
    use(table.value_or(ChannelTable()), table ? path : QString());
    if (!table)
        m_refused = Refused{absolute, text, error};
    return table.has_value();
}

bool SetupInUse::save(const QString &path, const ChannelTable &table, QString &error)
{
    if (!saveSetupFile(path, table, error))
        return false;
    use(table, path);
    return true;
}

QString SetupInUse::rememberedPath()
{
    return openSettings({})->value(fileKey).toString();
}

void SetupInUse::use(const ChannelTable &table, const QString &path)
{
    const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_refused.reset();
    if (!absolute.isEmpty())
        openSettings({})->setValue(fileKey, absolute);
    // The same setup saved again changes nothing, and ends no batch.
    if (table == m_table && absolute == m_path)
        return;
    m_table = table;
    m_path = absolute;
    Q_EMIT changed();
}

} // namespace pwm20
