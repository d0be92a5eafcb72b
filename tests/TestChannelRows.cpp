#include "WindowHarness.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QThread>

#include <functional>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

// Input given to slider 4 of the window.
using Input = std::function<void(QScrollBar &, QPoint)>;
Q_DECLARE_METATYPE(Input)

// The channel rows, the group buttons and the receive box, on an open port unless said.
class TestChannelRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sliderInput_data();
    void sliderInput();
    void valueEntry_data();
    void valueEntry();
    void closedPort_data();
    void closedPort();
    void centreAll_data();
    void centreAll();
    void replies();
};

void TestChannelRows::sliderInput_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QStyle::SubControl>("where");
    QTest::addColumn<int>("valueAfter"); // slider 4 starts at value 7: one step, or none
    const auto click = [](Qt::MouseButton button, Qt::KeyboardModifiers keys = {}) {
        return Input(
            [=](QScrollBar &slider, QPoint at) { QTest::mouseClick(&slider, button, keys, at); });
    };
    const auto key = [](Qt::Key key) {
        return Input([=](QScrollBar &slider, QPoint) { QTest::keyClick(&slider, key); });
    };
    const auto wheel = [](QScrollBar &slider, QPoint at) {
        QWheelEvent notch(at, slider.mapToGlobal(at), {}, {0, 120}, {}, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(&slider, &notch);
    };
    const auto rightClick = [](QScrollBar &slider, QPoint at) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, slider.mapToGlobal(at));
        QApplication::sendEvent(&slider, &menu);
    };
    const QStyle::SubControl track = QStyle::SC_ScrollBarSubPage;
    QTest::newRow("up arrow") << click(Qt::LeftButton) << QStyle::SC_ScrollBarSubLine << 8;
    QTest::newRow("track above the thumb") << click(Qt::LeftButton) << track << 8;
    QTest::newRow("Up key") << key(Qt::Key_Up) << track << 8;
    QTest::newRow("Home key: the top end") << key(Qt::Key_Home) << track << 255;
    QTest::newRow("wheel: one step a notch") << Input(wheel) << track << 8;
    QTest::newRow("middle click: no jump") << click(Qt::MiddleButton) << track << 7;
    QTest::newRow("shift click: no jump") << click(Qt::LeftButton, Qt::ShiftModifier) << track << 8;
    QTest::newRow("right click: no menu") << Input(rightClick) << track << 7;
}

void TestChannelRows::sliderInput()
{
    QFETCH(Input, input);
    QFETCH(QStyle::SubControl, where);
    QFETCH(int, valueAfter);
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(4, u"7"_s);
    window.com1().takeReceived(4);
    window.slider(4).setFocus();
    bool menuShown = false;
    const auto answering = whenShown([&] { // a menu that opened is closed, so the test goes on
        if (QWidget *menu = QApplication::activePopupWidget())
            menuShown = menu->close();
        return menuShown;
    });
    input(window.slider(4), window.pointOn(4, where));
    QCOMPARE(window.com1().takeAllWithin(300),
             valueAfter == 7 ? QByteArray() : frame(4, valueAfter));
    QCOMPARE(window.slider(4).value(), 255 - valueAfter);
    QVERIFY(!menuShown);
}

void TestChannelRows::valueEntry_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("valueSent"); // the slider starts at value 7; -1: no frame
    QTest::newRow("channel 1, 255") << 1 << u"255"_s << u"C"_s << u"255"_s << 255;
    QTest::newRow("channel 20, 0") << 20 << u"0"_s << u"C"_s << u"0"_s << 0;
    QTest::newRow("channel 10, 19") << 10 << u"19"_s << u"C"_s << u"19"_s << 19;
    QTest::newRow("value S goes out raw") << 3 << u"83"_s << u"C"_s << u"83"_s << 83;
    QTest::newRow("decimal comma") << 5 << u"2,5"_s << u"de_DE"_s << u"3"_s << 3;
    QTest::newRow("007 leaves the position") << 5 << u"007"_s << u"C"_s << u"007"_s << -1;
    QTest::newRow("abc") << 5 << u"abc"_s << u"C"_s << u"0"_s << -1;
    QTest::newRow("40,000 zeros, then 9")
        << 5 << QString(40000, u'0') + u'9' << u"C"_s << u"9"_s << 9;
}

void TestChannelRows::valueEntry()
{
    QFETCH(int, channel);
    QFETCH(QString, typed);
    QFETCH(QString, locale);
    QFETCH(QString, boxAfter);
    QFETCH(int, valueSent);
    QLocale::setDefault(QLocale(locale));
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(channel, u"7"_s);
    window.com1().takeReceived(4);

    window.typeAndEnter(channel, typed);
    QLocale::setDefault(QLocale::c());
    const int value = valueSent < 0 ? 7 : valueSent;
    QCOMPARE(window.valueBox(channel).text(), boxAfter);
    QCOMPARE(window.slider(channel).value(), 255 - value);
    QCOMPARE(window.com1().takeAllWithin(50), valueSent < 0 ? QByteArray() : frame(channel, value));
    QCOMPARE(window.text1().text(), u"S %1 %2 E"_s.arg(channel).arg(value));
    QCOMPARE(window.text2().text(), u"Wait..."_s);
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
    window.text1().setText(u"S 2 9 E"_s);
    QString text2WhileShown;
    window.messages().setWhileShown([&] { text2WhileShown = window.text2().text(); });
    if (byArrow)
        window.clickOn(12, QStyle::SC_ScrollBarSubLine);
    else
        window.typeAndEnter(12, u"1"_s);

    // One message, with no warning sign, for one change; "Wait..." only once it is gone.
    QCOMPARE(window.messages().takeShown(), QStringList{u"串口未打开，请检查串口"_s});
    QCOMPARE(text2WhileShown, QString());
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QCOMPARE(window.text1().text(), u"S 2 9 E"_s);
    QCOMPARE(window.valueBox(12).text(), u"1"_s);
    QCOMPARE(window.slider(12).value(), 254);
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

void TestChannelRows::centreAll_data()
{
    QTest::addColumn<int>("alreadyCentred"); // 0: none
    QTest::newRow("from all off") << 0;
    QTest::newRow("slider 5 already centred") << 5;
    QTest::newRow("slider 20 already centred") << 20;
}

void TestChannelRows::centreAll()
{
    QFETCH(int, alreadyCentred);
    WindowHarness window;
    window.openPortAndSettle();
    if (alreadyCentred != 0)
        window.typeAndEnter(alreadyCentred, u"19"_s);
    window.com1().takeReceived(alreadyCentred != 0 ? 4 : 0);

    window.click(window.button(4));
    QByteArray expected;
    for (int channel = 1; channel <= 20; ++channel) {
        if (channel != alreadyCentred)
            expected += frame(channel, 19);
        QCOMPARE(window.valueBox(channel).text(), u"19"_s);
        QCOMPARE(window.slider(channel).value(), 236);
    }
    QCOMPARE(window.com1().takeAllWithin(100), expected);
    QCOMPARE(window.text1().text(), u"S %1 19 E"_s.arg(alreadyCentred == 20 ? 19 : 20));

    // Again: every slider is centred already, so nothing is sent, and text typed stays.
    QTest::keyClicks(&window.valueBox(11), u"x"_s);
    window.text2().setText(u"reply"_s);
    window.click(window.button(4));
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QCOMPARE(window.valueBox(11).text(), u"19x"_s);
    QCOMPARE(window.text2().text(), u"reply"_s);
}

void TestChannelRows::replies()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(1, u"5"_s);
    QVERIFY(window.com1().send("first part "));
    QTRY_COMPARE(window.text2().text(), u"first part "_s);
    QVERIFY(window.com1().send(QByteArray("second \x80\xff", 9)));
    QTRY_COMPARE(window.text2().text(), u"second \u0080\u00ff"_s);
    window.typeAndEnter(1, u"6"_s);
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QCOMPARE(window.com1().takeReceived(8), frames({{1, 5}, {1, 6}}));

    // All of it waits on the line before the program reads any: one event shows 1,024 at most.
    qsizetype longest = 0;
    QObject::connect(&window.text2(), &QLineEdit::textChanged, &window.form(),
                     [&](const QString &text) { longest = std::max(longest, text.size()); });
    QVERIFY(window.com1().send(QByteArray(3000, 'x') + "END"));
    QThread::msleep(50);
    QTRY_VERIFY(window.text2().text().endsWith(u"END"));
    QCOMPARE(longest, 1024);

    // Closing the window closes the port, sends nothing, and leaves the reply where it was.
    QVERIFY(window.form().close());
    QVERIFY(window.com1().programSideClosed());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    QVERIFY(window.text2().text().endsWith(u"END"));
}

QTEST_MAIN(TestChannelRows)
#include "TestChannelRows.moc"
