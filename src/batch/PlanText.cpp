#include "PlanText.h"

#include <QCoreApplication>

namespace pwm20 {

QString planTime(std::int64_t arrivalNs)
{
    // Whole microseconds, rounded, then split: the same text on every machine.
    const std::int64_t us = (arrivalNs + 500) / 1000;
    return QStringLiteral("%1.%2").arg(us / 1000).arg(us % 1000, 3, 10, QLatin1Char('0'));
}

QString planCsv(const BatchPlan &plan)
{
    QString text = QStringLiteral("time_ms,channel,value,line\n");
    for (const PlanFrame &entry : plan.frames)
        text += QStringLiteral("%1,%2,%3,%4\n")
                    .arg(planTime(entry.arrivalNs))
                    .arg(entry.frame.channel)
                    .arg(entry.frame.value)
                    .arg(entry.frame.line);
    return text;
}

QString planTable(const BatchPlan &plan, const ChannelTable &table)
{
    const QString header = QCoreApplication::translate("PlanText", "时间 毫秒");
    const QString channelHeader = QCoreApplication::translate("PlanText", "通道");
    const QString valueHeader = QCoreApplication::translate("PlanText", "数值");
    const QString lineHeader = QCoreApplication::translate("PlanText", "行");
    constexpr int timeWidth = 12;
    constexpr int channelWidth = 4;
    constexpr int nameWidth = 33; // the longest name and a blank
    QString text = QStringLiteral("%1  %2%3%4\n")
                       .arg(header, timeWidth)
                       .arg(channelHeader, -(channelWidth + nameWidth))
                       .arg(valueHeader, 5)
                       .arg(lineHeader, 6);
    for (const PlanFrame &entry : plan.frames) {
        const int channel = entry.frame.channel;
        text += QStringLiteral("%1  %2 %3%4%5\n")
                    .arg(planTime(entry.arrivalNs), timeWidth)
                    .arg(channel, channelWidth - 1)
                    .arg(QString::fromStdString(table.channel(channel).name), -nameWidth)
                    .arg(entry.frame.value, 5)
                    .arg(entry.frame.line == 0 ? QStringLiteral("-")
                                               : QString::number(entry.frame.line),
                         6);
    }
    return text;
}

} // namespace pwm20
