#include "BatchMessages.h"

namespace pwm20 {

QString batchProblemText(const BatchError &error)
{
    using Problem = BatchError::Problem;
    const QString word = QString::fromUtf8(error.word);
    switch (error.problem) {
    case Problem::UnknownWord:
        return QStringLiteral(u"无法识别的命令“%1”。").arg(word);
    case Problem::BadFrame:
        return QStringLiteral(u"帧应写作“S 通道 数值 E”。");
    case Problem::BadPair:
        return QStringLiteral(u"“%1”应写作“通道=数值”。").arg(word);
    case Problem::NotANumber:
        return QStringLiteral(u"“%1”不是十进制整数。").arg(word);
    case Problem::ChannelRange:
        return QStringLiteral(u"通道应在 1 到 20 之间。");
    case Problem::ValueRange:
        return QStringLiteral(u"数值应在 0 到 255 之间。");
    case Problem::WaitRange:
        return QStringLiteral(u"等待时间应在 0 到 3600000 毫秒之间。");
    case Problem::RepeatRange:
        return QStringLiteral(u"重复次数应在 1 到 1000000 之间。");
    case Problem::MissingTime:
        return QStringLiteral(u"“wait”后面缺少毫秒数。");
    case Problem::ExtraWords:
        return QStringLiteral(u"多余的“%1”。").arg(word);
    case Problem::EndWithoutRepeat:
        return QStringLiteral(u"“end”前面没有对应的“repeat”。");
    case Problem::RepeatWithoutEnd:
        return QStringLiteral(u"“repeat”后面没有对应的“end”。");
    }
    return {};
}

QString batchErrorMessage(const BatchError &error)
{
    return QStringLiteral(u"第 %1 行“%2”：%3")
        .arg(error.line)
        .arg(QString::fromUtf8(error.lineText), batchProblemText(error));
}

} // namespace pwm20
