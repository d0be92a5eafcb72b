#include "SetupCheck.h"

#include "CommandLine.h"

#include "setup/SetupFile.h"
#include "setup/SetupInUse.h"

#include <QCoreApplication>

#include <cstdio>

namespace pwm20 {

int checkSetupCommand(const QString &setupFile)
{
    const QString path = setupFile.isEmpty() ? SetupInUse::rememberedPath() : setupFile;
    QString error;
    const std::optional<ChannelTable> table =
        path.isEmpty() ? std::optional(ChannelTable()) : loadSetupFile(path, error);
    if (!table) {
        std::fputs(qPrintable(error + u'\n'), stderr);
        return 2;
    }
    const QString heading =
        path.isEmpty()
            ? QCoreApplication::translate("SetupCheck", "没有通道设置文件，使用默认设置：")
        : setupFile.isEmpty()
            ? QCoreApplication::translate("SetupCheck", "窗口使用的通道设置 %1：").arg(path)
            : QCoreApplication::translate("SetupCheck", "通道设置 %1：").arg(path);
    return printOut(heading + u'\n' + describeSetup(*table));
}

} // namespace pwm20
