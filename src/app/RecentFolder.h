#pragma once

#include <QString>

namespace pwm20 {

// The folder a batch file was last opened from or saved to, kept across runs beside the ports
// chosen: the batch box's file dialogs start there.
class RecentFolder
{
public:
    // `file`: a settings file of its own; empty for the user's config folder.
    explicit RecentFolder(QString file = {});

    QString folder() const;
    void remember(const QString &folder);

private:
    QString m_file;
};

} // namespace pwm20
