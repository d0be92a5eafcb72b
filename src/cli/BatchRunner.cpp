#include "BatchRunner.h"

#include "batch/BatchFile.h"
#include "batch/BatchLines.h"
#include "batch/BatchMessages.h"
#include "serial/PortMessages.h"
#include "serial/ServoFrame.h"
#include "setup/SetupFile.h"

#include "CommandLine.h"
#include "PlayingLine.h"
#include "StopSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
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

// The terminal's width, read afresh for each line so that a resized window is followed.
int terminalColumns()
{
#ifdef Q_OS_UNIX
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

void printError(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
}

} // namespace

BatchRunner::BatchRunner(const std::array<QString, 2> &portDevices, int commPort,
                         const QString &device, const ChannelTable &channels)
    : m_comm(&m_choices), m_commPort(device.isEmpty() ? commPort : 1), m_byPath(!device.isEmpty()),
      m_player(*this, m_comm.line(), channels)
{
    for (int port = 1; port <= 2; ++port)
        m_comm.setPortDevice(port, portDevices[static_cast<std::size_t>(port - 1)]);
    m_comm.setCommPort(m_commPort);
    if (m_byPath)
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
        printError(openFailedMessage(port, m_comm.openFailure(), Advice::Shell));
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
        printError(deviceLostMessage(m_byPath ? 0 : m_commPort, device, Advice::Shell));
    }
}

void BatchRunner::showLine(int line)
{
    if (!m_showLines)
        return;
    const QString text = playingLine(line, m_lines.value(line - 1).trimmed(), m_player.loopPass(),
                                     terminalColumns());
    std::fputs(qPrintable(QStringLiteral("\r\x1b[K") + text), stderr);
}

int runBatchCommand(const QStringList &arguments, const std::array<QString, 2> &portDevices,
                    const QString &setupFile)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("BatchRunner", "按批量命令文件向控制板发送帧。"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("BatchRunner", "显示本帮助并退出。"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QCoreApplication::translate("BatchRunner", "串口设备的路径。"),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption com(
        QStringLiteral("com"),
        QCoreApplication::translate("BatchRunner", "串口号，与窗口中的 comN 相同。"),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption setup(
        QStringLiteral("setup"),
        QCoreApplication::translate("BatchRunner", "通道设置文件（名称、范围、归位）。"),
        QStringLiteral("SETUP"));
    parser.addOptions({help, port, com, setup});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("BatchRunner", "批量命令文件；- 表示标准输入。"));
    const bool parsed = parser.parse(QStringList{QStringLiteral("pwm20 run")} + arguments);
    // Qt puts "[options]" before FILE; the shell line reads better.
    const QString usage = helpText(
        parser, QStringLiteral("pwm20 run FILE [--port DEVICE | --com N] [--setup SETUP]"));
    if (parsed && parser.isSet(help))
        return printOut(usage);
    const QStringList files = parser.positionalArguments();
    bool comIsNumber = false;
    const int commPort = parser.value(com).toInt(&comIsNumber);
    QString mistake;
    if (!parsed)
        mistake = parser.errorText();
    else if (files.isEmpty())
        mistake = QCoreApplication::translate("BatchRunner", "缺少批量命令文件。");
    else if (files.size() > 1)
        mistake =
            QCoreApplication::translate("BatchRunner", "只能给一个批量命令文件，“%1”是多余的。")
                .arg(files[1]);
    else if (!comIsNumber || commPort < 1)
        mistake = QCoreApplication::translate("BatchRunner",
                                              "--com 后面应为 1 或更大的整数，而不是“%1”。")
                      .arg(parser.value(com));
    else if (parser.isSet(port) && parser.isSet(com))
        mistake = QCoreApplication::translate("BatchRunner", "--port 和 --com 只能给一个。");
    if (!mistake.isEmpty()) {
        std::fputs(qPrintable(mistake + u'\n' + usage), stderr);
        return 2;
    }

    // Only a setup named here: a shell run does what its own words say.
    const QString setupPath = parser.isSet(setup) ? parser.value(setup) : setupFile;
    QString error;
    const std::optional<ChannelTable> loaded =
        setupPath.isEmpty() ? std::optional(ChannelTable()) : loadSetupFile(setupPath, error);
    if (!loaded) {
        printError(error);
        return 2;
    }
    const ChannelTable &channels = *loaded;
    const QString file = files.constFirst();
    const std::optional<QByteArray> bytes = readBatchFile(file, error);
    if (!bytes) {
        printError(error);
        return 2;
    }
    const std::string_view text(bytes->constData(), std::size_t(bytes->size()));
    BatchScript script = parseBatch(text, channels);
    if (script.error) {
        QString problem = batchProblemText(*script.error, channels);
        if (script.error->problem == BatchError::Problem::UnknownChannel && setupPath.isEmpty())
            problem +=
                u'\n' + QCoreApplication::translate(
                            "BatchRunner", "通道的名称来自通道设置文件：请用 --setup 给出一个。");
        printError(QStringLiteral("%1:%2: %3")
                       .arg(batchFileName(file))
                       .arg(script.error->line)
                       .arg(problem));
        return 2;
    }
    BatchRunner runner(portDevices, commPort, parser.value(port), channels);
    QStringList lines;
    for (const TextLine &line : splitLines(text))
        lines << QString::fromUtf8(line.text);
    return runner.run(std::move(script.steps), lines);
}

} // namespace pwm20
