#include "BatchArguments.h"

#include "batch/BatchFile.h"
#include "batch/BatchLines.h"
#include "batch/BatchMessages.h"
#include "setup/SetupFile.h"

#include "CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

namespace pwm20 {
namespace {

void printError(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
}

} // namespace

BatchArguments::BatchArguments(const QStringList &arguments, const QString &command,
                               const QString &description, const QString &usage,
                               const QList<QCommandLineOption> &options)
    : m_help({QStringLiteral("h"), QStringLiteral("help")},
             QCoreApplication::translate("BatchRunner", "显示本帮助并退出。")),
      m_setup(QStringLiteral("setup"),
              QCoreApplication::translate("BatchRunner", "通道设置文件（名称、范围、归位）。"),
              QStringLiteral("SETUP")),
      m_usage(usage)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(m_help);
    m_parser.addOptions(options);
    m_parser.addOption(m_setup);
    m_parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("BatchRunner", "批量命令文件；- 表示标准输入。"));
    m_parsed = m_parser.parse(QStringList{QStringLiteral("pwm20 ") + command} + arguments);
}

QString BatchArguments::help() const
{
    // Qt puts "[options]" before FILE; the shell line reads better.
    return helpText(m_parser, m_usage);
}

QString BatchArguments::mistake() const
{
    const QStringList files = m_parser.positionalArguments();
    if (!m_parsed)
        return m_parser.errorText();
    if (files.isEmpty())
        return QCoreApplication::translate("BatchRunner", "缺少批量命令文件。");
    if (files.size() > 1)
        return QCoreApplication::translate("BatchRunner", "只能给一个批量命令文件，“%1”是多余的。")
            .arg(files[1]);
    return {};
}

int BatchArguments::refuse(const QString &mistake) const
{
    std::fputs(qPrintable(mistake + u'\n' + help()), stderr);
    return 2;
}

std::optional<LoadedBatch> BatchArguments::load(const QString &setupBefore) const
{
    // Only a setup named here: a shell command does what its own words say.
    const QString setupPath = m_parser.isSet(m_setup) ? m_parser.value(m_setup) : setupBefore;
    QString error;
    std::optional<ChannelTable> channels =
        setupPath.isEmpty() ? std::optional(ChannelTable()) : loadSetupFile(setupPath, error);
    if (!channels) {
        printError(error);
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = readBatchFile(file(), error);
    if (!bytes) {
        printError(error);
        return std::nullopt;
    }
    const std::string_view text(bytes->constData(), std::size_t(bytes->size()));
    BatchScript script = parseBatch(text, *channels);
    if (script.error) {
        QString problem = batchProblemText(*script.error, *channels);
        if (script.error->problem == BatchError::Problem::UnknownChannel && setupPath.isEmpty())
            problem +=
                u'\n' + QCoreApplication::translate(
                            "BatchRunner", "通道的名称来自通道设置文件：请用 --setup 给出一个。");
        printError(QStringLiteral("%1:%2: %3")
                       .arg(batchFileName(file()))
                       .arg(script.error->line)
                       .arg(problem));
        return std::nullopt;
    }
    LoadedBatch batch{std::move(*channels), std::move(script.steps), {}};
    for (const TextLine &line : splitLines(text))
        batch.lines << QString::fromUtf8(line.text);
    return batch;
}

void BatchArguments::printStretchedMoves(const std::vector<StretchedMove> &moves,
                                         const ChannelTable &channels) const
{
    for (const StretchedMove &move : moves)
        printError(QStringLiteral("%1:%2: %3")
                       .arg(batchFileName(file()))
                       .arg(move.line)
                       .arg(stretchedMoveText(move, channels)));
}

} // namespace pwm20
