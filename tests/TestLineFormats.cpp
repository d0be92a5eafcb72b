#include "serial/LineSettings.h"
#include "serial/PortMessages.h"
#include "serial/PortNaming.h"
#include "serial/ReceiveText.h"
#include "serial/ServoFrame.h"

#include <QTest>

using namespace pwm20;

class TestLineFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames_data();
    void frames();
    void settings_data();
    void settings();
    void portOrder();
    void portForNumber();
    void receivedBytes();
    void openFailureMessages_data();
    void openFailureMessages();
};

void TestLineFormats::frames_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("echo");
    QTest::newRow("first channel, top")
        << 1 << 255 << QByteArray("\x53\x01\xFF\x45", 4) << QStringLiteral("S 1 255 E");
    QTest::newRow("last channel, off")
        << 20 << 0 << QByteArray("\x53\x14\x00\x45", 4) << QStringLiteral("S 20 0 E");
    QTest::newRow("centre") << 10 << 19 << QByteArray("\x53\x0A\x13\x45", 4)
                            << QStringLiteral("S 10 19 E");
    // The value byte is raw: an 'S' in the middle is not escaped.
    QTest::newRow("value is the start letter")
        << 3 << 83 << QByteArray("\x53\x03\x53\x45", 4) << QStringLiteral("S 3 83 E");
}

void TestLineFormats::frames()
{
    QFETCH(int, channel);
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, echo);
    FrameBuffer frame{};
    fillChannelFrame(frame, channel, static_cast<std::uint8_t>(value));
    QCOMPARE(frameBytes(frame), bytes);
    QCOMPARE(echoText(channel, QString::number(value)), echo);
}

void TestLineFormats::settings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    using P = LineSettings::Parity;
    using S = LineSettings::StopBits;
    QTest::newRow("board") << "9600,n,8,1" << true << 9600 << int(P::None) << 8 << int(S::One);
    QTest::newRow("upper case, blanks")
        << " 19200 , E , 7 , 2 " << true << 19200 << int(P::Even) << 7 << int(S::Two);
    QTest::newRow("one and a half")
        << "4800,o,5,1.5" << true << 4800 << int(P::Odd) << 5 << int(S::OneAndHalf);
    QTest::newRow("missing field") << "9600,n,8" << false << 0 << 0 << 0 << 0;
    QTest::newRow("bad parity") << "9600,x,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("bad data bits") << "9600,n,9,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("bad baud") << "fast,n,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("bad stop bits") << "9600,n,8,3" << false << 0 << 0 << 0 << 0;
}

void TestLineFormats::settings()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<LineSettings> parsed = LineSettings::parse(text);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, baud);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QCOMPARE(parsed->baudRate, baud);
    QCOMPARE(int(parsed->parity), parity);
    QCOMPARE(parsed->dataBits, dataBits);
    QCOMPARE(int(parsed->stopBits), stopBits);
}

void TestLineFormats::portOrder()
{
    const QStringList listed{QStringLiteral("ttyS1"),    QStringLiteral("ttyUSB10"),
                             QStringLiteral("ttyACM0"),  QStringLiteral("ttyS0"),
                             QStringLiteral("ttyUSB2"),  QStringLiteral("ttyAMA0"),
                             QStringLiteral("ttyUSB02"), QStringLiteral("ttyS10")};
    const QStringList expected{QStringLiteral("ttyUSB2"),  QStringLiteral("ttyUSB02"),
                               QStringLiteral("ttyUSB10"), QStringLiteral("ttyACM0"),
                               QStringLiteral("ttyAMA0"),  QStringLiteral("ttyS0"),
                               QStringLiteral("ttyS1"),    QStringLiteral("ttyS10")};
    QCOMPARE(orderedSerialPorts(listed), expected);
}

void TestLineFormats::portForNumber()
{
    const QStringList listed{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")};
    QCOMPARE(deviceForPort(1, {}, listed), QStringLiteral("ttyUSB0"));
    QCOMPARE(deviceForPort(2, {}, listed), QStringLiteral("ttyS0"));
    QCOMPARE(deviceForPort(3, {}, listed), QString());
    QCOMPARE(deviceForPort(2, QStringLiteral("/dev/pts/7"), listed), QStringLiteral("/dev/pts/7"));
    QCOMPARE(deviceForPort(1, {}, {}), QString());
}

void TestLineFormats::receivedBytes()
{
    QByteArray everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += char(byte);
    const QString text = textFromLineBytes(everyByte);
    QCOMPARE(text.size(), 256);
    for (int byte = 0; byte < 256; ++byte)
        QCOMPARE(text[byte].unicode(), char16_t(byte));

    // The receive buffer is the text's storage, two bytes a character, and reads back unchanged.
    const QString reply = QStringLiteral(u"OK\u00E9\u4E2D");
    const QByteArray buffer = receiveBufferFromText(reply);
    QCOMPARE(buffer, QByteArray("O\0K\0\xE9\0\x2D\x4E", 8));
    QCOMPARE(textFromReceiveBuffer(buffer), reply);
}

void TestLineFormats::openFailureMessages_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QStringList>("mentions");
    using R = OpenFailure::Reason;
    QTest::newRow("no such port") << int(R::NoSuchPort)
                                  << QStringList{QStringLiteral("com2"),
                                                 QStringLiteral("PWM20_COM2")};
    QTest::newRow("missing") << int(R::NotFound)
                             << QStringList{QStringLiteral("com2"), QStringLiteral("/dev/ttyUSB9"),
                                            QStringLiteral("PWM20_COM2")};
    QTest::newRow("busy") << int(R::Busy)
                          << QStringList{QStringLiteral("/dev/ttyUSB9"),
                                         QStringLiteral(u"其他程序")};
    QTest::newRow("permission") << int(R::NoPermission)
                                << QStringList{QStringLiteral("/dev/ttyUSB9"),
                                               QStringLiteral("dialout")};
}

void TestLineFormats::openFailureMessages()
{
    QFETCH(int, reason);
    QFETCH(QStringList, mentions);
    OpenFailure failure{OpenFailure::Reason(reason), QStringLiteral("/dev/ttyUSB9"), {}};
    if (failure.reason == OpenFailure::Reason::NoSuchPort)
        failure.device.clear();
    const QString message = openFailedMessage(2, failure);
    for (const QString &mention : mentions)
        QVERIFY2(message.contains(mention), qPrintable(message));
}

QTEST_APPLESS_MAIN(TestLineFormats)
#include "TestLineFormats.moc"
