#include "FakeSerialService.h"
#include "RecordingMessages.h"
#include "WindowHarness.h"

#include "app/Form1.h"

#include <QFile>
#include <QTest>

using namespace pwm20;
using testing::FakeSerialService;
using testing::RecordingMessages;
using testing::WindowHarness;

namespace {

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

class TestReceiveMonitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replyReplacesWait();
    void eachEventReplacesTheLast();
    void highBytesAreOneCharacterEach();
    void otherEventsChangeNothing_data();
    void otherEventsChangeNothing();
    void floodKeepsOneEventAndFlatMemory();
};

void TestReceiveMonitor::replyReplacesWait()
{
    WindowHarness window;
    window.openPort();
    window.typeAndEnter(1, QStringLiteral("5"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    window.com1().send("OK");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("OK"));

    // A slider change puts "Wait..." back; the reply is shown nowhere any more.
    window.typeAndEnter(1, QStringLiteral("6"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));

    // Closing leaves the last reply on show.
    window.com1().send("bye");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("bye"));
    window.click(window.button(1));
    QCOMPARE(window.text2().text(), QStringLiteral("bye"));
}

void TestReceiveMonitor::eachEventReplacesTheLast()
{
    WindowHarness window;
    window.openPort();
    window.com1().send("first part ");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("first part "));
    window.com1().send("second");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("second"));
}

void TestReceiveMonitor::highBytesAreOneCharacterEach()
{
    WindowHarness window;
    window.openPort();
    QByteArray high;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        high += char(byte);
    window.com1().send(high);
    QTRY_COMPARE(window.text2().text(), QString::fromLatin1(high));
    QCOMPARE(window.text2().text().size(), 128);
}

void TestReceiveMonitor::otherEventsChangeNothing_data()
{
    QTest::addColumn<int>("event");
    for (CommEvent event :
         {CommEvent::Break, CommEvent::Frame, CommEvent::Overrun, CommEvent::RxOver,
          CommEvent::RxParity, CommEvent::Cts, CommEvent::Dsr, CommEvent::Cd, CommEvent::Ring})
        QTest::addRow("event %d", int(event)) << int(event);
}

void TestReceiveMonitor::otherEventsChangeNothing()
{
    QFETCH(int, event);
    auto comm = std::make_unique<FakeSerialService>();
    FakeSerialService &board = *comm;
    Form1 form(std::move(comm), std::make_unique<RecordingMessages>());
    auto &text2 = *form.findChild<QLineEdit *>(QStringLiteral("Text2"));
    board.setPortOpen(true);

    board.raise(CommEvent::Receive, QStringLiteral("reply"));
    QCOMPARE(text2.text(), QStringLiteral("reply"));
    // Data waiting behind a line event stays unread and unshown.
    board.raise(CommEvent(event), QStringLiteral("more"));
    QCOMPARE(text2.text(), QStringLiteral("reply"));
    board.raise(CommEvent::Receive);
    QCOMPARE(text2.text(), QStringLiteral("more"));
}

void TestReceiveMonitor::floodKeepsOneEventAndFlatMemory()
{
    WindowHarness window;
    window.openPort();
    window.com1().takeReceivedCount(80);
    const QByteArray flood(4 * 1024 * 1024, 'x');
    const QByteArray last("END");
    const qint64 before = residentKilobytes();

    window.com1().send(flood);
    window.com1().send(last);
    QTRY_VERIFY(window.text2().text().endsWith(QStringLiteral("END")));
    const qint64 after = residentKilobytes();

    QVERIFY(window.text2().text().size() <= 1024);
    QVERIFY2(after - before < 16 * 1024,
             qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(after - before)));
}

QTEST_MAIN(TestReceiveMonitor)
#include "TestReceiveMonitor.moc"
