#include "WindowHarness.h"

#include <QTest>

using pwm20::testing::WindowHarness;

class TestGroupCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allOffAfterMoves();
    void allOffClearsUnsentText();
    void centreAll_data();
    void centreAll();
    void centreAllTwiceSendsNothingMore();
    void textInACentredBoxSurvives();
};

void TestGroupCommands::allOffAfterMoves()
{
    WindowHarness window;
    window.openPort();
    window.moveSliderTo(3, 100);
    window.moveSliderTo(7, 0);
    window.com1().takeReceivedCount(88);
    window.text2().setText(QStringLiteral("reply"));

    window.click(window.button(3));
    QCOMPARE(window.com1().takeReceivedCount(88),
             WindowHarness::frames({{3, 0}, {7, 0}}) + WindowHarness::allOffLoop());
    QCOMPARE(window.text1().text(), QStringLiteral("S 7 0 E"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    QCOMPARE(window.slider(3).value(), 255);
    QCOMPARE(window.slider(7).value(), 255);
}

void TestGroupCommands::allOffClearsUnsentText()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    window.typeAndEnter(2, QStringLiteral("abc")); // rejected: box "0"
    QTest::keyClicks(&window.valueBox(2), QStringLiteral("77"));
    QTest::keyClicks(&window.valueBox(9), QStringLiteral("12")); // typed, never entered
    window.click(window.button(3));
    QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
    QCOMPARE(window.valueBox(2).text(), QStringLiteral("0"));
    QCOMPARE(window.valueBox(9).text(), QStringLiteral("0"));
}

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
    window.openPort();
    if (alreadyCentred != 0)
        window.typeAndEnter(alreadyCentred, QStringLiteral("19"));
    window.com1().takeReceivedCount(alreadyCentred != 0 ? 84 : 80);

    window.click(window.button(4));
    QByteArray expected;
    for (int channel = 1; channel <= 20; ++channel) {
        if (channel != alreadyCentred)
            expected += WindowHarness::frame(channel, 19);
        QCOMPARE(window.valueBox(channel).text(), QStringLiteral("19"));
        QCOMPARE(window.slider(channel).value(), 236);
    }
    QCOMPARE(window.com1().takeReceivedCount(expected.size()), expected);
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
    QCOMPARE(window.text1().text(),
             alreadyCentred == 20 ? QStringLiteral("S 19 19 E") : QStringLiteral("S 20 19 E"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
}

void TestGroupCommands::centreAllTwiceSendsNothingMore()
{
    WindowHarness window;
    window.openPort();
    window.click(window.button(4));
    window.com1().takeReceivedCount(160);
    window.text1().setText(QStringLiteral("before"));
    window.text2().setText(QStringLiteral("reply"));

    window.click(window.button(4));
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
    QCOMPARE(window.text1().text(), QStringLiteral("before"));
    QCOMPARE(window.text2().text(), QStringLiteral("reply"));
}

void TestGroupCommands::textInACentredBoxSurvives()
{
    WindowHarness window;
    window.openPort();
    window.click(window.button(4));
    window.com1().takeReceivedCount(160);
    window.typeAndEnter(8, QStringLiteral("abc")); // rejected: box "0", slider stays centred
    QTest::keyClicks(&window.valueBox(11), QStringLiteral("x"));

    window.click(window.button(4));
    QCOMPARE(window.valueBox(8).text(), QStringLiteral("0"));
    QCOMPARE(window.valueBox(11).text(), QStringLiteral("19x"));
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
}

QTEST_MAIN(TestGroupCommands)
#include "TestGroupCommands.moc"
