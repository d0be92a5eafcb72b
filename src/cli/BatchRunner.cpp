#include "BatchRunner.h"

#include "batch/BatchPlan.h"
#include "serial/PortMessages.h"
#include "serial/ServoFrame.h"

#include "BatchArguments.h"
#include "CommandLine.h"
#include "PlayingLine.h"
#include "StopSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <set>

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

void BatchRunner::onStretchedMove(std::function<void(const StretchedMove &)> report)
{
    connect(&m_player, &BatchPlayer::moveStretched, this,
            [report = std::move(report)](int line, const MoveTiming &timing) {
                report({line, timing});
            });
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
    if (!m_player.interrupt()) {
        finish(status);
        return;
    }
    // A stop pose that ramps can take a while: the one at the keyboard is told what is going on,
    // and how to cut it short.
    if (status != 128 + SIGINT)
        return;
    if (m_showLines)
        std::fputs("\r\x1b[K", stderr);
    printError(
        QCoreApplication::translate("BatchRunner", "正在发送停止姿态…（再次按 Ctrl+C 立即结束）"));
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
    const QCommandLineOption port(QStringLiteral("port"),
                                  QCoreApplication::translate("BatchRunner", "串口设备的路径。"),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption com(
        QStringLiteral("com"),
        QCoreApplication::translate("BatchRunner", "串口号，与窗口中的 comN 相同。"),
        QStringLiteral("N"), QStringLiteral("1"));
    const BatchArguments batch(
        arguments, QStringLiteral("run"),
        QCoreApplication::translate("BatchRunner", "按批量命令文件向控制板发送帧。"),
        QStringLiteral("pwm20 run FILE [--port DEVICE | --com N] [--setup SETUP]"), {port, com});
    if (batch.helpAsked())
        return printOut(batch.help());
    const QCommandLineParser &parser = batch.parser();
    bool comIsNumber = false;
    const int commPort = parser.value(com).toInt(&comIsNumber);
    if (const QString mistake = batch.mistake(); !mistake.isEmpty())
        return batch.refuse(mistake);
    if (!comIsNumber || commPort < 1)
        return batch.refuse(QCoreApplication::translate(
                                "BatchRunner", "--com 后面应为 1 或更大的整数，而不是“%1”。")
                                .arg(parser.value(com)));
    if (parser.isSet(port) && parser.isSet(com))
        return batch.refuse(
            QCoreApplication::translate("BatchRunner", "--port 和 --com 只能给一个。"));

    std::optional<LoadedBatch> loaded = batch.load(setupFile);
    if (!loaded)
        return 2;
    // What takes longer than written is said once, before it plays, as `plan` says it; a move
    // further on than foreseen when it comes.
    constexpr std::int64_t foreseenNs = 60'000'000'000;
    const std::vector<StretchedMove> foreseen =
        planBatch(loaded->steps, loaded->channels, ChannelValues{}, foreseenNs).stretched;
    batch.printStretchedMoves(foreseen, loaded->channels);
    std::set<int> told;
    for (const StretchedMove &move : foreseen)
        told.insert(move.line);
    BatchRunner runner(portDevices, commPort, parser.value(port), loaded->channels);
    runner.onStretchedMove([&](const StretchedMove &move) {
        if (told.insert(move.line).second)
            batch.printStretchedMoves({move}, loaded->channels);
    });
    return runner.run(std::move(loaded->steps), loaded->lines);
}

} // namespace pwm20
