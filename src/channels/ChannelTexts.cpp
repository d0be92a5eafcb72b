#include "ChannelTexts.h"

#include <QCoreApplication>

namespace pwm20 {

QString channelTitle(const ChannelTable &table, int channel)
{
    const std::string &name = table.channel(channel).name;
    if (name.empty())
        return QCoreApplication::translate("ChannelTexts", "通道 %1").arg(channel);
    return QCoreApplication::translate("ChannelTexts", "通道 %1（%2）")
        .arg(channel)
        .arg(QString::fromStdString(name));
}

QString channelLimitsText(const ChannelTable &table, int channel)
{
    const ChannelTable::Channel &limits = table.channel(channel);
    // A blank between a number and the words after it, none after a closing bracket.
    const QString text =
        limits.name.empty() ? QCoreApplication::translate("ChannelTexts", "%1 只接受 0 或 %2..%3。")
                            : QCoreApplication::translate("ChannelTexts", "%1只接受 0 或 %2..%3。");
    return text.arg(channelTitle(table, channel)).arg(limits.min).arg(limits.max);
}

QString channelToolTip(const ChannelTable &table, int channel)
{
    const ChannelTable::Channel &limits = table.channel(channel);
    QString text =
        QCoreApplication::translate("ChannelTexts", "%1\n可用数值：0（关）或 %2..%3\n归位：%4")
            .arg(channelTitle(table, channel))
            .arg(limits.min)
            .arg(limits.max)
            .arg(limits.home);
    if (limits.speed != 0)
        text += u'\n' +
                QCoreApplication::translate("ChannelTexts", "速度上限：%1/秒").arg(limits.speed);
    if (limits.accel != 0)
        text += u'\n' +
                QCoreApplication::translate("ChannelTexts", "加速度上限：%1/秒²").arg(limits.accel);
    return text;
}

} // namespace pwm20
