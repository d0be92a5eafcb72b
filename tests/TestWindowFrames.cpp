#include "WindowHarness.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>

#include <functional>

using namespace pwm20::testing;
using namespace Qt::StringLiterals;

namespace {

QTextEdit &batchBox(WindowHarness &window)
{
    return window.control<QTextEdit>(u"RichTextBox1"_s);
}

// Types `text` into the batch box, a line at a time, each ended with Enter.
void typeBatch(WindowHarness &window, const QString &text)
{
    batchBox(window).setFocus();
    for (const QString &line : text.split(u'\n')) {
        QTest::keyClicks(&batchBox(window), line);
        QTest::keyClick(&batchBox(window), Qt::Key_Return);
    }
}

// A key pressed in the batch box, its window active as after a person's click; a file dialog it
// opens is answered with `path`, as a person typing it would.
void pressInBatchBox(WindowHarness &window, QKeyCombination keys, const QString &path = {})
{
    const auto answering = whenShown([path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog) {
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible()) // never left open: that would hang the test
                QMetaObject::invokeMethod(dialog, "reject");
        }
        return dialog != nullptr;
    });
    window.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form()));
    batchBox(window).setFocus();
    QTest::keyClick(&batchBox(window), keys.key(), keys.keyboardModifiers());
}

} // namespace

// Input given to slider 4 of the window.
using Input = std::function<void(QScrollBar &, QPoint)>;
Q_DECLARE_METATYPE(Input)

// What the window sends and shows: its channel rows, group buttons and batches, on an open port
// unless said, and the board's replies.
class TestWindowFrames : public QObject
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
    void playsAsIfByHand();
    void pacedAndHeld();
    void nothingSent_data();
    void nothingSent();
    void endsWhen_data();
    void endsWhen();
    void poseAndFiles();
};

void TestWindowFrames::sliderInput_data()
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

void TestWindowFrames::sliderInput()
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

void TestWindowFrames::valueEntry_data()
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

void TestWindowFrames::valueEntry()
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

void TestWindowFrames::closedPort_data()
{
    QTest::addColumn<bool>("byArrow");
    QTest::newRow("arrow click") << true;
    QTest::newRow("entry") << false;
}

void TestWindowFrames::closedPort()
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

void TestWindowFrames::centreAll_data()
{
    QTest::addColumn<int>("alreadyCentred"); // 0: none
    QTest::newRow("from all off") << 0;
    QTest::newRow("slider 5 already centred") << 5;
    QTest::newRow("slider 20 already centred") << 20;
}

void TestWindowFrames::centreAll()
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

void TestWindowFrames::replies()
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

void TestWindowFrames::playsAsIfByHand()
{
    WindowHarness window;
    window.openPortAndSettle();
    typeBatch(window, u"# a pose, off, centre\n1=100 3=0\noff\nrepeat 2\ncentre\nend\nS 5 19 E"_s);
    window.click(window.button(2));
    QCOMPARE(window.button(2).text(), u"停止发送"_s);
    QVERIFY(batchBox(window).isReadOnly());

    // 3=0 is sent although channel 3 stands at 0; the second centre finds nothing to move, and
    // 5=19 is sent again all the same.
    const QByteArray expected =
        frames({{1, 100}, {3, 0}, {1, 0}}) + everyChannel(0) + everyChannel(19) + frame(5, 19);
    QCOMPARE(window.com1().takeReceived(expected.size()), expected);
    QTRY_COMPARE(window.button(2).text(), u"批量发送"_s);
    QVERIFY(!batchBox(window).isReadOnly());
    QCOMPARE(window.com1().takeAllWithin(50), QByteArray());
    for (int channel = 1; channel <= 20; ++channel)
        QCOMPARE(window.valueBox(channel).text(), u"19"_s);
    QCOMPARE(window.slider(1).value(), 236);
    QCOMPARE(window.text1().text(), u"S 5 19 E"_s);
    QCOMPARE(window.text2().text(), u"Wait..."_s);
    QVERIFY(window.messages().takeShown().isEmpty());
}

void TestWindowFrames::pacedAndHeld()
{
    WindowHarness window;
    window.openPortAndSettle();
    typeBatch(window, u"1=1 2=2\nwait 300\n3=3"_s);
    QTest::qWait(100); // the all-off of the open leaves the line first
    window.click(window.button(2));
    // One frame leaves at once; the next only after its line time, from the event loop.
    QCOMPARE(window.com1().takeReceived(8, 30, false), frame(1, 1));
    QCOMPARE(window.com1().takeReceived(4), frame(2, 2));
    QCOMPARE(window.com1().takeAllWithin(150), QByteArray());
    QCOMPARE(batchBox(window).textCursor().blockNumber(), 1); // the wait's line is shown
    QCOMPARE(window.com1().takeReceived(4), frame(3, 3));
}

void TestWindowFrames::nothingSent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << true << QString();
    QTest::newRow("comments only") << u"# nothing yet\n\n"_s << true << QString();
    QTest::newRow("port closed") << u"1=1"_s << false << u"串口未打开，请检查串口"_s;
    // The cursor goes to the bad line, the third.
    QTest::newRow("a bad line anywhere") << u"1=1\nwait 100\n21=100\n2=2"_s << true
                                         << u"⚠ 第 3 行“21=100”：通道应在 1 到 20 之间。"_s;
}

void TestWindowFrames::nothingSent()
{
    QFETCH(QString, text);
    QFETCH(bool, open);
    QFETCH(QString, message);
    WindowHarness window;
    if (open)
        window.openPortAndSettle();
    typeBatch(window, text);
    window.click(window.button(2));
    QCOMPARE(window.messages().takeShown(),
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(window.com1().takeAllWithin(100), QByteArray());
    QCOMPARE(window.button(2).text(), u"批量发送"_s);
    if (message.startsWith(u"⚠"))
        QCOMPARE(batchBox(window).textCursor().blockNumber(), 2);
}

void TestWindowFrames::endsWhen_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message"); // none when empty
    QTest::newRow("stop clicked") << u"stop"_s << QString();
    QTest::newRow("port closed") << u"close"_s << QString();
    QTest::newRow("device lost")
        << u"lost"_s
        << u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。"_s;
}

void TestWindowFrames::endsWhen()
{
    QFETCH(QString, how);
    QFETCH(QString, message);
    WindowHarness window;
    window.openPortAndSettle();
    typeBatch(window, u"repeat\n1=1\n1=2\nend"_s);
    window.click(window.button(2));
    QCOMPARE(window.com1().takeReceived(12), frames({{1, 1}, {1, 2}, {1, 1}}));

    // Sliders and boxes stay usable during a run: a change by hand goes out between two frames.
    window.typeAndEnter(9, u"9"_s);
    QVERIFY(window.com1().takeReceived(24).contains(frame(9, 9)));
    if (how == u"stop")
        window.click(window.button(2));
    else if (how == u"close")
        window.click(window.button(1));
    else
        window.com1().closeBoardSide();
    QTRY_COMPARE(window.button(2).text(), u"批量发送"_s);
    QVERIFY(!batchBox(window).isReadOnly());
    window.com1().takeAllWithin(50);
    QCOMPARE(window.com1().takeAllWithin(100), QByteArray());
    QTest::qWait(100);
    QCOMPARE(window.messages().takeShown(),
             message.isEmpty() ? QStringList()
                               : QStringList{message.arg(window.com1().devicePath())});
}

void TestWindowFrames::poseAndFiles()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(2, u"100"_s);
    window.typeAndEnter(20, u"19"_s);
    typeBatch(window, u"off"_s);
    pressInBatchBox(window, Qt::CTRL | Qt::Key_I);
    QCOMPARE(batchBox(window).toPlainText(),
             u"off\n1=0 2=100 3=0 4=0 5=0 6=0 7=0 8=0 9=0 10=0 11=0 12=0 13=0 14=0 15=0 16=0 "
             u"17=0 18=0 19=0 20=19"_s);

    // Saved and opened again through the menu's shortcuts and the file dialog.
    QTemporaryDir folder;
    const QString saved = folder.filePath(u"pose.txt"_s);
    pressInBatchBox(window, Qt::CTRL | Qt::SHIFT | Qt::Key_S, saved);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), batchBox(window).toPlainText());
    const QString before = batchBox(window).toPlainText();
    for (const auto &[name, bytes] : {std::pair{"gb2312.txt", QByteArray("1=1 # \xc8\xab\xb9\xd8")},
                                      std::pair{"large.txt", QByteArray(1024 * 1024 + 1, '#')},
                                      std::pair{"good.txt", QByteArray("wait 5 # \xe5\x85\xa8")}}) {
        QFile other(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(bytes) == bytes.size());
        other.close();
        pressInBatchBox(window, Qt::CTRL | Qt::Key_O, other.fileName());
        // A file refused leaves the box as it was.
        QCOMPARE(batchBox(window).toPlainText(),
                 qstrcmp(name, "good.txt") ? before : u"wait 5 # 全"_s);
    }
    QCOMPARE(window.messages().takeShown(),
             QStringList({u"⚠ 无法打开“%1/gb2312.txt”：文件不是 UTF-8 文本。"_s.arg(folder.path()),
                          u"⚠ 无法打开“%1/large.txt”：文件超过 1 MiB。"_s.arg(folder.path())}));
}

QTEST_MAIN(TestWindowFrames)
#include "TestWindowFrames.moc"
