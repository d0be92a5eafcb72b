#include "WindowHarness.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int unplug = -1;

// A batch run from a shell: the script, what follows `run` (FILE: the script's file, PTY: the
// board's path), a signal sent to it or the board unplugged, and what comes of it.
struct Run
{
    QString script, words;
    int interruption, status;
    QByteArray sent;
    QString errors{};
};

// pwm20 with these words after it, and no display: were a window to open, it would fail.
void start(QProcess &program, const QString &words, const QString &com2 = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"DISPLAY"_s);
    environment.insert(u"PWM20_COM2"_s, com2);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PWM20_PROGRAM), words.split(u' ', Qt::SkipEmptyParts));
    QVERIFY(program.waitForStarted());
}

} // namespace

Q_DECLARE_METATYPE(Run)

// pwm20 as a shell sees it: its command line, and batches run with no window.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithNoWindow_data();
    void answersWithNoWindow();
    void runs_data();
    void runs();
};

void TestCommandLine::answersWithNoWindow_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // a line the standard output holds
    QTest::addColumn<QString>("err"); // how the standard error starts
    QTest::newRow("help") << u"--help"_s << 0
                          << u"  run              run FILE [--port DEVICE | --com N]："
                             u"不打开窗口，按批量命令文件发送帧。"_s
                          << QString();
    QTest::newRow("ports") << u"--ports --com2 /dev/pwm20-x"_s << 0
                           << u"com2：/dev/pwm20-x（命令行 --com2 指定）"_s << QString();
    QTest::newRow("ports: a name by its path; one device twice")
        << u"--ports --com1 pwm20-x --com2 /dev/pwm20-x"_s << 0
        << u"com1：/dev/pwm20-x（命令行 --com1 指定）"_s
        << u"注意：com1 和 com2 是同一个设备（/dev/pwm20-x）。\n"_s;
    QTest::newRow("version") << u"--version"_s << 0 << u"pwm20 1.1.0"_s << QString();
    QTest::newRow("unknown option")
        << u"--bogus"_s << 2 << QString() << u"未知选项“bogus”。\n用法："_s;
}

void TestCommandLine::answersWithNoWindow()
{
    QFETCH(QString, words);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    start(program, words);
    QVERIFY(program.waitForFinished(3000));
    QCOMPARE(program.exitCode(), status);
    const QString output = QString::fromUtf8(program.readAllStandardOutput());
    QVERIFY2(out.isEmpty() ? output.isEmpty() : output.split(u'\n').contains(out),
             qPrintable(output));
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.startsWith(err), qPrintable(errors));
}

void TestCommandLine::runs_data()
{
    QTest::addColumn<Run>("run");
    const QString forever = u"repeat\n1=1\nend"_s;
    const QString onBoard = u"FILE --port PTY"_s;
    QTest::newRow("a file; off after a move")
        << Run{u"1=100\noff"_s, onBoard, 0, 0, frame(1, 100) + frame(1, 0) + everyChannel(0)};
    QTest::newRow("standard input on com2; centre")
        << Run{u"S 3 7 E\ncentre\n3=19"_s, u"- --com 2"_s, 0, 0,
               frame(3, 7) + everyChannel(19) + frame(3, 19)};
    QTest::newRow("a bad line: nothing opened")
        << Run{u"1=1\nfoo"_s, onBoard, 0, 2, {}, u"FILE:2: 无法识别的命令“foo”。\n"_s};
    QTest::newRow("no such device") << Run{
        u"1=1"_s,
        u"FILE --port /dev/pwm20-none"_s,
        0,
        1,
        {},
        u"无法打开串口（设备 /dev/pwm20-none）：找不到该设备。\n请插上串口适配器，并检查设备的路径。\n"_s};
    QTest::newRow("Ctrl+C") << Run{forever, onBoard, SIGINT, 130, frame(1, 1)};
    QTest::newRow("device lost") << Run{
        forever,
        onBoard,
        unplug,
        1,
        frame(1, 1),
        u"串口（设备 PTY）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。\n"_s};
}

void TestCommandLine::runs()
{
    QFETCH(Run, run);
    PtyPair board;
    QTemporaryFile file;
    QVERIFY(file.open() && file.write(run.script.toUtf8()) > 0 && file.flush());
    for (QString *text : {&run.words, &run.errors})
        text->replace(u"FILE"_s, file.fileName()).replace(u"PTY"_s, board.devicePath());
    QProcess runner;
    start(runner, u"run "_s + run.words, board.devicePath());
    runner.write(run.script.toUtf8());
    runner.closeWriteChannel();

    QCOMPARE(board.takeReceived(run.sent.size()), run.sent);
    if (run.interruption == unplug)
        board.closeBoardSide();
    else if (run.interruption != 0)
        ::kill(pid_t(runner.processId()), run.interruption);
    // It may have ended while the board was being read.
    QVERIFY(runner.state() == QProcess::NotRunning || runner.waitForFinished(3000));
    QCOMPARE(runner.exitStatus(), QProcess::NormalExit);
    QCOMPARE(runner.exitCode(), run.status);
    QCOMPARE(QString::fromUtf8(runner.readAllStandardError()), run.errors);
    // Whatever went out meanwhile is whole frames of the loop, and nothing comes after the end.
    const QByteArray rest = board.takeAllWithin(100);
    QCOMPARE(rest, run.interruption == 0 ? QByteArray() : run.sent.repeated(rest.size() / 4));
    QVERIFY(run.interruption == unplug || board.programSideClosed());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
