#include "WindowHarness.h"

#include <QApplication>
#include <QMenu>
#include <QSerialPort>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <termios.h>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

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
    void openAndClose();
    void slidersMovedWhileClosedGoFirst();
    void portChoiceSurvivesCycles();
    void failedOpen_data();
    void failedOpen();
    void deviceLost_data();
    void deviceLost();
    void deviceChoice();
    void rememberedDeviceGone();
};

void TestPortSwitch::openAndClose()
{
    WindowHarness window;
    QVERIFY(showsState(window, false));
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com1().takeReceived(80), everyChannel(0));
    QCOMPARE(window.text1().text(), QString());

    // The board reads 9600 baud, 8 data bits, no parity, one stop bit, no flow control.
    termios line{};
    QVERIFY(window.com1().lineSettings(line));
    QCOMPARE(cfgetospeed(&line), speed_t(B9600));
    QCOMPARE(cfgetispeed(&line), speed_t(B9600));
    QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    QCOMPARE(window.text2().text(), QString());

    // All off again, twice: the loop each time, and no echo.
    window.click(window.button(3));
    window.click(window.button(3));
    QCOMPARE(window.com1().takeReceived(160), everyChannel(0) + everyChannel(0));
    QCOMPARE(window.text1().text(), QString());

    window.click(window.button(1));
    QVERIFY(showsState(window, false));
    QVERIFY(window.com1().programSideClosed());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.com2().takeAllWithin(0), QByteArray());
}

void TestPortSwitch::slidersMovedWhileClosedGoFirst()
{
    WindowHarness window;
    window.typeAndEnter(7, QStringLiteral("255"));
    window.typeAndEnter(3, QStringLiteral("155"));
    QCOMPARE(window.messages().takeShown().size(), 2);
    window.typeAndEnter(2, QStringLiteral("abc"));               // rejected: "0", the slider stays
    QTest::keyClicks(&window.valueBox(9), QStringLiteral("12")); // typed, never entered

    window.click(window.button(1));
    QCOMPARE(window.com1().takeReceived(88), frames({{3, 0}, {7, 0}}) + everyChannel(0));
    QCOMPARE(window.text1().text(), QStringLiteral("S 7 0 E"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    QVERIFY(window.messages().takeShown().isEmpty());
    for (int channel = 1; channel <= 20; ++channel) {
        QCOMPARE(window.valueBox(channel).text(), QStringLiteral("0"));
        QCOMPARE(window.slider(channel).value(), 255);
    }
}

void TestPortSwitch::portChoiceSurvivesCycles()
{
    WindowHarness window;
    window.click(window.option(2));
    QVERIFY(!window.option(1).isChecked());
    for (int cycle = 0; cycle < 2; ++cycle) {
        window.click(window.button(1));
        QCOMPARE(window.com2().takeReceived(80), everyChannel(0));
        window.click(window.button(1));
        QVERIFY(window.option(2).isChecked());
    }
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    window.click(window.option(1));
    QVERIFY(!window.option(2).isChecked());
    window.click(window.button(1));
    QCOMPARE(window.com1().takeReceived(80), everyChannel(0));
    QCOMPARE(window.com2().takeAllWithin(50), QByteArray());
}

void TestPortSwitch::failedOpen_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("message"); // %1 stands for the pseudo-terminal's path
    QTest::newRow("missing device")
        << u"missing"_s
        << u"⚠ 无法打开串口 com1（设备 /dev/pwm20-no-such-device）：找不到该设备。\n"
           u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("no device listed") << u"unlisted"_s
                                      << u"⚠ 无法打开串口 com1：系统中没有第 1 个串口。\n"
                                         u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("held by another program")
        << u"busy"_s
        << u"⚠ 无法打开串口 com1（设备 %1）：该串口正被其他程序使用。\n"
           u"请先关闭占用该串口的程序，再打开串口。"_s;
}

void TestPortSwitch::failedOpen()
{
    QFETCH(QString, why);
    QFETCH(QString, message);
    WindowHarness window;
    QSerialPort otherProgram(window.com1().devicePath());
    if (why == u"missing")
        qputenv("PWM20_COM1", "/dev/pwm20-no-such-device");
    else if (why == u"unlisted")
        qunsetenv("PWM20_COM1");
    else
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));

    window.click(window.button(1));
    QCOMPARE(window.messages().takeShown(),
             QStringList{message.replace(u"%1"_s, window.com1().devicePath())});
    QVERIFY(showsState(window, false));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());

    // Once the device is back, the same button opens it.
    otherProgram.close();
    qputenv("PWM20_COM1", window.com1().devicePath().toLocal8Bit());
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com1().takeReceived(80), everyChannel(0));
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
    window.openPortAndSettle();
    window.typeAndEnter(6, QStringLiteral("40"));
    window.com1().takeReceived(4);

    window.com1().closeBoardSide();
    // A group command runs before the program has had a chance to notice.
    if (commandAfterUnplug != 0)
        window.button(commandAfterUnplug).click();
    const QString text1 = window.text1().text();
    const QString text2 = window.text2().text();

    QTRY_VERIFY(showsState(window, false));
    QTest::qWait(200);
    QCOMPARE(
        window.messages().takeShown(),
        QStringList{
            u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。"_s.arg(
                window.com1().devicePath())});
    QCOMPARE(window.text1().text(), text1);
    QCOMPARE(window.text2().text(), text2);

    // The adapter comes back under another name.
    PtyPair replugged;
    qputenv("PWM20_COM1", replugged.devicePath().toLocal8Bit());
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(replugged.takeReceived(80).right(80), everyChannel(0));
}

namespace {

QString toolTipOf(QWidget &control)
{
    QHelpEvent hover(QEvent::ToolTip, {5, 5}, control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &hover);
    return QToolTip::text();
}

QString writeSettings(const QTemporaryDir &folder, const QString &com1)
{
    const QString file = folder.filePath(u"pwm20.conf"_s);
    QSettings(file, QSettings::IniFormat).setValue(u"ports/com1"_s, com1);
    return file;
}

} // namespace

void TestPortSwitch::deviceChoice()
{
    QTemporaryDir folder;
    PtyPair chosen;
    WindowHarness window(writeSettings(folder, chosen.devicePath()));
    qunsetenv("PWM20_COM1");
    const auto opensOn = [&](PtyPair &board) {
        window.click(window.button(1));
        const bool opened = board.takeReceived(80) == everyChannel(0);
        window.click(window.button(1));
        return opened;
    };
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：%1（上次选择的设备）\n右键单击可选择设备。"_s.arg(chosen.devicePath()));
    QVERIFY(opensOn(chosen));
    // The environment comes before the remembered choice, the command line before both.
    qputenv("PWM20_COM1", window.com1().devicePath().toLocal8Bit());
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：%1（环境变量 PWM20_COM1 指定）\n右键单击可选择设备。"_s.arg(
                 window.com1().devicePath()));
    QVERIFY(opensOn(window.com1()));
    window.comm().setPortDevice(1, window.com2().devicePath());
    QVERIFY(opensOn(window.com2()));

    // "自动" in the button's menu forgets the choice, for this run and the next.
    window.comm().setPortDevice(1, {});
    qunsetenv("PWM20_COM1");
    const auto answering = whenShown([] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu) {
            menu->setActiveAction(menu->actions().constFirst());
            QTest::keyClick(menu, Qt::Key_Return);
        }
        return menu != nullptr;
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {5, 5},
                                 window.option(1).mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window.option(1), &rightClick);
    QCOMPARE(toolTipOf(window.option(1)), u"com1：没有可用的串口。\n右键单击可选择设备。"_s);
    QVERIFY(!QSettings(folder.filePath(u"pwm20.conf"_s), QSettings::IniFormat)
                 .contains(u"ports/com1"_s));
}

void TestPortSwitch::rememberedDeviceGone()
{
    QTemporaryDir folder;
    WindowHarness window(writeSettings(folder, u"/dev/pwm20-gone"_s));
    qunsetenv("PWM20_COM1");
    window.click(window.button(1));
    QCOMPARE(window.messages().takeShown(),
             QStringList{u"⚠ 无法打开串口 com1（设备 /dev/pwm20-gone）：找不到该设备。\n"
                         u"请插上该设备，或右键单击“com1”选择其他设备。"_s});
}

QTEST_MAIN(TestPortSwitch)
#include "TestPortSwitch.moc"
