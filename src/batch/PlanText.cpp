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

namespace {

// Columns a text takes in a terminal: CJK and other wide characters take two.
int columnsOf(const QString &text)
{
    int columns = 0;
    for (const char32_t c : text.toUcs4())
        columns += (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD)
                       ? 2
                       : 1;
    return columns;
}

// Blanks before (width > 0) or after (width < 0) the text up to |width| columns.
QString padded(const QString &text, int width)
{
    const QString blanks(std::max(0, std::abs(width) - columnsOf(text)), u' ');
    return width > 0 ? blanks + text : text + blanks;
}

} // namespace

QString planTable(const BatchPlan &plan, const ChannelTable &table)
{
    constexpr int timeWidth = 12;
    constexpr int channelWidth = 37; // the number, a blank, the longest name and a blank
    QString text = padded(QCoreApplication::translate("PlanText", "时间 毫秒"), timeWidth) +
                   QStringLiteral("  ") +
                   padded(QCoreApplication::translate("PlanText", "通道"), -channelWidth) +
                   padded(QCoreApplication::translate("PlanText", "数值"), 5) +
                   padded(QCoreApplication::translate("PlanText", "行"), 6) + u'\n';
    for (const PlanFrame &entry : plan.frames) {
        const int channel = entry.frame.channel;
        const QString title = padded(QString::number(channel), 3) + u' ' +
                              QString::fromStdString(table.channel(channel).name);
        const int line = entry.frame.line;
        text += padded(planTime(entry.arrivalNs), timeWidth) + QStringLiteral("  ") +
                padded(title, -channelWidth) + padded(QString::number(entry.frame.value), 5) +
                padded(line == 0 ? QStringLiteral("-") : QString::number(line), 6) + u'\n';
    }
    return text;
}

} // namespace pwm20
