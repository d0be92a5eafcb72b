#include "PlanCommand.h"

#include "batch/PlanText.h"

#include "BatchArguments.h"
#include "CommandLine.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <cstdio>

namespace pwm20 {
namespace {

// A day: longer than anyone reads a plan, short enough that its frames fit in memory.
constexpr double longestPlanSeconds = 86400;
constexpr double defaultPlanSeconds = 3600;
// How much of a batch that never ends is listed when --for does not say.
constexpr double endlessPlanSeconds = 60;

} // namespace

int planBatchCommand(const QStringList &arguments, const QString &setupFile)
{
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QCoreApplication::translate(
            "PlanCommand", "以 CSV 列出：time_ms,channel,value,line（line 为 0：不来自某一行）。"));
    const QCommandLineOption forTime(
        QStringLiteral("for"),
        QCoreApplication::translate("PlanCommand",
                                    "只列出前 SECONDS 秒；不会自行结束的批量命令默认列出 60 秒。"),
        QStringLiteral("SECONDS"));
    const BatchArguments batch(
        arguments, QStringLiteral("plan"),
        QCoreApplication::translate(
            "PlanCommand",
            "列出 run 会发送的每一帧及其到达控制板的时间（毫秒，从开始算起），不打开串口。"),
        QStringLiteral("pwm20 plan FILE [--setup SETUP] [--csv] [--for SECONDS]"), {csv, forTime});
    if (batch.helpAsked())
        return printOut(batch.help());
    if (const QString mistake = batch.mistake(); !mistake.isEmpty())
        return batch.refuse(mistake);
    const QCommandLineParser &parser = batch.parser();
    bool forIsNumber = false;
    const double forSeconds = parser.value(forTime).toDouble(&forIsNumber);
    // Written so that NaN fails too.
    if (parser.isSet(forTime) &&
        !(forIsNumber && forSeconds > 0 && forSeconds <= longestPlanSeconds))
        return batch.refuse(
            QCoreApplication::translate("PlanCommand",
                                        "--for 后面应为大于 0、不超过 %1 的秒数，而不是“%2”。")
                .arg(longestPlanSeconds)
                .arg(parser.value(forTime)));

    const std::optional<LoadedBatch> loaded = batch.load(setupFile);
    if (!loaded)
        return 2;
    const bool endless = playsUntilStopped(loaded->steps);
    // A batch that ends by itself is planned to its end, up to an hour unless --for says more:
    // loops nested deep can run for days, and every frame is held until it is printed.
    const double seconds = parser.isSet(forTime) ? forSeconds
                           : endless             ? endlessPlanSeconds
                                                 : defaultPlanSeconds;
    // `run` starts with every channel at 0.
    const BatchPlan plan =
        planBatch(loaded->steps, loaded->channels, ChannelValues{}, std::llround(seconds * 1e9));
    batch.printStretchedMoves(plan.stretched, loaded->channels);
    if (endless)
        std::fputs(qPrintable(QCoreApplication::translate("PlanCommand",
                                                          "批量命令不会自行结束：只列出前 %1 秒。")
                                  .arg(seconds, 0, 'g', QLocale::FloatingPointShortest) +
                              u'\n'),
                   stderr);
    else if (plan.cut)
        std::fputs(
            qPrintable(QCoreApplication::translate(
                           "PlanCommand", "批量命令在 %1 秒时还没有结束：只列出到此为止的帧。")
                           .arg(seconds, 0, 'g', QLocale::FloatingPointShortest) +
                       u'\n'),
            stderr);
    return printOut(parser.isSet(csv) ? planCsv(plan) : planTable(plan, loaded->channels));
}

} // namespace pwm20
