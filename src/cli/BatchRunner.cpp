#include "BatchRunner.h"

#include "batch/BatchFile.h"
#include "batch/BatchMessages.h"
#include "serial/PortMessages.h"
#include "serial/ServoFrame.h"

#include "StopSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace pwm20 {
namespace {

// Which line plays is shown where a person watches: on a terminal.
bool stderrIsTerminal()
{
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) != 0;
#else
    return false;
#endif
}

void printError(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
}

} // namespace

BatchRunner::BatchRunner(int commPort, const QString &device, const ChannelTable &channels)
    : m_comm(&m_choices), m_commPort(device.isEmpty() ? commPort : 1), m_byPath(!device.isEmpty()),
      m_player(*this, m_comm.line(), channels)
{
    m_comm.setCommPort(m_commPort);
    m_comm.setPortDevice(m_commPort, device);
    m_comm.setRThreshold(1);
    m_showLines = stderrIsTerminal();
    connect(&m_comm, &SerialService::commEventRaised, this, &BatchRunner::reportEvent);
    connect(&m_player, &BatchPlayer::lineStarted, this, &BatchRunner::showLine);
    connect(&m_player, &BatchPlayer::finished, this, [this] { finish(m_finishedStatus); });
}

int BatchRunner::run(std::vector<BatchStep> steps, const QStringList &lines)
{
    const int port = m_byPath ? 0 : m_commPort;
    if (!m_comm.setPortOpen(true)) {
        printError(openFailedMessage(port, m_comm.openFailure()));
        return 1;
    }
    m_lines = lines;
    const StopSignals signals;
    connect(&signals, &StopSignals::stopRequested, this, &BatchRunner::interrupt);

    // A batch with nothing to send may end inside start(): the loop then returns at once.
    QMetaObject::invokeMethod(
        this, [this, &steps] { m_player.start(std::move(steps)); }, Qt::QueuedConnection);
    const int status = m_loop.exec();
    if (m_showLines)
        std::fputs("\n", stderr);
    return status;
}

void BatchRunner::send(const PlannedFrame &frame)
{
    FrameBuffer buffer{};
    fillChannelFrame(buffer, frame.channel, static_cast<std::uint8_t>(frame.value));
    m_comm.output(frameBytes(buffer));
    m_values[static_cast<std::size_t>(frame.channel - 1)] = frame.value;
}

void BatchRunner::finish(int status)
{
    m_player.stop();
    m_comm.setPortOpen(false);
    m_loop.exit(status);
}

void BatchRunner::interrupt(int status)
{
    m_finishedStatus = status;
    if (!m_player.interrupt())
        finish(status);
}

void BatchRunner::reportEvent()
{
    if (m_comm.commEvent() == CommEvent::Receive) {
        m_comm.input(); // the board's replies are not shown here
    } else if (m_comm.commEvent() == CommEvent::DeviceLost) {
        const QString device = m_comm.openDevice();
        finish(1);
        if (m_showLines)
            std::fputs("\n", stderr);
        printError(deviceLostMessage(m_byPath ? 0 : m_commPort, device));
    }
}

void BatchRunner::showLine(int line)
{
    if (!m_showLines)
        return;
    const QString text =
        QStringLiteral("\r\x1b[K") + QCoreApplication::translate("BatchRunner", "第 %1 行：%2")
                                         .arg(line)
                                         .arg(m_lines.value(line - 1).trimmed());
    std::fputs(qPrintable(text), stderr);
}

int runBatchCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("BatchRunner", "按批量命令文件向控制板发送帧。"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QCoreApplication::translate("BatchRunner", "串口设备的路径。"),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption com(
        QStringLiteral("com"),
        QCoreApplication::translate("BatchRunner", "串口号，与窗口中的 comN 相同。"),
        QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({port, com});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("BatchRunner", "批量命令文件；- 表示标准输入。"));
    bool comIsNumber = false;
    const bool parsed = parser.parse(QStringList{QStringLiteral("pwm20 run")} + arguments);
    const int commPort = parser.value(com).toInt(&comIsNumber);
    if (!parsed || parser.positionalArguments().size() != 1 || !comIsNumber || commPort < 1 ||
        (parser.isSet(port) && parser.isSet(com))) {
        if (!parsed)
            printError(parser.errorText());
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }

    const QString file = parser.positionalArguments().constFirst();
    QString error;
    const std::optional<QByteArray> bytes = readBatchFile(file, error);
    if (!bytes) {
        printError(error);
        return 2;
    }
    const ChannelTable channels;
    BatchScript script =
        parseBatch(std::string_view(bytes->constData(), std::size_t(bytes->size())), channels);
    if (script.error) {
        printError(QStringLiteral("%1:%2: %3")
                       .arg(file)
                       .arg(script.error->line)
                       .arg(batchProblemText(*script.error, channels)));
        return 2;
    }
    BatchRunner runner(commPort, parser.value(port), channels);
    return runner.run(std::move(script.steps), QString::fromUtf8(*bytes).split(u'\n'));
}

} // namespace pwm20
