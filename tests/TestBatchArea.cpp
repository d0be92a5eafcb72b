#include "WindowHarness.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

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

class TestBatchArea : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playsAsIfByHand();
    void pacedAndHeld();
    void nothingSent_data();
    void nothingSent();
    void endsWhen_data();
    void endsWhen();
    void poseAndFiles();
};

void TestBatchArea::playsAsIfByHand()
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

void TestBatchArea::pacedAndHeld()
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

void TestBatchArea::nothingSent_data()
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

void TestBatchArea::nothingSent()
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

void TestBatchArea::endsWhen_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message"); // none when empty
    QTest::newRow("stop clicked") << u"stop"_s << QString();
    QTest::newRow("port closed") << u"close"_s << QString();
    QTest::newRow("device lost")
        << u"lost"_s
        << u"⚠ 串口 com1（设备 %1）已断开连接，串口已关闭。\n请检查连接，然后重新打开串口。"_s;
}

void TestBatchArea::endsWhen()
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

void TestBatchArea::poseAndFiles()
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

QTEST_MAIN(TestBatchArea)
#include "TestBatchArea.moc"
