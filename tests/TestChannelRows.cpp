#include "WindowHarness.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

enum class Input { UpArrow, TrackAbove, UpKey, HomeKey, WheelUp, MiddleOnTrack, ShiftOnTrack };

} // namespace

class TestChannelRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wireBytes_data();
    void wireBytes();
    void sliderInput_data();
    void sliderInput();
    void noMenuOnASlider();
    void valueEntry_data();
    void valueEntry();
    void closedPort_data();
    void closedPort();
    void heldArrowGivesOneMessage();
    void shutdownClosesThePort();
};

void TestChannelRows::wireBytes_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("value");
    for (int channel : {1, 10, 20}) {
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
        window.typeAndEnter(channel, u"1"_s);
    window.com1().takeAllWithin(20);

    window.typeAndEnter(channel, QString::number(value));
    QCOMPARE(window.com1().takeReceived(4), frame(channel, value));
    QCOMPARE(window.valueBox(channel).text(), QString::number(value));
    QCOMPARE(window.slider(channel).value(), 255 - value);
    QCOMPARE(window.text1().text(), u"S %1 %2 E"_s.arg(channel).arg(value));
    QCOMPARE(window.text2().text(), u"Wait..."_s);
}

void TestChannelRows::sliderInput_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<int>("valueAfter"); // slider 4 starts at value 7
    QTest::newRow("up arrow") << Input::UpArrow << 8;
    QTest::newRow("track above the thumb") << Input::TrackAbove << 8;
    QTest::newRow("Up key") << Input::UpKey << 8;
    QTest::newRow("Home key: the top end") << Input::HomeKey << 255;
    QTest::newRow("wheel: one step a notch") << Input::WheelUp << 8;
    QTest::newRow("middle click: no jump") << Input::MiddleOnTrack << 7;
    QTest::newRow("shift click: one step, no jump") << Input::ShiftOnTrack << 8;
}

void TestChannelRows::sliderInput()
{
    QFETCH(Input, input);
    QFETCH(int, valueAfter);
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(4, u"7"_s);
    window.com1().takeReceived(4);
    QScrollBar &slider = window.slider(4);
    slider.setFocus();
    const QPoint track = window.pointOn(4, QStyle::SC_ScrollBarSubPage);
    switch (input) {
    case Input::UpArrow:
        window.clickOn(4, QStyle::SC_ScrollBarSubLine);
        break;
    case Input::TrackAbove:
        window.clickOn(4, QStyle::SC_ScrollBarSubPage);
        break;
    case Input::UpKey:
        QTest::keyClick(&slider, Qt::Key_Up);
        break;
    case Input::HomeKey:
        QTest::keyClick(&slider, Qt::Key_Home);
        break;
    case Input::WheelUp: {
        QWheelEvent wheel(track, slider.mapToGlobal(track), {}, {0, 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&slider, &wheel);
        break;
    }
    case Input::MiddleOnTrack:
        QTest::mouseClick(&slider, Qt::MiddleButton, {}, track);
        break;
    case Input::ShiftOnTrack:
        QTest::mouseClick(&slider, Qt::LeftButton, Qt::ShiftModifier, track);
        break;
    }
    const QByteArray expected = valueAfter == 7 ? QByteArray() : frame(4, valueAfter);
    QCOMPARE(window.com1().takeAllWithin(100), expected);
    QCOMPARE(slider.value(), 255 - valueAfter);
}

void TestChannelRows::noMenuOnASlider()
{
    WindowHarness window;
    bool menuShown = false;
    // Were a menu to open, this closes it again so the test goes on.
    QTimer::singleShot(300, &window.form(), [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    QTest::mouseClick(&window.slider(2), Qt::RightButton, {},
                      window.pointOn(2, QStyle::SC_ScrollBarSubPage));
    QTest::qWait(400);
    QVERIFY(!menuShown);
    QCOMPARE(window.slider(2).value(), 255);
}

void TestChannelRows::valueEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("valueSent"); // the slider starts at value 7; -1: no frame
    QTest::newRow("2.5 goes to 3") << u"2.5"_s << u"C"_s << u"3"_s << 3;
    QTest::newRow("decimal comma") << u"2,5"_s << u"de_DE"_s << u"3"_s << 3;
    QTest::newRow("decimal point in a comma locale") << u"2.5"_s << u"de_DE"_s << u"0"_s << -1;
    QTest::newRow("255.5 goes to 255") << u"255.5"_s << u"C"_s << u"255"_s << 255;
    QTest::newRow("007 leaves the position") << u"007"_s << u"C"_s << u"007"_s << -1;
    QTest::newRow("abc") << u"abc"_s << u"C"_s << u"0"_s << -1;
    QTest::newRow("256") << u"256"_s << u"C"_s << u"0"_s << -1;
    QTest::newRow("255.7 has no position") << u"255.7"_s << u"C"_s << u"0"_s << -1;
    QTest::newRow("40,000 zeros, then 9") << QString(40000, u'0') + u'9' << u"C"_s << u"9"_s << 9;
}

void TestChannelRows::valueEntry()
{
    QFETCH(QString, typed);
    QFETCH(QString, locale);
    QFETCH(QString, boxAfter);
    QFETCH(int, valueSent);
    QLocale::setDefault(QLocale(locale));
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(5, u"7"_s);
    window.com1().takeReceived(4);

    window.typeAndEnter(5, typed);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(window.valueBox(5).text(), boxAfter);
    QCOMPARE(window.slider(5).value(), 255 - (valueSent < 0 ? 7 : valueSent));
    QCOMPARE(window.com1().takeAllWithin(50), valueSent < 0 ? QByteArray() : frame(5, valueSent));
    QCOMPARE(window.text1().text(), u"S 5 %1 E"_s.arg(valueSent < 0 ? 7 : valueSent));
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

    // One message for one change; "Wait..." only once the box is gone.
    QCOMPARE(window.messages().takeShown(), QStringList{u"串口未打开，请检查串口"_s});
    QCOMPARE(text2WhileShown, QString());
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QCOMPARE(window.text1().text(), u"S 2 9 E"_s);
    QCOMPARE(window.valueBox(12).text(), u"1"_s);
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
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
}

QTEST_MAIN(TestChannelRows)
#include "TestChannelRows.moc"
