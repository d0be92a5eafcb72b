#include "WindowHarness.h"

#include "app/Form1.h"
#include "serial/PortMessages.h"
#include "serial/QtSerialService.h"

#include <QDialog>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using namespace pwm20;
using testing::WindowHarness;

class TestChannelRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpSendsNothing();
    void wireBytes_data();
    void wireBytes();
    void keysArrowsAndTrack();
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
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
    QVERIFY(!window.comm().portOpen());
    QCOMPARE(window.comm().commPort(), 1);
    QCOMPARE(window.comm().settings(), QStringLiteral("9600,n,8,1"));
    QCOMPARE(window.comm().rThreshold(), 1);
    QCOMPARE(window.button(1).text(), QStringLiteral(u"打开串口"));
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
    window.openPort();
    QCOMPARE(window.com1().takeReceivedCount(80), WindowHarness::allOffLoop());
    if (value == 0) // already there: move away first, so the entry is a real change
        window.typeAndEnter(channel, QStringLiteral("1"));
    window.com1().takeReceived(20);

    window.typeAndEnter(channel, QString::number(value));
    QCOMPARE(window.com1().takeReceivedCount(4), WindowHarness::frame(channel, value));
    QCOMPARE(window.valueBox(channel).text(), QString::number(value));
    QCOMPARE(window.slider(channel).value(), 255 - value);
    QCOMPARE(window.text1().text(), QStringLiteral("S %1 %2 E").arg(channel).arg(value));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
}

void TestChannelRows::keysArrowsAndTrack()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);

    // Each input is one step and one frame.
    window.clickUpArrow(4);
    QCOMPARE(window.com1().takeReceivedCount(4), WindowHarness::frame(4, 1));
    window.clickTrackAboveThumb(4);
    QCOMPARE(window.com1().takeReceivedCount(4), WindowHarness::frame(4, 2));
    window.clickDownArrow(4);
    QCOMPARE(window.com1().takeReceivedCount(4), WindowHarness::frame(4, 1));

    window.slider(9).setFocus();
    QTest::keyClick(&window.slider(9), Qt::Key_Up);
    QTest::keyClick(&window.slider(9), Qt::Key_Up);
    QCOMPARE(window.com1().takeReceivedCount(8), WindowHarness::frames({{9, 1}, {9, 2}}));
    QCOMPARE(window.valueBox(9).text(), QStringLiteral("2"));
    QCOMPARE(window.text1().text(), QStringLiteral("S 9 2 E"));
}

void TestChannelRows::valueEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("positionAfter");
    QTest::addColumn<QByteArray>("written");
    // The slider starts at position 248 (value 7).
    QTest::newRow("100") << "100"
                         << "100" << 155 << WindowHarness::frame(5, 100);
    QTest::newRow("2.5 goes to 3") << "2.5"
                                   << "3" << 252 << WindowHarness::frame(5, 3);
    QTest::newRow("255.5 goes to 255") << "255.5"
                                       << "255" << 0 << WindowHarness::frame(5, 255);
    QTest::newRow("1e2 with blanks") << " 1e2 "
                                     << "100" << 155 << WindowHarness::frame(5, 100);
    QTest::newRow("007 leaves the position") << "007"
                                             << "007" << 248 << QByteArray();
    QTest::newRow("7.2 leaves the position") << "7.2"
                                             << "7.2" << 248 << QByteArray();
    QTest::newRow("256") << "256"
                         << "0" << 248 << QByteArray();
    QTest::newRow("abc") << "abc"
                         << "0" << 248 << QByteArray();
    QTest::newRow("empty") << ""
                           << "0" << 248 << QByteArray();
    QTest::newRow("hex") << "0x10"
                         << "0" << 248 << QByteArray();
    QTest::newRow("255.7 has no position") << "255.7"
                                           << "0" << 248 << QByteArray();
    QTest::newRow("-1 has no position") << "-1"
                                        << "0" << 248 << QByteArray();
}

void TestChannelRows::valueEntry()
{
    QFETCH(QString, typed);
    QFETCH(QString, boxAfter);
    QFETCH(int, positionAfter);
    QFETCH(QByteArray, written);
    WindowHarness window;
    window.openPort();
    window.typeAndEnter(5, QStringLiteral("7"));
    window.com1().takeReceivedCount(84);
    const QString text1Before = window.text1().text();

    window.typeAndEnter(5, typed);
    QCOMPARE(window.valueBox(5).text(), boxAfter);
    QCOMPARE(window.slider(5).value(), positionAfter);
    QCOMPARE(window.com1().takeReceived(written.isEmpty() ? 50 : 2000), written);
    if (written.isEmpty())
        QCOMPARE(window.text1().text(), text1Before);
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
        window.clickUpArrow(12);
    else
        window.typeAndEnter(12, QStringLiteral("1"));

    // One message for one change; Text2 says "Wait..." only once the box is gone.
    QCOMPARE(window.messages().takeShown(), QStringList{notOpenMessage()});
    QCOMPARE(text2WhileShown, QString());
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    QCOMPARE(window.text1().text(), QStringLiteral("S 2 9 E"));
    QCOMPARE(window.valueBox(12).text(), QStringLiteral("1"));
    QCOMPARE(window.slider(12).value(), 254);
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
}

void TestChannelRows::heldArrowGivesOneMessage()
{
    WindowHarness window;
    QScrollBar &bar = window.slider(3);
    // Stand in for the modal box: block the window and keep the event loop turning for longer
    // than the scroll bar's auto-repeat delay, while the mouse button stays down.
    window.messages().setWhileShown([&] {
        QDialog box(&window.form());
        box.setModal(true);
        box.show();
        QTest::qWait(900);
    });

    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = 255;
    option.sliderPosition = option.sliderValue = bar.value();
    option.singleStep = option.pageStep = 1;
    const QPoint upArrow =
        bar.style()
            ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, &bar)
            .center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, upArrow);
    QTest::qWait(900);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, upArrow);

    QCOMPARE(window.messages().takeShown().size(), 1);
    QCOMPARE(bar.value(), 254);
}

void TestChannelRows::shutdownClosesThePort()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    window.typeAndEnter(2, QStringLiteral("50"));
    window.com1().takeReceivedCount(4);
    QVERIFY(!window.com1().programSideClosed());

    QVERIFY(window.form().close());
    QVERIFY(window.com1().programSideClosed());
    QVERIFY(!window.comm().portOpen());
    QCOMPARE(window.com1().takeReceived(50), QByteArray());
}

QTEST_MAIN(TestChannelRows)
#include "TestChannelRows.moc"
