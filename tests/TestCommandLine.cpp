#include "WindowHarness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr int unplug = -1;
// Started with hang-ups ignored, as nohup starts it: a hang-up goes unheard, then Ctrl+C.
constexpr int hangUpIgnored = -2;

// A batch run from a shell: the script (also on standard input), pwm20's words (FILE: the
// script's file, PTY: the board's path), a signal sent to it or the board unplugged, what comes
// of it, the width of a terminal standing for standard error (0: a pipe), and standard output.
struct Run
{
    QString script, words;
    int interruption, status;
    QByteArray sent;
    QString errors{};
    int terminal = 0;
    QByteArray pose{}; // sent after the loop's frames when the batch is stopped
    QString out{};
};

// A setup file: channel 5 is a shoulder that takes 7..32, homes at 12, changes by 40 a second
// at most and that by 200 a second, and a stopped batch goes home; SETUP in a row's words stands
// for it.
QString armSetup()
{
    static const QString path = [] {
        const QString file = QDir::temp().filePath(u"pwm20-test-arm-%1.ini"_s.arg(getpid()));
        QFile setup(file);
        if (!setup.open(QIODevice::WriteOnly) ||
            setup.write("[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\nspeed=40\n"
                        "accel=200\n[batch]\non_stop=home\n") < 0)
            qFatal("cannot write the setup");
        return file;
    }();
    return path;
}

// pwm20 with these words after it, and no display: were a window to open, it would fail. Words
// may start with LANGUAGE=..., and >/dev/full sends standard output there.
void start(QProcess &program, const QString &words, const QString &com2 = {})
{
    QStringList arguments =
        QString(words).replace(u"SETUP"_s, armSetup()).split(u' ', Qt::SkipEmptyParts);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"DISPLAY"_s);
    environment.insert(u"PWM20_COM1"_s, u"/dev/pwm20-none"_s);
    environment.insert(u"PWM20_COM2"_s, com2);
    // Nothing remembered from the user's own runs.
    environment.insert(u"XDG_CONFIG_HOME"_s, u"/nonexistent/pwm20-test"_s);
    for (; !arguments.isEmpty() && arguments[0].startsWith(u"LANGUAGE="); arguments.removeFirst())
        environment.insert(u"LANGUAGE"_s, arguments[0].mid(9));
    if (arguments.removeOne(u">/dev/full"_s))
        program.setStandardOutputFile(u"/dev/full"_s);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PWM20_PROGRAM), arguments);
    QVERIFY(program.waitForStarted());
}

} // namespace

Q_DECLARE_METATYPE(Run)

// pwm20 as a shell sees it: its command line, and batches run with no window.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() { QFile::remove(armSetup()); }
    void answersWithNoWindow_data();
    void answersWithNoWindow();
    void runs_data();
    void runs();
    void runSendsThePlan();
};

void TestCommandLine::answersWithNoWindow_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // a line the standard output holds
    QTest::addColumn<QString>("err"); // how the standard error starts
    QTest::newRow("help: every option of run")
        << u"--help"_s << 0
        << u"  run              run FILE [--port DEVICE | --com N] [--setup SETUP]"_s << QString();
    QTest::newRow("help: plan beside run")
        << u"--help"_s << 0
        << u"  plan             plan FILE [--setup SETUP] [--csv] [--for SECONDS]"_s << QString();
    // Seconds, fractions too, above 0 and up to a day.
    for (const char *seconds : {"0", "86401", "nan"})
        QTest::addRow("plan --for %s", seconds)
            << u"plan a --for "_s + QLatin1StringView(seconds) << 2 << QString()
            << u"--for 后面应为大于 0、不超过 86400 的秒数，而不是“%1”。\n"
               u"用法：pwm20 plan FILE [--setup SETUP] [--csv] [--for SECONDS]\n"_s.arg(
                   QLatin1StringView(seconds));
    // Standard output on a full disk: a failure, whichever option wrote it.
    for (const char *words :
         {"--help", "--version", "--ports", "--check", "run --help", "plan --help"})
        QTest::newRow(words) << QLatin1StringView(words) + u" >/dev/full"_s << 1 << QString()
                             << u"无法写入标准输出：设备中已没有剩余空间\n"_s;
    QTest::newRow("ports") << u"--ports --com2 /dev/pwm20-x"_s << 0
                           << u"com2：/dev/pwm20-x（命令行 --com2 指定）"_s << QString();
    QTest::newRow("ports: a name by its path; one device twice")
        << u"--ports --com1 pwm20-x --com2 /dev/pwm20-x"_s << 0
        << u"com1：/dev/pwm20-x（命令行 --com1 指定）"_s
        << u"注意：com1 和 com2 是同一个设备（/dev/pwm20-x）。\n"_s;
    QTest::newRow("version") << u"--version"_s << 0 << u"pwm20 1.3.0"_s << QString();
    QTest::newRow("a setup checked")
        << u"--setup SETUP --check"_s << 0
        << u" 5  shoulder          7..32     home 12   speed 40/s    accel 200/s²"_s << QString();
    QTest::newRow("a setup that is a folder")
        << u"--check --setup /tmp"_s << 2 << QString() << u"/tmp: 这是一个文件夹，不是文件。\n"_s;
    QTest::newRow("a setup that fails to read") << u"--check --setup /proc/self/mem"_s << 2
                                                << QString() << u"/proc/self/mem: 读取失败。\n"_s;
    QTest::newRow("help: --edit")
        << u"--help"_s << 0
        << u"  --edit <FILE>    在批量命令框中打开批量命令文件，并在窗口旁打开动作编辑器。"_s
        << QString();
    QTest::newRow("--edit, no file") << u"--setup SETUP --edit"_s << 2 << QString()
                                     << u"“--edit”之后缺少值。\n用法：pwm20 [选项]"_s;
    QTest::newRow("unknown option")
        << u"--bogus"_s << 2 << QString() << u"未知选项“bogus”。\n用法：pwm20 [选项]"_s;
    QTest::newRow("--lang fr") << u"LANGUAGE=en --lang fr"_s << 2 << QString()
                               << u"--lang takes zh or en.\nUsage: pwm20"_s;
    // In English: Qt's own words around the usage are English then too.
    const QString usage = u"\nUsage: pwm20 run FILE [--port DEVICE | --com N] [--setup SETUP]\n"_s;
    QTest::newRow("run --help") << u"--lang en run --help"_s << 0 << usage.trimmed() << QString();
    const auto mistake = [&usage](const char *name, const QString &words, const QString &first) {
        QTest::newRow(name) << u"--lang en run "_s + words << 2 << QString() << first + usage;
    };
    mistake("run, no file", {}, u"No batch file given."_s);
    mistake("run, two files", u"a b"_s, u"One batch file only: “b” is one too many."_s);
    mistake("run --com 0", u"a --com 0"_s, u"--com takes a number from 1 up, not “0”."_s);
    mistake("run --port --com", u"a --port /dev/x --com 2"_s, u"Give --port or --com, not both."_s);
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
    const QString onBoard = u"run FILE --port PTY"_s;
    // The shell's advice after a failed open and a lost device.
    const QString notFound = u"无法打开串口（设备 /dev/pwm20-none）：找不到该设备。\n"
                             u"请插上串口适配器，并检查设备的路径。\n"
                             u"pwm20 --ports 显示 com1、com2 代表的设备和系统中的串口。\n"_s;
    const QString lost = u"串口（设备 PTY）已断开连接，串口已关闭。\n"
                         u"请检查连接，然后重新运行；设备重新插上后可能换了名字。\n"
                         u"pwm20 --ports 显示 com1、com2 代表的设备和系统中的串口。\n"_s;
    QTest::newRow("a file; off after a move")
        << Run{u"1=100\noff"_s, onBoard, 0, 0, frame(1, 100) + frame(1, 0) + everyChannel(0)};
    QTest::newRow("standard input on com2; centre")
        << Run{u"S 3 7 E\ncentre\n3=19"_s, u"run - --com 2"_s, 0, 0,
               frame(3, 7) + everyChannel(19) + frame(3, 19)};
    // A batch that ends by itself leaves no stop pose.
    QTest::newRow("--com1 and a setup before run")
        << Run{u"1=3"_s, u"--com1 PTY --setup SETUP run FILE"_s, 0, 0, frame(1, 3)};
    // `plan` reads the setup and the batch as `run` does: the same faults, in the same words.
    const auto refused = [](const char *name, const QString &script, const QString &words,
                            const QString &errors) {
        QString plan = QString(words).replace(u"run "_s, u"plan "_s).remove(u" --port PTY"_s);
        QTest::addRow("run: %s", name) << Run{script, words, 0, 2, {}, errors};
        QTest::addRow("plan: %s", name) << Run{script, plan, 0, 2, {}, errors};
    };
    refused("a bad line: nothing opened", u"1=1\nfoo"_s, onBoard,
            u"FILE:2: 无法识别的命令“foo”。\n"_s);
    QTest::newRow("no such device")
        << Run{u"1=1"_s, u"run FILE --port /dev/pwm20-none"_s, 0, 1, {}, notFound};
    // 1 MiB and 1 MiB and a byte, a long comment making up most of it.
    QTest::newRow("standard input to its end, 1 MiB, a byte-order mark")
        << Run{u"\uFEFF1=5\n"_s + QString(1024 * 1024 - 11, u'#') + u"\n2=6"_s,
               u"run - --port PTY"_s, 0, 0, frame(1, 5) + frame(2, 6)};
    QTest::newRow("standard input over 1 MiB")
        << Run{QString(1024 * 1024 + 1, u'#'),           u"run - --port PTY"_s, 0, 2, {},
               u"无法打开标准输入：文件超过 1 MiB。\n"_s};
    const QString noSetup = u"标准输入:1: “shoulder”既不是通道号，也不是通道的名称。\n"
                            u"通道的名称来自通道设置文件：请用 --setup 给出一个。\n"_s;
    refused("a name, no setup", u"shoulder=20"_s, u"run - --port PTY"_s, noSetup);
    // Each line as it plays, written over the one before, with the pass of its innermost loop.
    // Every line end counts, as in the window: CR, U+2028, CR LF and LF.
    const QString loops = u"repeat 2\rrepeat 2\u20281=5\r\nend\nend\n2=5 # long enough to be cut"_s;
    const QString shown =
        u"\r\x1b[K第 3 行（第 1/2 遍）：1=5\r\x1b[K第 3 行（第 2/2 遍）：1=5"_s.repeated(2) +
        u"\r\x1b[K第 6 行：2=5 # long enough t…\n"_s;
    QTest::newRow("on a terminal 30 wide, every line end")
        << Run{loops, onBoard, 0, 0, frame(1, 5).repeated(4) + frame(2, 5), shown, 30};
    const QString limits = u"FILE:2: 通道 5（shoulder）只接受 0 或 7..32。\n"_s;
    QTest::newRow("a setup's limits: nothing opened")
        << Run{u"shoulder=20\n5=40"_s, u"run FILE --setup SETUP --port PTY"_s, 0, 2, {}, limits};
    // The batch file read as a setup: a key outside any section.
    refused("a bad setup: nothing opened", u"1=1"_s, u"run FILE --setup FILE --port PTY"_s,
            u"FILE: 1: 未知的键。\n"_s);
    // What `run` would send and when it reaches the board: a frame's line time (4.167 ms) after
    // it starts on the line; a wait counts from the end of the frame before it.
    const auto planned = [](const char *name, const QString &script, const QString &words,
                            const QString &errors, const QString &out) {
        QTest::newRow(name) << Run{script, words, 0, 0, {}, errors, 0, {}, out};
    };
    const QString csv = u"time_ms,channel,value,line\n"_s;
    planned("plan --csv", u"1=100\nwait 10\n2=50"_s, u"plan FILE --csv"_s, {},
            csv + u"4.167,1,100,1\n18.333,2,50,3\n"_s);
    // At 200/s² the move of 2 takes 2·√(2/200) s, crossing 10.5 and 11.5 √(1/200) s from either
    // end.
    planned("plan: a move held back by a setup's limits", u"shoulder=10\nmove shoulder=12 in 20"_s,
            u"--setup SETUP plan -"_s,
            u"标准输入:2: “move”需要 200 毫秒，而不是 20 毫秒（shoulder：加速度 200）\n"_s,
            u"   时间 毫秒  通道                                  数值    行\n"
            u"       4.167    5 shoulder                            10     1\n"
            u"      74.877    5 shoulder                            11     2\n"
            u"     133.456    5 shoulder                            12     2\n"_s);
    planned("plan --for: a batch that never ends", u"repeat\n1=1\nwait 100\nend"_s,
            u"plan FILE --csv --for 0.25"_s, u"批量命令不会自行结束：只列出前 0.25 秒。\n"_s,
            csv + u"4.167,1,1,2\n108.333,1,1,2\n212.500,1,1,2\n"_s);
    planned("plan --for: a batch that ends later", u"1=1\nwait 1000\n1=2"_s,
            u"plan FILE --csv --for 0.5"_s,
            u"批量命令在 0.5 秒时还没有结束：只列出到此为止的帧。\n"_s, csv + u"4.167,1,1,1\n"_s);
    QTest::newRow("terminal closed: the setup's stop pose")
        << Run{forever, u"--setup SETUP "_s + onBoard, SIGHUP, 129, frame(1, 1), {}, 0, armHomes()};
    QTest::newRow("Ctrl+C") << Run{forever, onBoard, SIGINT, 130, frame(1, 1)};
    QTest::newRow("Ctrl+C: the stop pose, said")
        << Run{forever,     u"--setup SETUP "_s + onBoard,
               SIGINT,      130,
               frame(1, 1), u"正在发送停止姿态…（再次按 Ctrl+C 立即结束）\n"_s,
               0,           armHomes()};
    QTest::newRow("under nohup") << Run{forever, onBoard, hangUpIgnored, 130, frame(1, 1)};
    QTest::newRow("SIGTERM") << Run{forever, onBoard, SIGTERM, 143, frame(1, 1)};
    QTest::newRow("device lost") << Run{forever, onBoard, unplug, 1, frame(1, 1), lost};
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
    PtyPair terminal; // standard error, where the row asks for a terminal
    const winsize size{24, static_cast<unsigned short>(run.terminal), 0, 0};
    if (run.terminal > 0 && ::ioctl(terminal.boardFd(), TIOCSWINSZ, &size) == 0)
        runner.setStandardErrorFile(terminal.devicePath());
    if (run.interruption == hangUpIgnored)
        ::signal(SIGHUP, SIG_IGN); // inherited by the program it starts
    start(runner, run.words, board.devicePath());
    ::signal(SIGHUP, SIG_DFL);
    runner.write(run.script.toUtf8());
    runner.closeWriteChannel();

    // A loop may have sent more by the time the board reads: that is checked with the rest.
    const QByteArray received = board.takeReceived(run.sent.size());
    QCOMPARE(received.left(run.sent.size()), run.sent);
    if (run.interruption == unplug)
        board.closeBoardSide();
    else if (run.interruption == hangUpIgnored) {
        ::kill(pid_t(runner.processId()), SIGHUP);
        QVERIFY(!runner.waitForFinished(200));
        ::kill(pid_t(runner.processId()), SIGINT);
    } else if (run.interruption != 0)
        ::kill(pid_t(runner.processId()), run.interruption);
    // It may have ended while the board was being read.
    QVERIFY(runner.state() == QProcess::NotRunning || runner.waitForFinished(3000));
    // Stopped by a signal, it ends by it, so that a shell loop around it stops too.
    QCOMPARE(runner.exitStatus() == QProcess::CrashExit, run.status > 128);
    QCOMPARE(runner.exitCode() + (run.status > 128 ? 128 : 0), run.status);
    QCOMPARE(QString::fromUtf8(run.terminal > 0 ? terminal.takeAllWithin(100)
                                                : runner.readAllStandardError()),
             run.errors);
    QCOMPARE(QString::fromUtf8(runner.readAllStandardOutput()), run.out);
    // Whatever went out meanwhile is whole frames of the loop, and nothing comes after the end.
    QByteArray rest = received.mid(run.sent.size()) + board.takeAllWithin(300);
    QVERIFY(rest.endsWith(run.pose));
    rest.chop(run.pose.size());
    QCOMPARE(rest, run.interruption == 0 ? QByteArray() : run.sent.repeated(rest.size() / 4));
    QVERIFY(run.interruption == unplug || board.programSideClosed());
}

// `run` sends the frames `plan` lists, each about when it says, and the same notes first.
void TestCommandLine::runSendsThePlan()
{
    QTemporaryFile file;
    QVERIFY(file.open() &&
            file.write("shoulder=10\nmove shoulder=14 in 20\nwait 100\nmove 1=5 in 20") > 0 &&
            file.flush());
    QProcess planner, runner;
    start(planner, u"--setup SETUP plan --csv "_s + file.fileName());
    QVERIFY(planner.waitForFinished(3000));
    const QStringList rows =
        QString::fromUtf8(planner.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 7); // the header, 10, four steps of the ramp, and 1=5 at once from off
    PtyPair board;
    start(runner, u"--setup SETUP run --port "_s + board.devicePath() + u' ' + file.fileName());
    QElapsedTimer clock;
    clock.start();
    QByteArray received;
    double startMs = 0; // the run's start on the plan's clock
    for (qsizetype at = 1; at < rows.size(); ++at) {
        received += board.takeReceived(4 * at - received.size());
        const QStringList cells = rows[at].split(u',');
        QCOMPARE(received.mid(4 * at - 4, 4), frame(cells[1].toInt(), cells[2].toInt()));
        if (at == 1)
            startMs = double(clock.elapsed()) - cells[0].toDouble();
        QVERIFY2(qAbs(double(clock.elapsed()) - startMs - cells[0].toDouble()) < 30,
                 qPrintable(rows[at]));
    }
    QVERIFY(runner.waitForFinished(3000));
    QCOMPARE(received.size() + board.takeAllWithin(0).size(), 4 * (rows.size() - 1));
    const QByteArray notes = planner.readAllStandardError();
    QVERIFY(notes.endsWith(":2: “move”需要 283 毫秒，而不是 20 毫秒（shoulder：加速度 200）\n"));
    QCOMPARE(runner.readAllStandardError(), notes);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
