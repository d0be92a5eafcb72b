#include "serial/LineSettings.h"
#include "serial/PortMessages.h"
#include "serial/PortNaming.h"

#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;

class TestLineFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settings();
    void portNumbers();
    void messagesNoPtyCanRaise();
};

void TestLineFormats::settings()
{
    using P = LineSettings::Parity;
    QVERIFY(LineSettings::parse(u" 19200 , E , 7 , 2 ") ==
            LineSettings({19200, P::Even, 7, LineSettings::StopBits::Two}));
    for (QStringView bad :
         {u"9600,n,8", u"9600,x,8,1", u"9600,n,9,1", u"fast,n,8,1", u"9600,n,8,3"})
        QVERIFY2(!LineSettings::parse(bad), qPrintable(bad.toString()));
}

void TestLineFormats::portNumbers()
{
    using Source = PortDevice::Source;
    const QStringList listed{u"ttyS1"_s,   u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyS0"_s,
                             u"ttyUSB2"_s, u"ttyAMA0"_s,  u"ttyS10"_s};
    QCOMPARE(orderedSerialPorts(listed),
             QStringList({u"ttyUSB2"_s, u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyAMA0"_s, u"ttyS0"_s,
                          u"ttyS1"_s, u"ttyS10"_s}));
    QVERIFY(choosePortDevice(2, {}, listed) == PortDevice({u"ttyUSB10"_s, Source::Automatic}));
    QVERIFY(choosePortDevice(8, {}, listed) == PortDevice());
    // The command line, then the environment, then the remembered choice, then automatic.
    const QString a = u"/dev/a"_s, b = u"/dev/b"_s, c = u"/dev/c"_s;
    QVERIFY(choosePortDevice(8, {a, b, c}, {}) == PortDevice({a, Source::CommandLine}));
    QVERIFY(choosePortDevice(8, {{}, b, c}, {}) == PortDevice({b, Source::Environment}));
    QVERIFY(choosePortDevice(8, {{}, {}, c}, {}) == PortDevice({c, Source::Remembered}));
}

// A root test run can open any device, and a pseudo-terminal has no other failures to give.
void TestLineFormats::messagesNoPtyCanRaise()
{
    using R = OpenFailure::Reason;
    QCOMPARE(
        openFailedMessage(2, {R::NoPermission, u"/dev/ttyUSB9"_s, {}}),
        u"无法打开串口 com2（设备 /dev/ttyUSB9）：没有使用该串口的权限。\n在 Linux 上请把当前用户"
        u"加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。"_s);
    QCOMPARE(openFailedMessage(1, {R::Other, u"/dev/ttyS0"_s, u"I/O error"_s}),
             u"无法打开串口 com1（设备 /dev/ttyS0）：I/O error"_s);
}

QTEST_APPLESS_MAIN(TestLineFormats)
#include "TestLineFormats.moc"
