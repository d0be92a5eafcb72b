#include "WindowHarness.h"

#include <QTest>

using namespace pwm20::testing;

class TestGroupCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void centreAll_data();
    void centreAll();
    void centreAllAgainSendsNothing();
};

void TestGroupCommands::centreAll_data()
{
    QTest::addColumn<int>("alreadyCentred");
    QTest::newRow("from all off") << 0;
    QTest::newRow("slider 5 already centred") << 5;
    QTest::newRow("slider 20 already centred") << 20;
}

void TestGroupCommands::centreAll()
{
    QFETCH(int, alreadyCentred);
    WindowHarness window;
    window.openPortAndSettle();
    if (alreadyCentred != 0)
        window.typeAndEnter(alreadyCentred, QStringLiteral("19"));
    window.com1().takeReceived(alreadyCentred != 0 ? 4 : 0);

    window.click(window.button(4));
    QByteArray expected;
    for (int channel = 1; channel <= 20; ++channel) {
        if (channel != alreadyCentred)
            expected += frame(channel, 19);
        QCOMPARE(window.valueBox(channel).text(), QStringLiteral("19"));
        QCOMPARE(window.slider(channel).value(), 236);
    }
    QCOMPARE(window.com1().takeReceived(expected.size()), expected);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.text1().text(),
             QStringLiteral("S %1 19 E").arg(alreadyCentred == 20 ? 19 : 20));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
}

void TestGroupCommands::centreAllAgainSendsNothing()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.click(window.button(4));
    window.com1().takeReceived(80);
    window.typeAndEnter(8, QStringLiteral("abc")); // rejected: "0", the slider stays centred
    QTest::keyClicks(&window.valueBox(11), QStringLiteral("x"));
    window.text2().setText(QStringLiteral("reply"));

    window.click(window.button(4));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.valueBox(8).text(), QStringLiteral("0"));
    QCOMPARE(window.valueBox(11).text(), QStringLiteral("19x"));
    QCOMPARE(window.text1().text(), QStringLiteral("S 20 19 E"));
    QCOMPARE(window.text2().text(), QStringLiteral("reply"));
}

QTEST_MAIN(TestGroupCommands)
#include "TestGroupCommands.moc"
