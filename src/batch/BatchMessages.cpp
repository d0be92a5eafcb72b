#include "BatchMessages.h"

#include "channels/ChannelTexts.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace pwm20 {
namespace {

constexpr qsizetype longestQuote = 40;

// A piece of the text short enough for a message, of a line of 200 KB as of a word: its first
// characters, whole, then "…": at most 40 of them, and at most 80 code units, since marks piled on
// one letter make one character as long as a line.
QString quoted(std::string_view text)
{
    constexpr std::size_t enough = 512; // bytes: more than 80 code units ever take
    std::size_t cut = std::min(text.size(), enough);
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // never half a character
    const QString start = QString::fromUtf8(text.substr(0, cut));
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, start);
    qsizetype shown = 0;
    for (qsizetype count = 0, next = 0; count < longestQuote; ++count, shown = next) {
        next = characters.toNextBoundary();
        if (next < 0 || next > 2 * longestQuote)
            break;
    }
    return shown < start.size() || cut < text.size() ? start.first(shown) + u'…' : start;
}

} // namespace

QString batchProblemText(const BatchError &error, const ChannelTable &table)
{
    using Problem = BatchError::Problem;
    const QString word = quoted(error.word);
    switch (error.problem) {
    case Problem::UnknownWord:
        return QCoreApplication::translate("BatchMessages", "无法识别的命令“%1”。").arg(word);
    case Problem::BadFrame:
        return QCoreApplication::translate("BatchMessages", "帧应写作“S 通道 数值 E”。");
    case Problem::BadPair:
        return QCoreApplication::translate("BatchMessages", "“%1”应写作“通道=数值”。").arg(word);
    case Problem::NotANumber:
        return QCoreApplication::translate("BatchMessages", "“%1”不是十进制整数。").arg(word);
    // A frame line holds one frame; in a pose the pair at fault is named.
    case Problem::ChannelRange:
        return word.isEmpty()
                   ? QCoreApplication::translate("BatchMessages", "通道应在 1 到 20 之间。")
                   : QCoreApplication::translate("BatchMessages", "“%1”中的通道应在 1 到 20 之间。")
                         .arg(word);
    case Problem::ValueRange:
        return word.isEmpty()
                   ? QCoreApplication::translate("BatchMessages", "数值应在 0 到 255 之间。")
                   : QCoreApplication::translate("BatchMessages",
                                                 "“%1”中的数值应在 0 到 255 之间。")
                         .arg(word);
    case Problem::WaitRange:
        return QCoreApplication::translate("BatchMessages", "等待时间应在 0 到 3600000 毫秒之间。");
    case Problem::RepeatRange:
        return QCoreApplication::translate("BatchMessages", "重复次数应在 1 到 1000000 之间。");
    case Problem::MissingTime:
        return QCoreApplication::translate("BatchMessages", "“wait”后面缺少毫秒数。");
    case Problem::ExtraWords:
        return QCoreApplication::translate("BatchMessages", "多余的“%1”。").arg(word);
    case Problem::EndWithoutRepeat:
        return QCoreApplication::translate("BatchMessages", "“end”前面没有对应的“repeat”。");
    case Problem::RepeatWithoutEnd:
        return QCoreApplication::translate("BatchMessages", "“repeat”后面没有对应的“end”。");
    case Problem::UnknownChannel:
        return QCoreApplication::translate("BatchMessages", "“%1”既不是通道号，也不是通道的名称。")
            .arg(word);
    case Problem::OutsideLimits:
        return channelLimitsText(table, error.channel);
    case Problem::MoveWithoutTargets:
        return QCoreApplication::translate(
            "BatchMessages",
            "“move”后面缺少“通道=数值”，应写作“move 通道=数值 ... in 毫秒 [smooth]”。");
    case Problem::MoveWithoutTime:
        return QCoreApplication::translate(
            "BatchMessages", "缺少“in 毫秒”，应写作“move 通道=数值 ... in 毫秒 [smooth]”。");
    case Problem::MoveTimeRange:
        return QCoreApplication::translate("BatchMessages", "移动时间应在 0 到 3600000 毫秒之间。");
    case Problem::ChannelTwice:
        return QCoreApplication::translate("BatchMessages", "同一个“move”中两次出现%1。")
            .arg(channelTitle(table, error.channel));
    case Problem::EmptyLoop:
        return QCoreApplication::translate("BatchMessages",
                                           "循环体为空：“repeat”和“end”之间既不发送也不等待。");
    }
    return {};
}

QString batchErrorMessage(const BatchError &error, const ChannelTable &table)
{
    return QCoreApplication::translate("BatchMessages", "第 %1 行“%2”：%3")
        .arg(error.line)
        .arg(quoted(error.lineText), batchProblemText(error, table));
}

QString stretchedMoveText(const StretchedMove &move, const ChannelTable &table)
{
    const MoveTiming &timing = move.timing;
    const std::string &name = table.channel(timing.channel).name;
    const QString channel =
        name.empty() ? QCoreApplication::translate("BatchMessages", "通道 %1").arg(timing.channel)
                     : QString::fromStdString(name);
    const ChannelTable::Channel &limits = table.channel(timing.channel);
    const QString text =
        timing.limit == MoveTiming::Limit::Accel
            ? QCoreApplication::translate("BatchMessages",
                                          "“move”需要 %1 毫秒，而不是 %2 毫秒（%3：加速度 %4）")
            : QCoreApplication::translate("BatchMessages",
                                          "“move”需要 %1 毫秒，而不是 %2 毫秒（%3：速度 %4）");
    return text.arg(timing.durationNs / 1'000'000)
        .arg(timing.askedNs / 1'000'000)
        .arg(channel)
        .arg(timing.limit == MoveTiming::Limit::Accel ? limits.accel : limits.speed);
}

QString stretchedMovesMessage(const std::vector<StretchedMove> &moves, const ChannelTable &table)
{
    QStringList lines;
    for (const StretchedMove &move : moves)
        lines << QCoreApplication::translate("BatchMessages", "第 %1 行：%2")
                     .arg(move.line)
                     .arg(stretchedMoveText(move, table));
    return lines.join(u'\n');
}

} // namespace pwm20
