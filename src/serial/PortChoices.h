#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace pwm20 {

// The device the user chose for each port, kept across runs in the user's config folder. The
// settings are read when first asked for, not at start-up.
class PortChoices
{
public:
    // `file`: a settings file of its own; empty for the user's config folder.
    explicit PortChoices(QString file = {});
    ~PortChoices();

    QString remembered(int port) const;
    // An empty device forgets the choice: the port is mapped automatically again.
    void remember(int port, const QString &device);

private:
    QSettings &settings() const;

    QString m_file;
    mutable std::unique_ptr<QSettings> m_settings;
};

} // namespace pwm20
