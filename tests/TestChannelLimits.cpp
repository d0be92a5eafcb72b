// A channel setup in the window: no path lets a value outside a channel's limits reach the board,
// centre all brings servos to their homes, and a stopped batch leaves the stop pose.
#include "WindowHarness.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

// Channel 5 is a shoulder that takes 7..32 and rests at 12.
QString setupFile(const QTemporaryDir &folder, const QByteArray &onStop = "none")
{
    const QString path = folder.filePath(u"arm.ini"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("[channel5]\nname=shoulder\nmin=7\nmax=32\nhome=12\n[batch]\non_stop=" +
                   onStop) < 0)
        qFatal("cannot write the setup");
    return path;
}

void playBatch(WindowHarness &window, const QString &text)
{
    window.control<QTextEdit>(u"RichTextBox1"_s).setPlainText(text);
    window.click(window.button(2));
}

QByteArray homes()
{
    QByteArray frames;
    for (int channel = 1; channel <= 20; ++channel)
        frames += frame(channel, channel == 5 ? 12 : 19);
    return frames;
}

} // namespace

// Input given to slider 5, then the frames it sends.
using Input = std::function<void(WindowHarness &)>;
Q_DECLARE_METATYPE(Input)

class TestChannelLimits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void slider_data();
    void slider();
    void refusedBeforeAByteLeaves();
    void stopPose_data();
    void stopPose();
};

void TestChannelLimits::slider_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QByteArray>("sent");
    const Input up = [](WindowHarness &window) { window.clickOn(5, QStyle::SC_ScrollBarSubLine); };
    const Input down = [](WindowHarness &window) {
        window.clickOn(5, QStyle::SC_ScrollBarAddLine);
    };
    const auto key = [](Qt::Key key) {
        return [key](WindowHarness &window) { QTest::keyClick(&window.slider(5), key); };
    };
    QTest::newRow("from off one step up: the minimum") << up << frame(5, 7);
    QTest::newRow("up, up, down, down: back through the minimum to off")
        << Input([=](WindowHarness &window) {
               for (const Input &step : {up, up, down, down})
                   step(window);
           })
        << frame(5, 7) + frame(5, 8) + frame(5, 7) + frame(5, 0);
    QTest::newRow("Home: the maximum, End: off") << Input([=](WindowHarness &window) {
        key(Qt::Key_Home)(window);
        key(Qt::Key_End)(window);
    }) << frame(5, 32) + frame(5, 0);
    QTest::newRow("a drag released below the minimum") << Input([](WindowHarness &window) {
        window.slider(5).setSliderDown(true);
        window.slider(5).setSliderPosition(255 - 3);
        window.slider(5).setSliderDown(false);
    }) << frame(5, 7);
}

void TestChannelLimits::slider()
{
    QFETCH(Input, input);
    QFETCH(QByteArray, sent);
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    input(window);
    QCOMPARE(window.com1().takeReceived(sent.size()), sent);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.valueBox(5).text(), QString::number(quint8(sent.at(sent.size() - 2))));
}

void TestChannelLimits::refusedBeforeAByteLeaves()
{
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder));
    window.openPortAndSettle();
    window.typeAndEnter(5, u"20"_s);
    QCOMPARE(window.com1().takeReceived(4), frame(5, 20));
    window.typeAndEnter(5, u"40"_s);
    playBatch(window, u"1=1\nshoulder=6"_s);
    QCOMPARE(window.messages().takeShown(),
             QStringList({u"⚠ 通道 5（shoulder）只接受 0 或 7..32。"_s,
                          u"⚠ 第 2 行“shoulder=6”：通道 5（shoulder）只接受 0 或 7..32。"_s}));
    QCOMPARE(window.valueBox(5).text(), u"20"_s);
    QCOMPARE(window.com1().takeAllWithin(100), QByteArray());
    // Off is allowed whatever the limits, and a move switching a servo off never glides through
    // the values below them; centre all brings each channel to its home.
    playBatch(window, u"shoulder=20\nmove shoulder=0 in 100"_s);
    QCOMPARE(window.com1().takeAllWithin(300), frame(5, 20) + frame(5, 0));
    window.click(window.button(4));
    QCOMPARE(window.com1().takeReceived(80), homes());
    QCOMPARE(window.label(5).toolTip(),
             u"通道 5（shoulder）\n可用数值：0（关）或 7..32\n归位：12"_s);
    // A file that cannot be used is named, and the defaults hold.
    const QString missing = folder.filePath(u"missing.ini"_s);
    window.form().useSetup(missing);
    QCOMPARE(
        window.messages().takeShown(),
        QStringList(
            u"⚠ 无法使用通道设置，将使用默认设置。\n%1: No such file or directory"_s.arg(missing)));
    window.typeAndEnter(5, u"40"_s);
    QCOMPARE(window.com1().takeReceived(4), frame(5, 40));
}

void TestChannelLimits::stopPose_data()
{
    QTest::addColumn<QByteArray>("onStop");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("pose");
    const QByteArray played = frame(1, 20) + frame(1, 30);
    QTest::newRow("home, Stop") << QByteArray("home") << u"stop"_s << homes();
    QTest::newRow("off, Stop") << QByteArray("off") << u"stop"_s << frame(1, 0) + everyChannel(0);
    QTest::newRow("home, window closed") << QByteArray("home") << u"close window"_s << homes();
    QTest::newRow("home, port closed: nothing")
        << QByteArray("home") << u"close port"_s << QByteArray();
    QTest::newRow("home, a new setup ends it: nothing")
        << QByteArray("home") << u"new setup"_s << QByteArray();
}

void TestChannelLimits::stopPose()
{
    QFETCH(QByteArray, onStop);
    QFETCH(QString, how);
    QFETCH(QByteArray, pose);
    const QTemporaryDir folder;
    WindowHarness window;
    window.form().useSetup(setupFile(folder, onStop));
    window.openPortAndSettle();
    window.form().show();
    playBatch(window, u"repeat\n1=20\nwait 40\n1=30\nwait 40\nend"_s);
    QCOMPARE(window.com1().takeReceived(8), frame(1, 20) + frame(1, 30));
    if (how == u"stop")
        window.click(window.button(2));
    else if (how == u"close window")
        window.form().close();
    else if (how == u"new setup")
        window.form().useSetup(setupFile(folder, "off"));
    else
        window.click(window.button(1));
    // Channel 1 stands at 20 or 30 when the batch stops: the pose starts from there.
    QByteArray sent = window.com1().takeAllWithin(600);
    if (sent.startsWith(frame(1, 20)) || sent.startsWith(frame(1, 30)))
        sent = sent.mid(4);
    QCOMPARE(sent, pose);
    QTRY_COMPARE(window.button(2).text(), u"批量发送"_s);
    QCOMPARE(window.form().isVisible(), how != u"close window");
}

QTEST_MAIN(TestChannelLimits)
#include "TestChannelLimits.moc"
