#include "PlotTexts.h"

#include <QCoreApplication>

#include <cmath>

namespace pwm20 {

QString plotChannelName(const ChannelTable &table, int channel)
{
    const std::string &name = table.channel(channel).name;
    if (name.empty())
        return QStringLiteral("PWM%1").arg(channel);
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(name)).arg(channel);
}

QString plotPointText(PlotPointKind kind, double ms, const QString &channel, double value)
{
    QString what;
    switch (kind) {
    case PlotPointKind::Planned:
        what = QCoreApplication::translate("MotionPlot", "计划");
        break;
    case PlotPointKind::Ideal:
        what = QCoreApplication::translate("MotionPlot", "理想");
        break;
    case PlotPointKind::Keyframe:
        what = QCoreApplication::translate("MotionPlot", "关键帧");
        break;
    case PlotPointKind::Sent:
        what = QCoreApplication::translate("MotionPlot", "已发送");
        break;
    }
    // A curve passes between whole values; a tenth says where without pretending more.
    return QCoreApplication::translate("MotionPlot", "%1 s · %2 · %3 · %4")
        .arg(QString::number(ms / 1000, 'f', 3), channel,
             QString::number(std::round(value * 10) / 10), what);
}

QString stretchedText(int line)
{
    return QCoreApplication::translate(
               "MotionPlot", "拉长：第 %1 行的动作比写的时间长，以守住通道的速度和加速度限制。")
        .arg(line);
}

} // namespace pwm20
