// The channel setup: its file format, where a slider comes to rest inside a channel's limits, and
// batches read against a setup.
#include "batch/BatchMessages.h"
#include "setup/SetupFile.h"

#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;

namespace {

const char *const arm =
    "[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\n\n[batch]\non_stop=home\n";

ChannelTable table(const char *text)
{
    return readSetup(text).table;
}

} // namespace

class TestChannelSetup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data();
    void reads();
    void restingValue_data();
    void restingValue();
    void batches_data();
    void batches();
};

void TestChannelSetup::reads_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("read"); // as written back, or the error as it is shown
    const auto add = [](const char *name, const QByteArray &text, const QString &read) {
        QTest::newRow(name) << text << read;
    };
    add("empty: the defaults", "", u""_s);
    add("a small arm", arm, QString::fromUtf8(arm));
    add("comments, any case, blanks, BOM, CR LF",
        "\xEF\xBB\xBF; arm\r\n[Channel1]\r\nNAME = Greifer\r\n# grip\r\nmin = 9\r\n"
        "[batch]\r\non_stop=OFF",
        u"[channel1]\nname=Greifer\nmin=9\nmax=255\nhome=19\n\n[batch]\non_stop=off\n"_s);
    add("a name in any script", "[channel2]\nname=左膝_2\nmax=28",
        u"[channel2]\nname=左膝_2\nmin=1\nmax=28\nhome=19\n\n"_s);
    add("not INI", "[channel1]\nmin 5", u"[channel1]: 第 2 行“min 5”既不是“[节]”也不是“键=值”。"_s);
    add("no such channel", "[channel21]\nmin=5",
        u"[channel21]: 未知的节，应为 [channel1] 到 [channel20] 或 [batch]。"_s);
    add("unknown key", "[channel5]\nspeed=3", u"[channel5] speed: 未知的键。"_s);
    add("key outside a section", "min=3", u"min: 未知的键。"_s);
    add("key twice", "[channel1]\nmin=5\nMin=6", u"[channel1] Min: 这个键已经出现过。"_s);
    add("not a number", "[channel1]\nmax=+30", u"[channel1] max: “+30”不是十进制整数。"_s);
    add("min 0", "[channel5]\nmin=0", u"[channel5] min: 应在 1 到 255 之间，而不是 0。"_s);
    add("max 256", "[channel5]\nmax=256", u"[channel5] max: 应在 1 到 255 之间，而不是 256。"_s);
    add("min above max", "[channel5]\nmin=40\nmax=30\nhome=35",
        u"[channel5] max: max（30）小于 min。"_s);
    add("the default home outside the limits", "[channel5]\nmin=30\n[channel6]",
        u"[channel5] home: home（19）应在 min 和 max 之间；不写 home 时为 19。"_s);
    add("a name twice, in another case", "[channel1]\nname=Knee\n[channel2]\nname=KNEE",
        u"[channel2] name: 名称“KNEE”已用于另一个通道（不区分大小写）。"_s);
    add("a batch word", "[channel1]\nname=Wait",
        u"[channel1] name: 名称“Wait”是批量命令的关键字。"_s);
    add("starts with a digit", "[channel1]\nname=1st",
        u"[channel1] name: 名称“1st”只能由字母、数字和 _ 组成，且不能以数字开头。"_s);
    add("33 characters", "[channel1]\nname=" + QByteArray(33, 'k'),
        u"[channel1] name: 名称“%1”超过 32 个字符。"_s.arg(QString(33, u'k')));
    add("unknown stop pose", "[batch]\non_stop=park",
        u"[batch] on_stop: 应为 none、home 或 off，而不是“park”。"_s);
    add("not UTF-8", "[channel1]\nname=\xff", u"文件不是 UTF-8 文本。"_s);
}

void TestChannelSetup::reads()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, read);
    const SetupReading reading = readSetup(text.toStdString());
    QCOMPARE(reading.error ? setupErrorText(*reading.error)
                           : QString::fromStdString(writeSetup(reading.table)),
             read);
    // Nothing is half-applied.
    if (reading.error)
        QCOMPARE(reading.table, ChannelTable());
}

void TestChannelSetup::restingValue_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("rests"); // on channel 5, limits 7..32
    QTest::newRow("one step up from off") << 0 << 1 << 7;
    QTest::newRow("one step down from the minimum") << 7 << 6 << 0;
    QTest::newRow("Home key: the top") << 20 << 255 << 32;
    QTest::newRow("End key: off") << 20 << 0 << 0;
    QTest::newRow("drag released below the minimum") << 20 << 3 << 7;
    QTest::newRow("drag from off released below the minimum") << 0 << 6 << 7;
    QTest::newRow("one step past the maximum") << 32 << 33 << 32;
    QTest::newRow("inside") << 10 << 11 << 11;
}

void TestChannelSetup::restingValue()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, rests);
    QCOMPARE(table(arm).restingValue(5, from, to), rests);
    // Without a setup every value rests where it is put.
    QCOMPARE(ChannelTable().restingValue(5, from, to), to);
}

void TestChannelSetup::batches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read"); // the frames, or the error as the window shows it
    QTest::newRow("names in any case") << u"shoulder=20 SHOULDER=7 5=0"_s << u"5=20 5=7 5=0"_s;
    QTest::newRow("above the limits")
        << u"1=200\nshoulder=20 5=40"_s
        << u"第 2 行“shoulder=20 5=40”：通道 5（shoulder）只接受 0 或 7..32。"_s;
    QTest::newRow("below the limits in a frame")
        << u"S 5 6 E"_s << u"第 1 行“S 5 6 E”：通道 5（shoulder）只接受 0 或 7..32。"_s;
    QTest::newRow("no such name")
        << u"elbow=20"_s << u"第 1 行“elbow=20”：“elbow”既不是通道号，也不是通道的名称。"_s;
}

void TestChannelSetup::batches()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    const ChannelTable channels = table(arm);
    const BatchScript script = parseBatch(text.toStdString(), channels);
    QStringList frames;
    for (const BatchStep &step : script.steps) {
        for (const ChannelValue &frame : step.frames)
            frames << u"%1=%2"_s.arg(frame.channel).arg(frame.value);
    }
    QCOMPARE(script.error ? batchErrorMessage(*script.error, channels) : frames.join(u' '), read);
}

QTEST_APPLESS_MAIN(TestChannelSetup)
#include "TestChannelSetup.moc"
