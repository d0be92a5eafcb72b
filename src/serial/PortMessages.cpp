#include "PortMessages.h"

#include <QCoreApplication>

namespace pwm20 {
namespace {

QString portAndDevice(int port, const QString &device)
{
    // Port 0: a device named by its path, with no port number standing for it.
    if (port <= 0)
        return QCoreApplication::translate("PortMessages", "串口（设备 %1）").arg(device);
    if (device.isEmpty())
        return QCoreApplication::translate("PortMessages", "串口 com%1").arg(port);
    return QCoreApplication::translate("PortMessages", "串口 com%1（设备 %2）")
        .arg(port)
        .arg(device);
}

// Where a shell can see which device each port stands for.
QString portsHint()
{
    return QCoreApplication::translate("PortMessages",
                                       "pwm20 --ports 显示 com1、com2 代表的设备和系统中的串口。");
}

QString connectAdvice(int port, Advice advice)
{
#ifdef Q_OS_WIN
    Q_UNUSED(port)
    Q_UNUSED(advice)
    return QCoreApplication::translate("PortMessages",
                                       "请插上串口适配器，并在设备管理器中确认它的端口号。");
#else
    // A shell names the device with what `pwm20 run` takes; --com1 and --com2 exist for those two.
    QString text;
    if (port <= 0)
        text = QCoreApplication::translate("PortMessages", "请插上串口适配器，并检查设备的路径。");
    else if (advice == Advice::Window)
        text = QCoreApplication::translate("PortMessages",
                                           "请插上串口适配器，或用环境变量 PWM20_COM%1 指定设备。")
                   .arg(port);
    else if (port <= 2)
        text = QCoreApplication::translate("PortMessages",
                                           "请插上串口适配器，或指定设备：run 后面加 "
                                           "--port DEVICE，run 前面加 --com%1 DEVICE，"
                                           "或设置环境变量 PWM20_COM%1；也可以用 --com N "
                                           "换一个串口。")
                   .arg(port);
    else
        text = QCoreApplication::translate("PortMessages",
                                           "请插上串口适配器，或指定设备：run 后面加 "
                                           "--port DEVICE，或设置环境变量 PWM20_COM%1；"
                                           "也可以用 --com N 换一个串口。")
                   .arg(port);
    return advice == Advice::Shell ? text + u'\n' + portsHint() : text;
#endif
}

} // namespace

QString notOpenMessage()
{
    return QCoreApplication::translate("PortMessages", "串口未打开，请检查串口");
}

QString waitText()
{
    return QStringLiteral("Wait...");
}

QString openFailedMessage(int port, const OpenFailure &failure, Advice advice)
{
    const QString where = portAndDevice(port, failure.device);
    switch (failure.reason) {
    case OpenFailure::Reason::NoSuchPort:
        return QCoreApplication::translate("PortMessages",
                                           "无法打开%1：系统中没有第 %2 个串口。\n%3")
            .arg(where)
            .arg(port)
            .arg(connectAdvice(port, advice));
    case OpenFailure::Reason::NotFound: {
        // A device chosen on an earlier run may be gone for good: say how to choose another.
        const QString what =
            failure.source == PortDevice::Source::Remembered && advice == Advice::Window
                ? QCoreApplication::translate("PortMessages",
                                              "请插上该设备，或右键单击“com%1”选择其他设备。")
                      .arg(port)
                : connectAdvice(port, advice);
        return QCoreApplication::translate("PortMessages", "无法打开%1：找不到该设备。\n%2")
            .arg(where, what);
    }
    case OpenFailure::Reason::Busy:
        if (advice == Advice::Shell)
            return QCoreApplication::translate("PortMessages",
                                               "无法打开%1：该串口正被其他程序使用。\n"
                                               "请先关闭占用该串口的程序，再重新运行。")
                .arg(where);
        return QCoreApplication::translate(
                   "PortMessages",
                   "无法打开%1：该串口正被其他程序使用。\n请先关闭占用该串口的程序，再打开串口。")
            .arg(where);
    case OpenFailure::Reason::NoPermission:
#ifdef Q_OS_WIN
        return QCoreApplication::translate("PortMessages", "无法打开%1：没有使用该串口的权限。")
            .arg(where);
#else
        return QCoreApplication::translate(
                   "PortMessages",
                   "无法打开%1：没有使用该串口的权限。\n在 Linux 上请把当前用户加入 dialout "
                   "组（sudo usermod -aG dialout $USER），然后重新登录。")
            .arg(where);
#endif
    case OpenFailure::Reason::Other:
    case OpenFailure::Reason::None:
        break;
    }
    return QCoreApplication::translate("PortMessages", "无法打开%1：%2").arg(where, failure.detail);
}

QString deviceLostMessage(int port, const QString &device, Advice advice)
{
    if (advice == Advice::Shell)
        return QCoreApplication::translate("PortMessages",
                                           "%1已断开连接，串口已关闭。\n请检查连接，然后重新运行；"
                                           "设备重新插上后可能换了名字。\n%2")
            .arg(portAndDevice(port, device), portsHint());
    return QCoreApplication::translate("PortMessages",
                                       "%1已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。")
        .arg(portAndDevice(port, device));
}

} // namespace pwm20
