#include "WindowHarness.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

enum class Interruption { None, Interrupt, Terminate, Unplug };

} // namespace

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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // a line the standard output holds
    QTest::addColumn<QString>("err"); // how the standard error starts
    QTest::newRow("help") << QStringList{u"--help"_s} << 0
                          << u"  run              run FILE [--port DEVICE | --com N]："
                             u"不打开窗口，按批量命令文件发送帧。"_s
                          << QString();
    QTest::newRow("help in English")
        << QStringList{u"--lang"_s, u"en"_s, u"-h"_s} << 0
        << u"  --com1 <DEVICE>  The serial device com1 stands for."_s << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"pwm20 1.1.0"_s << QString();
    QTest::newRow("unknown option")
        << QStringList{u"--bogus"_s} << 2 << QString() << u"Unknown option 'bogus'.\nUsage: "_s;
    QTest::newRow("unknown language")
        << QStringList{u"--lang=fr"_s} << 2 << QString() << u"--lang 只接受 zh 或 en。\nUsage: "_s;
    QTest::newRow("stray argument")
        << QStringList{u"walk.txt"_s} << 2 << QString() << u"未知的参数“walk.txt”。\n"_s;
}

void TestCommandLine::answersWithNoWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Were a window to open, it would fail for want of a display.
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"DISPLAY"_s);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PWM20_PROGRAM), arguments);
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
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("arguments"); // FILE: the script's file; PTY: the board's path
    QTest::addColumn<Interruption>("interruption");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("errors");
    const QString forever = u"repeat\n1=1\nend"_s;
    const QString lost =
        u"串口（设备 PTY）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。\n"_s;
    QTest::newRow("a file; off after a move")
        << u"1=100\noff"_s << QStringList{u"FILE"_s, u"--port"_s, u"PTY"_s} << Interruption::None
        << 0 << frame(1, 100) + frame(1, 0) + everyChannel(0) << QString();
    QTest::newRow("standard input on com2; centre")
        << u"S 3 7 E\ncentre\n3=19"_s << QStringList{u"-"_s, u"--com"_s, u"2"_s}
        << Interruption::None << 0 << frame(3, 7) + everyChannel(19) + frame(3, 19) << QString();
    QTest::newRow("a bad line: nothing opened")
        << u"1=1\nfoo"_s << QStringList{u"FILE"_s, u"--port"_s, u"PTY"_s} << Interruption::None << 2
        << QByteArray() << u"FILE:2: 无法识别的命令“foo”。\n"_s;
    QTest::newRow("no such device")
        << u"1=1"_s << QStringList{u"FILE"_s, u"--port"_s, u"/dev/pwm20-none"_s}
        << Interruption::None << 1 << QByteArray()
        << u"无法打开串口（设备 /dev/pwm20-none）：找不到该设备。\n请插上串口适配器，并检查设备的路径。\n"_s;
    QTest::newRow("Ctrl+C") << forever << QStringList{u"FILE"_s, u"--port"_s, u"PTY"_s}
                            << Interruption::Interrupt << 130 << frame(1, 1) << QString();
    QTest::newRow("SIGTERM") << forever << QStringList{u"FILE"_s, u"--port"_s, u"PTY"_s}
                             << Interruption::Terminate << 143 << frame(1, 1) << QString();
    QTest::newRow("device lost") << forever << QStringList{u"FILE"_s, u"--port"_s, u"PTY"_s}
                                 << Interruption::Unplug << 1 << frame(1, 1) << lost;
}

void TestCommandLine::runs()
{
    QFETCH(QString, script);
    QFETCH(QStringList, arguments);
    QFETCH(Interruption, interruption);
    QFETCH(int, status);
    QFETCH(QByteArray, sent);
    QFETCH(QString, errors);
    PtyPair board;
    QTemporaryFile file;
    QVERIFY(file.open() && file.write(script.toUtf8()) > 0 && file.flush());
    for (QString &argument : arguments)
        argument.replace(u"FILE"_s, file.fileName()).replace(u"PTY"_s, board.devicePath());
    errors.replace(u"FILE"_s, file.fileName()).replace(u"PTY"_s, board.devicePath());

    QProcess runner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PWM20_COM2"_s, board.devicePath());
    environment.remove(u"DISPLAY"_s); // no window, and so no display, is needed
    runner.setProcessEnvironment(environment);
    runner.start(QStringLiteral(PWM20_PROGRAM), QStringList{u"run"_s} + arguments);
    QVERIFY(runner.waitForStarted());
    runner.write(script.toUtf8());
    runner.closeWriteChannel();

    QCOMPARE(board.takeReceived(sent.size()), sent);
    if (interruption == Interruption::Unplug)
        board.closeBoardSide();
    else if (interruption != Interruption::None)
        ::kill(pid_t(runner.processId()),
               interruption == Interruption::Interrupt ? SIGINT : SIGTERM);
    // It may have ended while the board was being read.
    QVERIFY(runner.state() == QProcess::NotRunning || runner.waitForFinished(3000));
    QCOMPARE(runner.exitStatus(), QProcess::NormalExit);
    QCOMPARE(runner.exitCode(), status);
    QCOMPARE(QString::fromUtf8(runner.readAllStandardError()), errors);
    // Whatever went out meanwhile is whole frames of the loop, and nothing comes after the end.
    const QByteArray rest = board.takeAllWithin(100);
    QCOMPARE(rest,
             interruption == Interruption::None ? QByteArray() : sent.repeated(rest.size() / 4));
    QVERIFY(interruption == Interruption::Unplug || board.programSideClosed());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
