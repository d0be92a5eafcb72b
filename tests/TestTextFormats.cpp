// The formats the program reads and writes as text: value entries, port names and messages, batch
// texts (under a setup's limits and names), the playing line, and channel setups; and the line as
// the board simulator reads and times it.
#include "FrameReader.h"
#include "batch/BatchMessages.h"
#include "batch/BatchScript.h"
#include "channels/EntryParser.h"
#include "cli/PlayingLine.h"
#include "serial/PortMessages.h"
#include "serial/PortNaming.h"
#include "setup/SetupFile.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Steps as short words: "3:1=100 2=50" for frames from line 3, "5:repeat 2>7" for a repeat whose
// end is step 7, "8:end<5" for that end.
QString describe(const std::vector<BatchStep> &steps)
{
    QStringList words;
    for (const BatchStep &step : steps) {
        QStringList pairs;
        for (const ChannelValue &frame : step.frames)
            pairs << u"%1=%2"_s.arg(frame.channel).arg(frame.value);
        const QString kinds[] = {pairs.join(u' '),
                                 u"off"_s,
                                 u"centre"_s,
                                 u"wait %1"_s.arg(step.amount),
                                 u"repeat %1>%2"_s.arg(step.amount).arg(step.partner),
                                 u"end<%1"_s.arg(step.partner),
                                 u"move %1 in %2%3"_s.arg(pairs.join(u' '))
                                     .arg(step.amount)
                                     .arg(step.smooth ? u" smooth" : u"")};
        words << u"%1:"_s.arg(step.line) + kinds[int(step.kind)];
    }
    return words.join(u" | ");
}

const char *const arm = "[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\n\n"
                        "[channel6]\nname=\xc3\xa9paule\nmin=1\nmax=255\nhome=19\n\n"
                        "[batch]\non_stop=home\n";

ChannelTable table(const char *text)
{
    return readSetup(text).table;
}

} // namespace

class TestTextFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entryPositions_data();
    void entryPositions();
    void portNumbers();
    void portMessages();
    void batchValid_data();
    void batchValid();
    void batchErrors_data();
    void batchErrors();
    void playingLines_data();
    void playingLines();
    void setupReads_data();
    void setupReads();
    void boardReads_data();
    void boardReads();
};

void TestTextFormats::entryPositions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<int>("position"); // -1: no position, the box is reset to "0"
    const auto add = [](const char *name, const char *text, int position, const char *point = ".") {
        QTest::newRow(name) << QByteArray(text) << QByteArray(point) << position;
    };
    // Accepted forms.
    add("blanks around", "  12\t ", 243);
    add("ideographic space", "\u300012", 243);
    add("exponent", "1e2", 155);
    add("leading zeros", "007", 248);
    add("decimal comma", "2,5", 252, ",");
    add("two-byte separator", "2\u066B5", 252, "\u066B");
    // Halves go to the even position, so to the odd channel value.
    add("2.5", "2.5", 252);
    add("255.5 rounds onto the top", "255.5", 0);
    add("-0.4 rounds onto the bottom", "-0.4", 255);
    // Not numbers.
    add("empty", "", -1);
    add("trailing letter", "12a", -1);
    add("bare exponent", "1e", -1);
    add("point where the comma is", "2.5", -1, ",");
    // Numbers the slider cannot stand for: 256 and up, and positions outside 0..255.
    add("256", "256", -1);
    add("huge", "1e400", -1);
    add("255.6 would be position -1", "255.6", -1);
    add("-0.5 would be position 256", "-0.5", -1);
}

void TestTextFormats::entryPositions()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, separator);
    QFETCH(int, position);
    QCOMPARE(sliderPositionForEntry(text.toStdString(), separator.toStdString()).value_or(-1),
             position);
}

void TestTextFormats::portNumbers()
{
    using Source = PortDevice::Source;
    // By name or by path alike.
    const QStringList listed{u"ttyS1"_s,   u"ttyUSB10"_s, u"ttyACM0"_s, u"/dev/ttyS0"_s,
                             u"ttyUSB2"_s, u"ttyAMA0"_s,  u"ttyS10"_s};
    QCOMPARE(orderedSerialPorts(listed),
             QStringList({u"ttyUSB2"_s, u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyAMA0"_s, u"/dev/ttyS0"_s,
                          u"ttyS1"_s, u"ttyS10"_s}));
    QVERIFY(choosePortDevice(2, {}, listed) == PortDevice({u"ttyUSB10"_s, Source::Automatic}));
    QVERIFY(choosePortDevice(8, {}, listed) == PortDevice());
    // The command line, then the environment, then the remembered choice, then automatic.
    const QString a = u"/dev/a"_s, b = u"/dev/b"_s, c = u"/dev/c"_s;
    QVERIFY(choosePortDevice(8, {a, b, c}, {}) == PortDevice({a, Source::CommandLine}));
    QVERIFY(choosePortDevice(8, {{}, b, c}, {}) == PortDevice({b, Source::Environment}));
    QVERIFY(choosePortDevice(8, {{}, {}, c}, {}) == PortDevice({c, Source::Remembered}));
    // One device, however named: a symbolic link is the device it points to.
    QTemporaryDir folder;
    QVERIFY(QFile::link(u"/dev/null"_s, folder.filePath(u"link"_s)));
    QVERIFY(sameDevice(folder.filePath(u"link"_s), u"/dev/null"_s) &&
            !sameDevice(u"/dev/null"_s, u"/dev/zero"_s) && !sameDevice({}, {}));
}

// What no pseudo-terminal can raise (a root test run can open any device), and the shell's advice.
void TestTextFormats::portMessages()
{
    using R = OpenFailure::Reason;
    QCOMPARE(openFailedMessage(2, {R::NotFound, u"/dev/x"_s, {}, PortDevice::Source::Remembered},
                               Advice::Shell),
             u"无法打开串口 com2（设备 /dev/x）：找不到该设备。\n请插上串口适配器，或指定设备：run "
             u"后面加 --port DEVICE，"
             u"run 前面加 --com2 DEVICE，或设置环境变量 PWM20_COM2；也可以用 --com N 换一个串口。\n"
             u"pwm20 --ports 显示 com1、com2 代表的设备和系统中的串口。"_s);
    QCOMPARE(
        openFailedMessage(2, {R::NoPermission, u"/dev/ttyUSB9"_s, {}}),
        u"无法打开串口 com2（设备 /dev/ttyUSB9）：没有使用该串口的权限。\n在 Linux 上请把当前用户"
        u"加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。"_s);
    QCOMPARE(openFailedMessage(1, {R::Other, u"/dev/ttyS0"_s, u"I/O error"_s}),
             u"无法打开串口 com1（设备 /dev/ttyS0）：I/O error"_s);
}

void TestTextFormats::batchValid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("steps");
    QTest::newRow("comments and blank lines") << u"\n  # a pose\n\t\n#1=1"_s << u""_s;
    QTest::newRow("an echo copied") << u"S 6 100 E"_s << u"1:6=100"_s;
    QTest::newRow("names in any case and Unicode form")
        << u"shoulder=20 SHOULDER=7 5=0 E\u0301PAULE=9"_s << u"1:5=20 5=7 5=0 6=9"_s;
    QTest::newRow("a pose in order") << u"3=100 1=50 20=19"_s << u"1:3=100 1=50 20=19"_s;
    QTest::newRow("any case, wide blanks, every line end: CR LF, CR, U+2028, U+2029")
        << u"\u3000OFF\r\nCentre\u00a0\rWAIT 0\u2028\u2029wait\t3600000"_s
        << u"1:off | 2:centre | 3:wait 0 | 5:wait 3600000"_s;
    QTest::newRow("moves")
        << u"MOVE 3=9 1=0 In 500 Smooth\nmove 2=4 in 0\nrepeat\nmove 1=1 in 0\nend"_s
        << u"1:move 3=9 1=0 in 500 smooth | 2:move 2=4 in 0 | 3:repeat 0>4 | "
           u"4:move 1=1 in 0 | 5:end<2"_s;
    QTest::newRow("nested loops")
        << u"repeat 2\n repeat\n  1=1\n end\nend\nrepeat 1000000\nwait 1\nend"_s
        << u"1:repeat 2>4 | 2:repeat 0>3 | 3:1=1 | 4:end<1 | 5:end<0 | "
           u"6:repeat 1000000>7 | 7:wait 1 | 8:end<5"_s;
}

void TestTextFormats::batchValid()
{
    QFETCH(QString, text);
    QFETCH(QString, steps);
    const BatchScript script = parseBatch(text.toStdString(), table(arm));
    QVERIFY(!script.error);
    QCOMPARE(describe(script.steps), steps);
}

void TestTextFormats::batchErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const auto add = [](const char *name, const QString &text, const QString &message) {
        QTest::newRow(name) << text << message;
    };
    add("channel 21", u"1=1\n\n21=100"_s,
        u"第 3 行“21=100”：“21=100”中的通道应在 1 到 20 之间。"_s);
    add("channel 0 in a frame", u"S 0 5 E"_s, u"第 1 行“S 0 5 E”：通道应在 1 到 20 之间。"_s);
    add("value 256 names the pair", u"  1=1 5=256  # too far"_s,
        u"第 1 行“1=1 5=256”：“5=256”中的数值应在 0 到 255 之间。"_s);
    add("value far past", u"S 5 99999999999999999999 E"_s,
        u"第 1 行“S 5 99999999999999999999 E”：数值应在 0 到 255 之间。"_s);
    add("frame without E", u"S 5 100"_s, u"第 1 行“S 5 100”：帧应写作“S 通道 数值 E”。"_s);
    add("frame value not a number", u"S 5 1e2 E"_s, u"第 1 行“S 5 1e2 E”：“1e2”不是十进制整数。"_s);
    add("blanks around =", u"5 = 1"_s, u"第 1 行“5 = 1”：“5”应写作“通道=数值”。"_s);
    add("wait without time", u"wait"_s, u"第 1 行“wait”：“wait”后面缺少毫秒数。"_s);
    add("wait too long", u"wait 3600001"_s,
        u"第 1 行“wait 3600001”：等待时间应在 0 到 3600000 毫秒之间。"_s);
    add("off with more", u"off now"_s, u"第 1 行“off now”：多余的“now”。"_s);
    add("repeat 0", u"repeat 0\nend"_s, u"第 1 行“repeat 0”：重复次数应在 1 到 1000000 之间。"_s);
    add("end alone", u"1=1\nend"_s, u"第 2 行“end”：“end”前面没有对应的“repeat”。"_s);
    add("repeat left open", u"1=1\nrepeat 2\nrepeat 3\n3=3\nend\n2=2"_s,
        u"第 2 行“repeat 2”：“repeat”后面没有对应的“end”。"_s);
    const QString form = u"应写作“move 通道=数值 ... in 毫秒 [smooth]”。"_s;
    add("move without time", u"move 1=10"_s, u"第 1 行“move 1=10”：缺少“in 毫秒”，"_s + form);
    add("move without targets", u"move in 100"_s,
        u"第 1 行“move in 100”：“move”后面缺少“通道=数值”，"_s + form);
    add("move with another curve", u"move 1=10 in 100 bouncy"_s,
        u"第 1 行“move 1=10 in 100 bouncy”：多余的“bouncy”。"_s);
    add("move channel 21", u"move 21=10 in 100"_s,
        u"第 1 行“move 21=10 in 100”：“21=10”中的通道应在 1 到 20 之间。"_s);
    add("move back in time", u"move 1=10 in -5"_s,
        u"第 1 行“move 1=10 in -5”：移动时间应在 0 到 3600000 毫秒之间。"_s);
    add("move with a channel twice", u"move 1=10 2=5 1=20 in 5"_s,
        u"第 1 行“move 1=10 2=5 1=20 in 5”：同一个“move”中两次出现通道 1。"_s);
    add("negative value in a frame", u"S 5 -1 E"_s,
        u"第 1 行“S 5 -1 E”：数值应在 0 到 255 之间。"_s);
    add("negative value in a pose", u"3=-5"_s,
        u"第 1 行“3=-5”：“3=-5”中的数值应在 0 到 255 之间。"_s);
    add("negative channel", u"-3=5"_s, u"第 1 行“-3=5”：“-3=5”中的通道应在 1 到 20 之间。"_s);
    add("negative wait", u"wait -1"_s, u"第 1 行“wait -1”：等待时间应在 0 到 3600000 毫秒之间。"_s);
    add("a minus alone", u"S 5 - E"_s, u"第 1 行“S 5 - E”：“-”不是十进制整数。"_s);
    add("move too long", u"move 1=10 in 3600001"_s,
        u"第 1 行“move 1=10 in 3600001”：移动时间应在 0 到 3600000 毫秒之间。"_s);
    const QString huge = u"jump"_s + QString(200'000, u'\u00e9');
    add("a huge line, quoted short", u"1=1\r"_s + huge,
        u"第 2 行“%1…”：无法识别的命令“%1…”。"_s.arg(huge.first(40)));
    add("marks piled on one letter", u"xy"_s + QString(1000, QChar(0x301)),
        u"第 1 行“x…”：无法识别的命令“x…”。"_s);
    add("loop that only spins", u"1=1\nrepeat\nwait 0\nend"_s,
        u"第 2 行“repeat”：循环体为空：“repeat”和“end”之间既不发送也不等待。"_s);
    add("above the limits", u"1=200\nshoulder=20 5=40"_s,
        u"第 2 行“shoulder=20 5=40”：通道 5（shoulder）只接受 0 或 7..32。"_s);
    add("below the limits in a frame", u"S 5 6 E"_s,
        u"第 1 行“S 5 6 E”：通道 5（shoulder）只接受 0 或 7..32。"_s);
    add("no such name", u"elbow=20"_s,
        u"第 1 行“elbow=20”：“elbow”既不是通道号，也不是通道的名称。"_s);
    add("a channel twice in a move, by name and number", u"move shoulder=20 5=9 in 100"_s,
        u"第 1 行“move shoulder=20 5=9 in 100”：同一个“move”中两次出现通道 5（shoulder）。"_s);
    add("inner loop empty", u"repeat 2\n repeat 3\n end\n wait 5\nend"_s,
        u"第 2 行“repeat 3”：循环体为空：“repeat”和“end”之间既不发送也不等待。"_s);
}

void TestTextFormats::batchErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    // Channel 5 is a shoulder that takes 7..32.
    const BatchScript script = parseBatch(text.toStdString(), table(arm));
    QVERIFY(script.error);
    QVERIFY(script.steps.empty());
    QCOMPARE(batchErrorMessage(*script.error, table(arm)), message);
}

void TestTextFormats::playingLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // as line 3 in the 12th pass of an endless loop, 80 wide
    const QString wide = u"姿"_s.repeated(28);
    QTest::newRow("control characters")
        << u"wait 9\t#\x1b[2J"_s << u"第 3 行（第 12 遍）：wait 9 # [2J"_s;
    // Wide characters take two columns, and the last column stays free.
    QTest::newRow("cut to 79 columns")
        << wide + u"姿x"_s << u"第 3 行（第 12 遍）："_s + wide + u'…';
}

void TestTextFormats::playingLines()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(playingLine(3, text, LoopPass{12, 0}, 80), shown);
}

void TestTextFormats::setupReads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("read"); // as written back, or the error as it is shown
    // A row is named after its text; in5() puts its text in [channel5], and its error after it.
    const auto add = [](const QByteArray &text, const QString &read, const char *name = nullptr) {
        QTest::newRow(name ? name : text.constData()) << text << read;
    };
    const auto in5 = [&add](const QByteArray &text, const QString &error) {
        add("[channel5]\n" + text, u"[channel5] "_s + error);
    };
    const QString name = u"name: 名称“%1”只能由字母、数字和 _ 组成，且不能以数字开头。"_s;
    const QString home = u"home: home（%1）应在 min 和 max 之间；不写 home 时为 19。"_s;
    const QString section = u"]: 未知的节，应为 [channel1] 到 [channel20] 或 [batch]。"_s;
    add("", u""_s, "empty: the defaults");
    add(arm, QString::fromUtf8(arm), "a small arm");
    add("\xEF\xBB\xBF; arm\r\n[Channel1]\r\nNAME = Greifer\r\n# grip\r\nmin = 9\r\n"
        "[batch]\r\non_stop=OFF",
        u"[channel1]\nname=Greifer\nmin=9\nmax=255\nhome=19\n\n[batch]\non_stop=off\n"_s,
        "comments, any case, blanks, BOM, CR LF");
    add("[channel2]\nname=左膝_2\nmax=28",
        u"[channel2]\nname=左膝_2\nmin=1\nmax=28\nhome=19\n\n"_s);
    add("[channel1]\nmin=1\nmax=1\nhome=1\n[channel2]\nmin=255\nhome=255",
        u"[channel1]\nmin=1\nmax=1\nhome=1\n\n[channel2]\nmin=255\nmax=255\nhome=255\n\n"_s);
    add("[channel5]\nmin 5", u"[channel5]: 第 2 行“min 5”既不是“[节]”也不是“键=值”。"_s);
    add("[channel1\nmin=5", u"第 1 行“[channel1”既不是“[节]”也不是“键=值”。"_s);
    add("[channel21]", u"[channel21"_s + section);
    add("[channel0]", u"[channel0"_s + section);
    add("[channel1]\n[Channel1 ]", u"[Channel1]: 这一节已经出现过。"_s);
    in5("slew=3", u"slew: 未知的键。"_s);
    add("min=3", u"min: 未知的键。"_s);
    in5("min=5\nMin=6", u"Min: 这个键已经出现过。"_s);
    in5("max=+30", u"max: “+30”不是十进制整数。"_s);
    in5("max=2550000000", u"max: “2550000000”不是十进制整数。"_s);
    for (const char *limit : {"min=0", "min=256", "max=0", "max=256"})
        in5(limit, u"%1: 应在 1 到 255 之间，而不是 %2。"_s.arg(QString::fromLatin1(limit).left(3),
                                                                QString::fromLatin1(limit + 4)));
    const QString speeds = u"[channel1]\nmin=1\nmax=255\nhome=19\nspeed=2550\naccel=1\n\n"
                           u"[channel2]\nmin=1\nmax=255\nhome=19\nspeed=1\n\n"
                           u"[channel3]\nmin=1\nmax=255\nhome=19\naccel=100000\n\n"_s;
    add(speeds.toUtf8(), speeds, "speed and accel: either, both, their ends");
    in5("speed=0", u"speed: 应在 1 到 2550 之间，而不是 0；不限速就不写。"_s);
    in5("speed=2551", u"speed: 应在 1 到 2550 之间，而不是 2551；不限速就不写。"_s);
    in5("accel=0", u"accel: 应在 1 到 100000 之间，而不是 0；不限加速度就不写。"_s);
    in5("accel=100001", u"accel: 应在 1 到 100000 之间，而不是 100001；不限加速度就不写。"_s);
    in5("accel=", u"accel: “”不是十进制整数。"_s);
    in5("min=40\nmax=30\nhome=35", u"max: max（30）小于 min。"_s);
    in5("min=30\n[channel6]", home.arg(19));
    in5("max=30\nhome=31", home.arg(31));
    const QString taken = u"[channel2] name: 名称“%1”已用于另一个通道（不区分大小写）。"_s;
    add("[channel1]\nname=Knee\n[channel2]\nname=KNEE", taken.arg(u"KNEE"_s));
    in5("name=Wait", u"name: 名称“Wait”是批量命令的关键字。"_s);
    in5("name=1st", name.arg(u"1st"_s));
    in5("name=", name.arg(QString()));
    in5("name=" + QByteArray(33, 'k'), u"name: 名称“%1”超过 32 个字符。"_s.arg(QString(33, u'k')));
    // 33 code points, 32 characters once the accent is put on its letter.
    add("[channel1]\nname=" + QByteArray(31, 'k') + "e\xcc\x81",
        u"[channel1]\nname=%1e\u0301\nmin=1\nmax=255\nhome=19\n\n"_s.arg(QString(31, u'k')));
    add("[channel1]\nname=caf\xc3\xa9\n[channel2]\nname=CAFE\xcc\x81", taken.arg(u"CAFE\u0301"_s));
    add("[batch]\non_stop=park", u"[batch] on_stop: 应为 none、home 或 off，而不是“park”。"_s);
    add("[channel1]\nname=\xff", u"文件不是 UTF-8 文本。"_s, "not UTF-8");
    add(QByteArray("[channel1]\nname=a\0", 18), u"文件不是 UTF-8 文本。"_s, "a NUL byte");
    // Refused whole, never cut at 64 KiB and read.
    const QByteArray full = "[channel1]\nmin=5\n" + QByteArray(64 * 1024 - 17, '#');
    add(full, u"[channel1]\nmin=5\nmax=255\nhome=19\n\n"_s, "64 KiB");
    add(full + '#', u"文件超过 64 KiB。"_s, "over 64 KiB");
}

void TestTextFormats::setupReads()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, read);
    QTemporaryFile file;
    QVERIFY(file.open() && file.write(text) == text.size() && file.flush());
    QString error;
    const std::optional<ChannelTable> table = loadSetupFile(file.fileName(), error);
    QCOMPARE(table ? QString::fromStdString(writeSetup(*table))
                   : error.remove(file.fileName() + u": "_s),
             read);
}

void TestTextFormats::boardReads_data()
{
    QTest::addColumn<QByteArrayList>("reads"); // read i at i ms
    QTest::addColumn<QString>("events");
    QTest::newRow("frames split, garbage")
        << QByteArrayList{"S\1\12ES", "\2\24E", "", "zz", "xxS\1S\25\1ES\3\36E"}
        << u"ch 1 = 10|ch 2 = 20  +1.0 ms|garbage: 10 byte(s) 7a 7a 78 78 53 01 53 15 01 45|"
           u"ch 3 = 30  +3.0 ms"_s;
    QTest::newRow("one read, a backlog") << QByteArrayList{"S\1\12E", "S\2\24ES\3\36E"}
                                         << u"ch 1 = 10|ch 2 = 20  +1.0 ms|ch 3 = 30  same read"_s;
}

void TestTextFormats::boardReads()
{
    QFETCH(QByteArrayList, reads);
    pwm20board::FrameReader reader;
    QStringList seen;
    for (qsizetype i = 0; i < reads.size(); ++i)
        for (const auto &event :
             reader.feed({reinterpret_cast<const std::uint8_t *>(reads[i].data()),
                          std::size_t(reads[i].size())},
                         pwm20board::FrameReader::Clock::time_point(i * 1ms)))
            seen << QString::fromStdString(pwm20board::describe(event));
    QTEST(seen.join(u'|'), "events");
}

QTEST_APPLESS_MAIN(TestTextFormats)
#include "TestTextFormats.moc"
