#pragma once

#include "channels/ChannelTable.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace pwm20 {

// The channel setup the program runs with, and the file it came from. The table stays at one
// address for the program's life, so everything that reads it sees a change at once; nothing is
// sent because of a change. The file last used is remembered for the next run.
class SetupInUse final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    const ChannelTable &table() const { return m_table; }
    // Empty while the defaults are in use.
    const QString &path() const { return m_path; }

    // A file that could not be used, while the defaults stand in for it: where it is, what it
    // holds (empty when it could not be read) and what is wrong with it.
    struct Refused
    {
        QString path;
        QByteArray text;
        QString error;
    };
    const std::optional<Refused> &refused() const { return m_refused; }

    // Reads and uses the file; on an error the defaults are used, `error` says why and `forgotten`
    // whether it was the remembered file, which is then forgotten.
    bool load(const QString &path, QString &error, bool *forgotten = nullptr);
    // Writes the table to the file, then uses both.
    bool save(const QString &path, const ChannelTable &table, QString &error);

    // The file used last time, empty for none.
    static QString rememberedPath();

Q_SIGNALS:
    void changed();

private:
    void use(const ChannelTable &table, const QString &path);

    ChannelTable m_table;
    QString m_path;
    std::optional<Refused> m_refused;
};

} // namespace pwm20
