#include "FakeSerialService.h"
#include "WindowHarness.h"

#include <QTest>
#include <QThread>

using namespace pwm20;
using namespace pwm20::testing;

class TestReceiveMonitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachReplyReplacesTheLast();
    void otherEventsChangeNothing_data();
    void otherEventsChangeNothing();
    void oneEventShowsAtMost1024Characters();
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

void TestReceiveMonitor::oneEventShowsAtMost1024Characters()
{
    WindowHarness window;
    window.openPortAndSettle();
    qsizetype longest = 0;
    QObject::connect(&window.text2(), &QLineEdit::textChanged, &window.form(),
                     [&](const QString &text) { longest = std::max(longest, text.size()); });
    // All of it waits on the line before the program reads any: the first event is full.
    QVERIFY(window.com1().send(QByteArray(3000, 'x') + "END"));
    QThread::msleep(50);
    QTRY_VERIFY(window.text2().text().endsWith(u"END"));
    QCOMPARE(longest, 1024);
}

QTEST_MAIN(TestReceiveMonitor)
#include "TestReceiveMonitor.moc"
