#include "WindowHarness.h"

#include "serial/PortMessages.h"

#include <QDialog>
#include <QTest>

using namespace pwm20;
using namespace pwm20::testing;
using namespace Qt::StringLiterals;

class TestChannelRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpSendsNothing();
    void wireBytes_data();
    void wireBytes();
    void oneFramePerStep();
    void valueEntry_data();
    void valueEntry();
    void closedPort_data();
    void closedPort();
    void heldArrowGivesOneMessage();
    void shutdownClosesThePort();
};

void TestChannelRows::startUpSendsNothing()
{
    WindowHarness window;
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QVERIFY(!window.comm().portOpen());
    QCOMPARE(window.comm().commPort(), 1);
    QCOMPARE(window.comm().settings(), QStringLiteral("9600,n,8,1"));
    QCOMPARE(window.comm().rThreshold(), 1);
    QVERIFY(window.messages().takeShown().isEmpty());
}

void TestChannelRows::wireBytes_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("value");
    for (int channel : {1, 20}) {
        for (int value : {0, 19, 83, 255})
            QTest::addRow("channel %d value %d", channel, value) << channel << value;
    }
}

void TestChannelRows::wireBytes()
{
    QFETCH(int, channel);
    QFETCH(int, value);
    WindowHarness window;
    window.openPortAndSettle();
    if (value == 0) // already there: move away first, so that the entry is a change
        window.typeAndEnter(channel, QStringLiteral("1"));
    window.com1().takeAllWithin(20);

    window.typeAndEnter(channel, QString::number(value));
    QCOMPARE(window.com1().takeReceived(4), frame(channel, value));
    QCOMPARE(window.valueBox(channel).text(), QString::number(value));
    QCOMPARE(window.slider(channel).value(), 255 - value);
    QCOMPARE(window.text1().text(), QStringLiteral("S %1 %2 E").arg(channel).arg(value));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
}

void TestChannelRows::oneFramePerStep()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.clickOn(4, QStyle::SC_ScrollBarSubLine);
    window.clickOn(4, QStyle::SC_ScrollBarSubPage);
    window.clickOn(4, QStyle::SC_ScrollBarAddLine);
    window.slider(9).setFocus();
    QTest::keyClick(&window.slider(9), Qt::Key_Up);
    QCOMPARE(window.com1().takeReceived(16), frames({{4, 1}, {4, 2}, {4, 1}, {9, 1}}));
    QCOMPARE(window.valueBox(4).text(), QStringLiteral("1"));
    QCOMPARE(window.text1().text(), QStringLiteral("S 9 1 E"));
}

void TestChannelRows::valueEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("positionAfter");
    // The slider starts at position 248 (value 7); -1 means no frame.
    QTest::addColumn<int>("valueSent");
    QTest::newRow("2.5 goes to 3") << u"2.5"_s << u"3"_s << 252 << 3;
    QTest::newRow("255.5 goes to 255") << u"255.5"_s << u"255"_s << 0 << 255;
    QTest::newRow("007 leaves the position") << u"007"_s << u"007"_s << 248 << -1;
    QTest::newRow("abc") << u"abc"_s << u"0"_s << 248 << -1;
    QTest::newRow("255.7 has no position") << u"255.7"_s << u"0"_s << 248 << -1;
}

void TestChannelRows::valueEntry()
{
    QFETCH(QString, typed);
    QFETCH(QString, boxAfter);
    QFETCH(int, positionAfter);
    QFETCH(int, valueSent);
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(5, QStringLiteral("7"));
    window.com1().takeReceived(4);

    window.typeAndEnter(5, typed);
    QCOMPARE(window.valueBox(5).text(), boxAfter);
    QCOMPARE(window.slider(5).value(), positionAfter);
    if (valueSent < 0)
        QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    else
        QCOMPARE(window.com1().takeReceived(4), frame(5, valueSent));
    QCOMPARE(window.text1().text(), QStringLiteral("S 5 %1 E").arg(valueSent < 0 ? 7 : valueSent));
    QVERIFY(window.messages().takeShown().isEmpty());
}

void TestChannelRows::closedPort_data()
{
    QTest::addColumn<bool>("byArrow");
    QTest::newRow("arrow click") << true;
    QTest::newRow("entry") << false;
}

void TestChannelRows::closedPort()
{
    QFETCH(bool, byArrow);
    WindowHarness window;
    window.text1().setText(QStringLiteral("S 2 9 E"));
    QString text2WhileShown;
    window.messages().setWhileShown([&] { text2WhileShown = window.text2().text(); });

    if (byArrow)
        window.clickOn(12, QStyle::SC_ScrollBarSubLine);
    else
        window.typeAndEnter(12, QStringLiteral("1"));

    // One message for one change; "Wait..." only once the box is gone.
    QCOMPARE(window.messages().takeShown(), QStringList{notOpenMessage()});
    QCOMPARE(text2WhileShown, QString());
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    QCOMPARE(window.text1().text(), QStringLiteral("S 2 9 E"));
    QCOMPARE(window.valueBox(12).text(), QStringLiteral("1"));
    QCOMPARE(window.slider(12).value(), 254);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

void TestChannelRows::heldArrowGivesOneMessage()
{
    WindowHarness window;
    // Stands in for the modal box: blocks the window and keeps the event loop turning for longer
    // than the scroll bar's auto-repeat delay, while the mouse button stays down.
    window.messages().setWhileShown([&] {
        QDialog box(&window.form());
        box.setModal(true);
        box.show();
        QTest::qWait(900);
    });
    const QPoint upArrow = window.pointOn(3, QStyle::SC_ScrollBarSubLine);
    QTest::mousePress(&window.slider(3), Qt::LeftButton, {}, upArrow);
    QTest::qWait(900);
    QTest::mouseRelease(&window.slider(3), Qt::LeftButton, {}, upArrow);
    QCOMPARE(window.messages().takeShown().size(), 1);
    QCOMPARE(window.slider(3).value(), 254);
}

void TestChannelRows::shutdownClosesThePort()
{
    WindowHarness window;
    window.openPortAndSettle();
    QVERIFY(!window.com1().programSideClosed());
    QVERIFY(window.form().close());
    QVERIFY(window.com1().programSideClosed());
    QVERIFY(!window.comm().portOpen());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

QTEST_MAIN(TestChannelRows)
#include "TestChannelRows.moc"
