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
    return window.comm().portOpen() == open &&
           window.button(1).text() == (open ? u"关闭串口"_s : u"打开串口"_s) &&
           window.option(1).isEnabled() != open && window.option(2).isEnabled() != open &&
           window.button(3).isEnabled() == open && window.button(4).isEnabled() == open;
}

QString toolTipOf(QWidget &control)
{
    QHelpEvent hover(QEvent::ToolTip, {5, 5}, control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &hover);
    return QToolTip::text();
}

// A settings file in `folder` that remembers `com1` for port 1.
QString settingsWith(const QTemporaryDir &folder, const QString &com1)
{
    const QString file = folder.filePath(u"pwm20.conf"_s);
    QSettings(file, QSettings::IniFormat).setValue(u"ports/com1"_s, com1);
    return file;
}

} // namespace

class TestPortSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openAndClose();
    void failedOpen_data();
    void failedOpen();
    void deviceLost_data();
    void deviceLost();
    void deviceChoice();
};

void TestPortSwitch::openAndClose()
{
    WindowHarness window;
    QVERIFY(showsState(window, false));
    window.typeAndEnter(7, u"255"_s);
    window.typeAndEnter(3, u"155"_s);
    QCOMPARE(window.messages().takeShown().size(), 2);
    window.typeAndEnter(2, u"abc"_s);               // rejected: "0", the slider stays
    QTest::keyClicks(&window.valueBox(9), u"12"_s); // typed, never entered
    window.click(window.option(2));
    QVERIFY(!window.option(1).isChecked());

    // Opening sends each moved slider's off frame, then all off's twenty.
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(window.com2().takeReceived(88), frames({{3, 0}, {7, 0}}) + everyChannel(0));
    QCOMPARE(window.text1().text(), u"S 7 0 E"_s);
    for (int channel = 1; channel <= 20; ++channel)
        QCOMPARE(window.valueBox(channel).text(), u"0"_s);
    // The board reads 9600 baud, 8 data bits, no parity, one stop bit, no flow control.
    termios line{};
    QVERIFY(window.com2().lineSettings(line));
    QCOMPARE(QList({cfgetospeed(&line), cfgetispeed(&line)}),
             QList({speed_t(B9600), speed_t(B9600)}));
    QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));

    // All off, twice: the twenty each time, and no echo.
    window.click(window.button(3));
    window.click(window.button(3));
    QCOMPARE(window.com2().takeReceived(160), everyChannel(0) + everyChannel(0));
    QCOMPARE(window.text1().text(), u"S 7 0 E"_s);

    // Closing sends nothing; com2 stays chosen for the next open.
    window.click(window.button(1));
    QVERIFY(showsState(window, false));
    QVERIFY(window.com2().programSideClosed());
    QCOMPARE(window.com2().takeAllWithin(50), QByteArray());
    window.click(window.button(1));
    QCOMPARE(window.com2().takeReceived(80), everyChannel(0));
    QCOMPARE(window.com1().takeAllWithin(0), QByteArray());
}

void TestPortSwitch::failedOpen_data()
{
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("message"); // %1 stands for the pseudo-terminal's path
    QTest::newRow("missing device")
        << u"missing"_s
        << u"⚠ 无法打开串口 com1（设备 /dev/pwm20-none）：找不到该设备。\n"
           u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("no device listed") << u"unlisted"_s
                                      << u"⚠ 无法打开串口 com1：系统中没有第 1 个串口。\n"
                                         u"请插上串口适配器，或用环境变量 PWM20_COM1 指定设备。"_s;
    QTest::newRow("held by another program")
        << u"busy"_s
        << u"⚠ 无法打开串口 com1（设备 %1）：该串口正被其他程序使用。\n"
           u"请先关闭占用该串口的程序，再打开串口。"_s;
    QTest::newRow("remembered device gone")
        << u"remembered"_s
        << u"⚠ 无法打开串口 com1（设备 /dev/pwm20-none）：找不到该设备。\n"
           u"请插上该设备，或右键单击“com1”选择其他设备。"_s;
}

void TestPortSwitch::failedOpen()
{
    QFETCH(QString, why);
    QFETCH(QString, message);
    QTemporaryDir folder;
    WindowHarness window(settingsWith(folder, u"/dev/pwm20-none"_s));
    QSerialPort otherProgram(window.com1().devicePath());
    if (why == u"missing")
        qputenv("PWM20_COM1", "/dev/pwm20-none");
    else if (why == u"busy")
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    else
        qunsetenv("PWM20_COM1");
    if (why == u"unlisted")
        window.comm().chooseDevice(1, {});

    window.click(window.button(1));
    QCOMPARE(window.messages().takeShown(), QStringList{message.arg(window.com1().devicePath())});
    QVERIFY(showsState(window, false));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
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
    window.typeAndEnter(6, u"40"_s);
    window.com1().takeReceived(4);

    window.com1().closeBoardSide();
    // A group command runs before the program has had a chance to notice.
    if (commandAfterUnplug != 0)
        window.button(commandAfterUnplug).click();
    const QStringList texts{window.text1().text(), window.text2().text()};
    QTRY_VERIFY(showsState(window, false));
    QTest::qWait(200);
    QCOMPARE(window.messages().takeShown(),
             QStringList{u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n"
                         u"请检查连接，然后重新打开串口。"_s.arg(window.com1().devicePath())});
    QCOMPARE(QStringList({window.text1().text(), window.text2().text()}), texts);

    // The adapter comes back under another name.
    PtyPair replugged;
    qputenv("PWM20_COM1", replugged.devicePath().toLocal8Bit());
    window.click(window.button(1));
    QVERIFY(showsState(window, true));
    QCOMPARE(replugged.takeReceived(80).right(80), everyChannel(0));
}

void TestPortSwitch::deviceChoice()
{
    QTemporaryDir folder;
    PtyPair chosen;
    WindowHarness window(settingsWith(folder, chosen.devicePath()));
    qunsetenv("PWM20_COM1");
    const auto opensOn = [&](PtyPair &board) {
        window.click(window.button(1));
        const bool opened = board.takeReceived(80) == everyChannel(0);
        window.click(window.button(1));
        return opened;
    };
    const QString hint = u"\n右键单击可选择设备。"_s;
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：%1（上次选择的设备）"_s.arg(chosen.devicePath()) + hint);
    QVERIFY(opensOn(chosen));
    // The environment comes before the remembered choice.
    qputenv("PWM20_COM1", window.com1().devicePath().toLocal8Bit());
    QCOMPARE(toolTipOf(window.option(1)),
             u"com1：%1（环境变量 PWM20_COM1 指定）"_s.arg(window.com1().devicePath()) + hint);
    QVERIFY(opensOn(window.com1()));

    // "自动" in the button's menu forgets the choice, for this run and the next.
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
    QCOMPARE(toolTipOf(window.option(1)), u"com1：没有可用的串口。"_s + hint);
    QVERIFY(!QSettings(folder.filePath(u"pwm20.conf"_s), QSettings::IniFormat)
                 .contains(u"ports/com1"_s));
}

QTEST_MAIN(TestPortSwitch)
#include "TestPortSwitch.moc"
