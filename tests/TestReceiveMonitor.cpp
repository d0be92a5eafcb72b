#include "FakeSerialService.h"
#include "WindowHarness.h"

#include <QFile>
#include <QTest>

using namespace pwm20;
using namespace pwm20::testing;

namespace {

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmRSS:");
    return text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().split(' ')[0].toLongLong();
}

} // namespace

class TestReceiveMonitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachReplyReplacesTheLast();
    void otherEventsChangeNothing_data();
    void otherEventsChangeNothing();
    void floodKeepsOneEventAndFlatMemory();
};

void TestReceiveMonitor::eachReplyReplacesTheLast()
{
    WindowHarness window;
    window.openPortAndSettle();
    window.typeAndEnter(1, QStringLiteral("5"));
    window.com1().send("first part ");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("first part "));
    window.com1().send("second");
    QTRY_COMPARE(window.text2().text(), QStringLiteral("second"));

    // A slider change puts "Wait..." back; closing leaves the last reply on show.
    window.typeAndEnter(1, QStringLiteral("6"));
    QCOMPARE(window.text2().text(), QStringLiteral("Wait..."));
    QByteArray high;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        high += char(byte);
    window.com1().send(high);
    QTRY_COMPARE(window.text2().text(), QString::fromLatin1(high));
    QCOMPARE(window.text2().text().size(), 128);
    window.click(window.button(1));
    QCOMPARE(window.text2().text(), QString::fromLatin1(high));
}

void TestReceiveMonitor::otherEventsChangeNothing_data()
{
    QTest::addColumn<int>("event");
    for (CommEvent event : {CommEvent::Break, CommEvent::Frame, CommEvent::Overrun,
                            CommEvent::RxOver, CommEvent::Cts, CommEvent::Ring})
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
    window.openPortAndSettle();
    const QByteArray flood(4 * 1024 * 1024, 'x');
    const qint64 before = residentKilobytes();
    window.com1().send(flood + "END");
    QTRY_VERIFY(window.text2().text().endsWith(QStringLiteral("END")));
    const qint64 grown = residentKilobytes() - before;
    QVERIFY(window.text2().text().size() <= 1024);
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer holds freed memory back on purpose
    QVERIFY2(grown < 16 * 1024, qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(grown)));
#endif
}

QTEST_MAIN(TestReceiveMonitor)
#include "TestReceiveMonitor.moc"
