// The batch player on a hand-turned clock: every frame's moment, every wait and every wake-up,
// deterministically and without sleeping.
#include "batch/BatchPlayer.h"
#include "serial/LineClock.h"
#include "support/HandClock.h"

#include <QTest>

#include <optional>

using namespace pwm20;
using namespace Qt::StringLiterals;

namespace {

// A hand-turned clock, and the board's end of the line on it: what arrives when, with the line's
// time kept as the serial service keeps it.
struct Board final : testing::HandClock, BatchOutput
{
    qint64 lateNs = 0;      // how late every alarm rings
    qint64 stallOnceNs = 0; // and how much later the next one
    std::optional<qint64> alarmAt;
    int wakes = 0;
    std::optional<qint64> doneNs; // when the batch finished
    std::vector<qint64> handedAt;
    LineClock line{*this};
    QStringList sent;
    ChannelValues values{};

    ChannelValues channelValues() const override { return values; }
    void send(const PlannedFrame &frame) override
    {
        values[std::size_t(frame.channel - 1)] = frame.value;
        line.bytesHanded(4);
        handedAt.push_back(now);
        sent << u"%1:%2=%3"_s.arg(double(now) / 1e6, 0, 'f', 2).arg(frame.channel).arg(frame.value);
    }
};

// Rings when the test turns the board's clock to it.
class FakeAlarm final : public Alarm
{
public:
    explicit FakeAlarm(Board &board) : m_board(board) {}
    void startIn(qint64 ns) override
    {
        m_board.alarmAt = m_board.now + std::max<qint64>(ns, 0) + m_board.lateNs +
                          std::exchange(m_board.stallOnceNs, 0);
        ++m_board.wakes;
    }
    void stop() override { m_board.alarmAt.reset(); }
    void fire() const { ring(); }

private:
    Board &m_board;
};

// Plays `script` to its end, or presses Stop at `untilNs`.
void play(Board &board, const QString &script, qint64 untilNs, int mostWakes)
{
    auto alarm = std::make_unique<FakeAlarm>(board);
    const FakeAlarm &ringer = *alarm;
    const ChannelTable channels;
    BatchPlayer player(board, board.line, channels, std::move(alarm));
    QObject::connect(&player, &BatchPlayer::finished, [&] { board.doneNs = board.now; });
    const BatchScript parsed = parseBatch(script.toStdString());
    QVERIFY(!parsed.error);
    player.start(parsed.steps);
    bool stopPressed = false;
    while (player.isRunning() && board.alarmAt && board.wakes <= mostWakes) {
        if (*board.alarmAt > untilNs && !std::exchange(stopPressed, true)) {
            board.now = std::max(board.now, untilNs);
            player.interrupt();
            continue;
        }
        board.now = std::max(board.now, *std::exchange(board.alarmAt, std::nullopt));
        ringer.fire();
    }
    QVERIFY2(board.wakes <= mostWakes, qPrintable(u"woke %1 times"_s.arg(board.wakes)));
    QVERIFY(!player.isRunning());
}

} // namespace

class TestBatchPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plays_data();
    void plays();
    void groupFrames_data();
    void groupFrames();
    void lateWakes_data();
    void lateWakes();
};

void TestBatchPlayer::groupFrames_data()
{
    QTest::addColumn<bool>("allOff"); // or centre all, channel 5's home 12
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("frames"); // "!": a frame of all-off's loop
    const QList<int> homes{19, 19, 19, 19, 12, 19, 19, 19, 19, 19,
                           19, 19, 19, 19, 19, 19, 19, 19, 19, 19};
    const QString loop = u"1=0! 2=0! 3=0! 4=0! 5=0! 6=0! 7=0! 8=0! 9=0! 10=0! 11=0! 12=0! 13=0! "
                         "14=0! 15=0! 16=0! 17=0! 18=0! 19=0! 20=0!"_s;
    QTest::newRow("all off: the channels on, then the loop")
        << true << QList<int>{0, 0, 155, 0, 0, 0, 255} + QList<int>(13, 0) << u"3=0 7=0 "_s + loop;
    QTest::newRow("centre: the channels off their homes")
        << false << QList<int>{0, 19, 40, 19, 19} + homes.mid(5) << u"1=19 3=19 5=12"_s;
    QTest::newRow("centre with every channel home") << false << homes << QString();
}

void TestBatchPlayer::groupFrames()
{
    QFETCH(bool, allOff);
    QFETCH(QList<int>, values);
    ChannelTable table;
    table.setChannel(5, {"", 1, 255, 12});
    ChannelValues standing;
    std::ranges::copy(values, standing.begin());
    QStringList planned;
    for (const PlannedFrame &frame :
         allOff ? allOffFrames(standing) : centreAllFrames(standing, table))
        planned << u"%1=%2%3"_s.arg(frame.channel)
                       .arg(frame.value)
                       .arg(frame.offLoop ? u"!"_s : QString());
    QTEST(planned.join(u' '), "frames");
}

void TestBatchPlayer::plays_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<double>("untilMs"); // when Stop is pressed, if it still plays
    QTest::addColumn<QString>("sent");   // "ms:channel=value", as handed to the line
    QTest::addColumn<double>("doneMs");  // when the batch ended; -1 stopped
    QTest::addColumn<int>("mostWakes");
    QTest::newRow("frames a line time apart")
        << u"1=1 2=2\n20=255"_s << 100.0 << u"0.00:1=1 4.17:2=2 8.33:20=255"_s << 12.5 << 8;
    QTest::newRow("a wait counts from when the frames before it left the line")
        << u"1=1 2=2\nwait 10\n3=3"_s << 100.0 << u"0.00:1=1 4.17:2=2 18.33:3=3"_s << 22.5 << 8;
    QTest::newRow("a wait with nothing after it is held")
        << u"1=100\nwait 2000"_s << 3000.0 << u"0.00:1=100"_s << 2004.17 << 5;
    QTest::newRow("nested counted loops")
        << u"repeat 2\nrepeat 2\n1=1\nend\n2=2\nend"_s << 100.0
        << u"0.00:1=1 4.17:1=1 8.33:2=2 12.50:1=1 16.67:1=1 20.83:2=2"_s << 25.0 << 14;
    QTest::newRow("a loop of waits sleeps through them")
        << u"repeat 3\nwait 1000\nend"_s << 4000.0 << QString() << 3000.0 << 8;
    QTest::newRow("an hour's wait, endlessly, neither spins nor overflows")
        << u"repeat\nwait 3600000\nend"_s << 7'200'000.0 << QString() << -1.0 << 8;
    QTest::newRow("a move starts when the line is free and lasts its time")
        << u"1=10\nmove 1=14 2=3 in 30\n3=3"_s << 100.0
        << u"0.00:1=10 4.17:2=3 8.33:1=11 12.50:1=12 18.75:1=13 26.25:1=14 34.17:3=3"_s << 38.33
        << 16;
    QTest::newRow("a move of no time is a pose in the order written")
        << u"move 2=5 1=7 in 0\nmove 2=5 in 0"_s << 100.0 << u"0.00:2=5 4.17:1=7"_s << 8.33 << 8;
    QTest::newRow("Stop ends a move within a frame")
        << u"1=10\nmove 1=100 in 1000"_s << 30.0 << u"0.00:1=10 5.56:1=11 16.67:1=12 27.78:1=13"_s
        << -1.0 << 30;
    // Each frame lands as its glide reaches the next value; two wake-ups a frame, not 240 a second.
    QTest::newRow("a slow move sleeps until a frame is due")
        << u"1=10\nmove 1=13 in 3000"_s << 9000.0
        << u"0.00:1=10 500.00:1=11 1500.00:1=12 2500.00:1=13"_s << 3004.17 << 10;
    QTest::newRow("a pass that sends nothing waits a line time")
        << u"repeat\nmove 1=0 in 0\nend"_s << 1000.0 << QString() << -1.0 << 500;
}

void TestBatchPlayer::plays()
{
    QFETCH(QString, script);
    QFETCH(double, untilMs);
    QFETCH(QString, sent);
    QFETCH(double, doneMs);
    QFETCH(int, mostWakes);
    Board board;
    play(board, script, qint64(untilMs * 1e6), mostWakes);
    QCOMPARE(board.sent.join(u' '), sent);
    QCOMPARE(board.doneNs ? double(qRound64(double(*board.doneNs) / 1e4)) / 100 : -1.0, doneMs);
}

void TestBatchPlayer::lateWakes_data()
{
    QTest::addColumn<qint64>("lateNs");  // how late the timer wakes, every time
    QTest::addColumn<qint64>("stallNs"); // once, before the move: a suspend, Ctrl+Z
    for (const qint64 lateNs : {1'000'000, 2'000'000, 5'000'000})
        QTest::addRow("%lld ns late", lateNs) << lateNs << qint64(0);
    QTest::addRow("a 3 s stall once") << qint64(0) << qint64(3'000'000'000);
}
void TestBatchPlayer::lateWakes()
{
    QFETCH(qint64, lateNs);
    Board board;
    board.lateNs = lateNs;
    QFETCH(qint64, stallNs);
    board.stallOnceNs = stallNs;
    board.values.fill(10);
    play(board,
         u"1=10 2=10\nmove 1=250 2=250 3=250 4=250 5=250 6=250 7=250 8=250 9=250 10=250 11=250 "
         u"12=250 "
         u"13=250 14=250 15=250 16=250 17=250 18=250 19=250 20=250 in 1000"_s,
         10'000'000'000, 1000);
    // Every target exact, no channel thrown across its range (late wake-ups finish some early, a
    // stall must not), a line time between frames at least, and the last frame written by the
    // end of the move: on the board a line time after.
    QVERIFY(std::ranges::all_of(board.values, [](int value) { return value == 250; }));
    ChannelValues was;
    was.fill(10);
    for (const QString &frame : std::as_const(board.sent)) {
        const QStringList channelValue = frame.section(u':', 1).split(u'=');
        const int now = channelValue[1].toInt();
        int &value = was[std::size_t(channelValue[0].toInt() - 1)];
        QVERIFY2(std::abs(now - std::exchange(value, now)) <= 100, qPrintable(frame));
    }
    const qint64 moveStartNs = board.handedAt[1] + LineClock::frameNs;
    qint64 lastNs = -LineClock::frameNs;
    for (const qint64 atNs : board.handedAt)
        QVERIFY(atNs - std::exchange(lastNs, atNs) >= LineClock::frameNs);
    QVERIFY2(lastNs <= moveStartNs + 1'000'000'000, qPrintable(u"last at %1 ns"_s.arg(lastNs)));
}

QTEST_APPLESS_MAIN(TestBatchPlayer)
#include "TestBatchPlayer.moc"
