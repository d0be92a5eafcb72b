#include "WindowHarness.h"

#include "serial/PortMessages.h"
#include "serial/QtSerialService.h"

#include <QSerialPort>
#include <QTest>

using namespace pwm20;
using testing::PtyPair;
using testing::WindowHarness;

namespace {

// Every control that follows the open state, and the port itself.
bool showsState(WindowHarness &window, bool open)
{
    const QString caption = open ? QStringLiteral(u"关闭串口") : QStringLiteral(u"打开串口");
    return window.comm().portOpen() == open && window.button(1).text() == caption &&
           window.option(1).isEnabled() == !open && window.option(2).isEnabled() == !open &&
           window.button(3).isEnabled() == open && window.button(4).isEnabled() == open;
}

} // namespace

class TestPortSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openRightAfterStart();
    void slidersMovedWhileClosedGoFirst();
    void allOffTwice();
    void closingWritesNothing();
    void portChoiceSurvivesCycles();
    void failedOpen_data();
    void failedOpen();
    void deviceLost_data();
    void deviceLost();
};

void TestPortSwitch::openRightAfterStart()
{
    WindowHarness window;
    QVERIFY(showsState(window, false));
    window.openPort();
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
    QCOMPARE(window.text1().text(), QString());
    QCOMPARE(window.text2().text(), QString());
    QCOMPARE(window.com2().takeReceived(), QByteArray());
}

void TestPortSwitch::slidersMovedWhileClosedGoFirst()
{
    WindowHarness window;
    window.moveSliderTo(7, 0);
    window.moveSliderTo(3, 100);
    QCOMPARE(window.messages().takeShown().size(), 2);

    window.openPort();
    QCOMPARE(window.com1().takeReceivedCount(88),
             WindowHarness::frames({{3, 0}, {7, 0}}) + WindowHarness::allOffLoop());
    QCOMPARE(window.text1().text(), QStringLiteral("S 7 0 E"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    for (int channel = 1; channel <= 20; ++channel)
        QCOMPARE(window.valueBox(channel).text(), QStringLiteral("0"));
    QVERIFY(window.messages().takeShown().isEmpty());
}

void TestPortSwitch::allOffTwice()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    window.text1().setText(QStringLiteral("kept"));
    for (int run = 0; run < 2; ++run) {
        window.click(window.button(3));
        QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
    }
    QCOMPARE(window.text1().text(), QStringLiteral("kept"));
    QVERIFY(showsState(window, true));
}

void TestPortSwitch::closingWritesNothing()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    window.click(window.button(1));
    QVERIFY(showsState(window, false));
    QVERIFY(window.com1().programSideClosed());
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
}

void TestPortSwitch::portChoiceSurvivesCycles()
{
    WindowHarness window;
    window.click(window.option(2));
    QVERIFY(window.option(2).isChecked());
    QVERIFY(!window.option(1).isChecked());
    for (int cycle = 0; cycle < 2; ++cycle) {
        window.openPort();
        QVERIFY(showsState(window, true));
        QCOMPARE(window.com2().takeReceivedCount(80), WindowHarness::allOffLoop());
        window.click(window.button(1));
        QVERIFY(showsState(window, false));
        QVERIFY(window.option(2).isChecked());
    }
    QCOMPARE(window.com1().takeReceived(50), QByteArray());

    window.click(window.option(1));
    window.openPort();
    QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
    QCOMPARE(window.com2().takeReceived(50), QByteArray());
}

void TestPortSwitch::failedOpen_data()
{
    QTest::addColumn<QString>("why");
    QTest::newRow("missing device") << "missing";
    QTest::newRow("no device listed") << "unlisted";
    QTest::newRow("held by another program") << "busy";
}

void TestPortSwitch::failedOpen()
{
    QFETCH(QString, why);
    WindowHarness window;
    QSerialPort otherProgram(window.com1().devicePath());
    QString mentioned;
    if (why == u"missing") {
        mentioned = QStringLiteral("/dev/pwm20-no-such-device");
        qputenv("PWM20_COM1", mentioned.toLocal8Bit());
    } else if (why == u"unlisted") {
        mentioned = QStringLiteral("PWM20_COM1");
        qunsetenv("PWM20_COM1");
    } else {
        mentioned = QStringLiteral(u"其他程序");
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    }

    window.openPort();
    const QStringList shown = window.messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QStringLiteral("com1")), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(mentioned), qPrintable(shown[0]));
    QVERIFY(showsState(window, false));
    QCOMPARE(window.com1().takeReceived(50), QByteArray());

    // Once the device is back, the same button opens it.
    otherProgram.close();
    qputenv("PWM20_COM1", window.com1().devicePath().toLocal8Bit());
    window.openPort();
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
}

void TestPortSwitch::deviceLost_data()
{
    QTest::addColumn<int>("commandAfterUnplug");
    QTest::newRow("while idle") << 0;
    QTest::newRow("during all off") << 3;
    QTest::newRow("during centre all") << 4;
}

void TestPortSwitch::deviceLost()
{
    QFETCH(int, commandAfterUnplug);
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    window.typeAndEnter(6, QStringLiteral("40"));
    window.com1().takeReceivedCount(4);

    window.com1().closeBoardSide();
    // A group command runs before the program has had a chance to notice.
    if (commandAfterUnplug != 0)
        window.button(commandAfterUnplug).click();
    const QString text1 = window.text1().text();
    const QString text2 = window.text2().text();

    QTRY_VERIFY(showsState(window, false));
    QTest::qWait(200);
    const QStringList shown = window.messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QStringLiteral("com1")), qPrintable(shown[0]));
    QVERIFY2(shown[0].contains(window.com1().devicePath()), qPrintable(shown[0]));
    QVERIFY(!shown[0].contains(notOpenMessage()));
    QCOMPARE(window.text1().text(), text1);
    QCOMPARE(window.text2().text(), text2);

    // The adapter comes back under another name.
    PtyPair replugged;
    qputenv("PWM20_COM1", replugged.devicePath().toLocal8Bit());
    window.openPort();
    QVERIFY(showsState(window, true));
    QCOMPARE(replugged.takeReceivedCount(80).right(80), WindowHarness::allOffLoop());
    QVERIFY(window.messages().takeShown().isEmpty());
}

QTEST_MAIN(TestPortSwitch)
#include "TestPortSwitch.moc"
