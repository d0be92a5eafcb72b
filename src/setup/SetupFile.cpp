#include "SetupFile.h"

#include "files/FileProblem.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace pwm20 {
namespace {

QString problemText(const SetupError &error)
{
    using Problem = SetupError::Problem;
    const QString value = QString::fromStdString(error.value);
    switch (error.problem) {
    case Problem::NotUtf8:
        return QCoreApplication::translate("SetupFile", "文件不是 UTF-8 文本。");
    case Problem::NotIni:
        return QCoreApplication::translate("SetupFile", "第 %1 行“%2”既不是“[节]”也不是“键=值”。")
            .arg(error.line)
            .arg(value);
    case Problem::UnknownSection:
        return QCoreApplication::translate("SetupFile",
                                           "未知的节，应为 [channel1] 到 [channel20] 或 [batch]。");
    case Problem::DuplicateSection:
        return QCoreApplication::translate("SetupFile", "这一节已经出现过。");
    case Problem::UnknownKey:
        return QCoreApplication::translate("SetupFile", "未知的键。");
    case Problem::DuplicateKey:
        return QCoreApplication::translate("SetupFile", "这个键已经出现过。");
    case Problem::NotANumber:
        return QCoreApplication::translate("SetupFile", "“%1”不是十进制整数。").arg(value);
    case Problem::LimitRange:
        return QCoreApplication::translate("SetupFile", "应在 1 到 255 之间，而不是 %1。")
            .arg(value);
    case Problem::SpeedRange:
        return QCoreApplication::translate("SetupFile",
                                           "应在 1 到 2550 之间，而不是 %1；不限速就不写。")
            .arg(value);
    case Problem::AccelRange:
        return QCoreApplication::translate("SetupFile",
                                           "应在 1 到 100000 之间，而不是 %1；不限加速度就不写。")
            .arg(value);
    case Problem::MinAboveMax:
        return QCoreApplication::translate("SetupFile", "max（%1）小于 min。").arg(value);
    case Problem::HomeOutside:
        return QCoreApplication::translate("SetupFile",
                                           "home（%1）应在 min 和 max 之间；不写 home 时为 19。")
            .arg(value);
    case Problem::BadName:
        return QCoreApplication::translate("SetupFile",
                                           "名称“%1”只能由字母、数字和 _ 组成，且不能以数字开头。")
            .arg(value);
    case Problem::NameTooLong:
        return QCoreApplication::translate("SetupFile", "名称“%1”超过 32 个字符。").arg(value);
    case Problem::ReservedName:
        return QCoreApplication::translate("SetupFile", "名称“%1”是批量命令的关键字。").arg(value);
    case Problem::DuplicateName:
        return QCoreApplication::translate("SetupFile",
                                           "名称“%1”已用于另一个通道（不区分大小写）。")
            .arg(value);
    case Problem::BadStopPose:
        return QCoreApplication::translate("SetupFile", "应为 none、home 或 off，而不是“%1”。")
            .arg(value);
    }
    return {};
}

} // namespace

QString setupErrorText(const SetupError &error)
{
    QString where;
    if (!error.section.empty())
        where = u'[' + QString::fromStdString(error.section) + u']';
    if (!error.key.empty())
        where +=
            (where.isEmpty() ? QString() : QStringLiteral(" ")) + QString::fromStdString(error.key);
    return where.isEmpty() ? problemText(error) : where + QStringLiteral(": ") + problemText(error);
}

std::optional<ChannelTable> loadSetupFile(const QString &path, QString &error, QByteArray *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("%1: %2").arg(path, fileProblem(path, FileAccess::Read, file.error()));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(qint64(largestSetupText) + 1);
    // A read that fails gives no bytes, which would read as the defaults.
    if (file.error() != QFileDevice::NoError) {
        error =
            QStringLiteral("%1: %2").arg(path, fileProblem(path, FileAccess::Read, file.error()));
        return std::nullopt;
    }
    if (bytes.size() > qsizetype(largestSetupText)) {
        error = QCoreApplication::translate("SetupFile", "%1: 文件超过 64 KiB。").arg(path);
        return std::nullopt;
    }
    if (text)
        *text = bytes;
    const SetupReading reading = readSetup(std::string_view(bytes.constData(), bytes.size()));
    if (reading.error) {
        error = QStringLiteral("%1: %2").arg(path, setupErrorText(*reading.error));
        return std::nullopt;
    }
    return reading.table;
}

bool saveSetupFile(const QString &path, const ChannelTable &table, QString &error)
{
    QSaveFile file(path);
    const QByteArray text = QByteArray::fromStdString(writeSetup(table));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error =
            QStringLiteral("%1: %2").arg(path, fileProblem(path, FileAccess::Write, file.error()));
        return false;
    }
    return true;
}

QString describeSetup(const ChannelTable &table)
{
    QStringList lines;
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        const ChannelTable::Channel &channel = table.channel(number);
        QString line =
            QStringLiteral("%1  %2  %3  %4  %5  %6")
                .arg(number, 2)
                .arg(QString::fromStdString(channel.name), -16)
                .arg(QStringLiteral("%1..%2").arg(channel.min).arg(channel.max), -8)
                .arg(QStringLiteral("home %1").arg(channel.home), -8)
                .arg(channel.speed ? QStringLiteral("speed %1/s").arg(channel.speed) : QString(),
                     -12)
                .arg(channel.accel ? QStringLiteral("accel %1/s²").arg(channel.accel) : QString());
        // The limits line up in columns; a channel without them ends at its home.
        while (line.endsWith(u' '))
            line.chop(1);
        lines << line;
    }
    lines << QStringLiteral("on_stop=") + QString::fromLatin1(stopPoseName(table.stopPose()));
    return lines.join(u'\n') + u'\n';
}

} // namespace pwm20
