#include "serial/LineSettings.h"
#include "serial/PortMessages.h"
#include "serial/PortNaming.h"

#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<LineSettings>)

class TestLineFormats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settings_data();
    void settings();
    void portNumbers();
    void openFailureMessages();
};

void TestLineFormats::settings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<LineSettings>>("parsed");
    using P = LineSettings::Parity;
    using S = LineSettings::StopBits;
    QTest::newRow("board") << u"9600,n,8,1"_s
                           << std::optional(LineSettings{9600, P::None, 8, S::One});
    QTest::newRow("blanks, capitals")
        << u" 19200 , E , 7 , 2 "_s << std::optional(LineSettings{19200, P::Even, 7, S::Two});
    QTest::newRow("one and a half")
        << u"4800,o,5,1.5"_s << std::optional(LineSettings{4800, P::Odd, 5, S::OneAndHalf});
    for (const QString &bad :
         {u"9600,n,8"_s, u"9600,x,8,1"_s, u"9600,n,9,1"_s, u"fast,n,8,1"_s, u"9600,n,8,3"_s})
        QTest::newRow(qPrintable(bad)) << bad << std::optional<LineSettings>();
}

void TestLineFormats::settings()
{
    QFETCH(QString, text);
    QFETCH(std::optional<LineSettings>, parsed);
    QVERIFY(LineSettings::parse(text) == parsed);
}

void TestLineFormats::portNumbers()
{
    const QStringList listed{u"ttyS1"_s,   u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyS0"_s,
                             u"ttyUSB2"_s, u"ttyAMA0"_s,  u"ttyS10"_s};
    QCOMPARE(orderedSerialPorts(listed),
             QStringList({u"ttyUSB2"_s, u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyAMA0"_s, u"ttyS0"_s,
                          u"ttyS1"_s, u"ttyS10"_s}));
    QCOMPARE(deviceForPort(2, {}, listed), u"ttyUSB10"_s);
    QCOMPARE(deviceForPort(8, {}, listed), QString());
    QCOMPARE(deviceForPort(2, u"/dev/pts/7"_s, listed), u"/dev/pts/7"_s);
}

void TestLineFormats::openFailureMessages()
{
    using R = OpenFailure::Reason;
    const QString device = u"/dev/ttyUSB9"_s;
    const QList<std::pair<OpenFailure, QStringList>> cases{
        {{R::NoSuchPort, {}, {}}, {u"com2"_s, u"PWM20_COM2"_s}},
        {{R::NoPermission, device, {}}, {device, u"dialout"_s}},
        {{R::Other, device, u"I/O error"_s}, {device, u"I/O error"_s}},
    };
    for (const auto &[failure, mentions] : cases) {
        const QString message = openFailedMessage(2, failure);
        for (const QString &mention : mentions)
            QVERIFY2(message.contains(mention), qPrintable(message));
    }
    QVERIFY(deviceLostMessage(1, device).contains(device));
}

QTEST_APPLESS_MAIN(TestLineFormats)
#include "TestLineFormats.moc"
