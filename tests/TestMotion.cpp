// Channels with a speed or acceleration limit: one ramp, the time a move needs, the frames of
// random batches, planned and played on a timer that wakes late, and of changes by hand, against
// every promise made to such channels.
#include "batch/BatchPlan.h"
#include "batch/BatchPlayer.h"
#include "serial/LineClock.h"
#include "support/HandClock.h"

#include <QTest>

#include <algorithm>
#include <optional>
#include <random>

using namespace pwm20;
using namespace Qt::StringLiterals;
using Kind = BatchStep::Kind;

namespace {

// The board's end of the line on a hand-turned clock, and a player on it whose alarm rings up to
// `jitterNs` late.
struct Rig final : testing::HandClock, BatchOutput
{
    struct Ringer final : Alarm
    {
        Rig &rig;
        explicit Ringer(Rig &owner) : rig(owner) {}
        void startIn(qint64 ns) override
        {
            rig.alarmAt = rig.now + std::max<qint64>(ns, 0) +
                          std::uniform_int_distribution<qint64>(0, rig.jitterNs)(rig.random);
        }
        void stop() override { rig.alarmAt.reset(); }
        void fire() const { ring(); }
    };

    Rig(const ChannelTable &table, qint64 late)
        : jitterNs(late), player(*this, line, table, std::unique_ptr<Alarm>(ringer))
    {}
    ChannelValues channelValues() const override { return values; }
    void showTarget(int channel, int value) override { shown[std::size_t(channel - 1)] = value; }
    void send(const PlannedFrame &frame) override
    {
        values[std::size_t(frame.channel - 1)] = frame.value;
        line.bytesHanded(4);
        frames.push_back({line.freeAtNs(), frame});
    }
    // Rings the alarm until nothing is left to do or the next ring is after `untilNs`.
    void runUntil(qint64 untilNs)
    {
        while (alarmAt && *alarmAt <= untilNs) {
            now = std::max(now, *std::exchange(alarmAt, std::nullopt));
            ringer->fire();
        }
        now = std::max(now, untilNs);
    }

    qint64 jitterNs = 0;
    std::mt19937 random{7};
    std::optional<qint64> alarmAt;
    LineClock line{*this};
    ChannelValues values{};
    ChannelValues shown{};
    std::vector<PlanFrame> frames;      // when each lands
    Ringer *ringer = new Ringer(*this); // the player's
    BatchPlayer player;
};

// Five channels with random limits (none, speed, speed and accel, accel) and a batch for them.
std::pair<ChannelTable, std::string> randomCase(unsigned seed)
{
    std::mt19937 random(seed);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    ChannelTable table;
    for (int c = 1; c <= 5; ++c) {
        const int min = pick(1, 60), max = pick(min + 60, 255), kind = pick(0, 3);
        table.setChannel(c,
                         {"", min, max, pick(min, max), kind == 1 || kind == 2 ? pick(20, 1000) : 0,
                          kind >= 2 ? pick(50, 2000) : 0});
    }
    std::string text = "centre\n";
    for (int line = pick(3, 9); line > 0; --line) {
        std::array<int, 5> channels{1, 2, 3, 4, 5};
        std::ranges::shuffle(channels, random);
        std::string pose;
        for (int at = pick(0, 4); at >= 0; --at) {
            const ChannelTable::Channel &limits = table.channel(channels[at]);
            const int value = pick(0, 9) ? pick(limits.min, limits.max) : 0;
            pose += std::to_string(channels[at]) + '=' + std::to_string(value) + ' ';
        }
        const int kind = pick(0, 9);
        const std::string ms = std::to_string(pick(0, 1) ? pick(0, 1500) : pick(0, 100));
        text += (kind == 0   ? "centre"
                 : kind == 1 ? "off"
                 : kind == 2 ? "wait " + ms
                 : kind > 6  ? pose
                             : "move " + pose + "in " + ms + (pick(0, 1) ? " smooth" : "")) +
                '\n';
    }
    return {table, text};
}

// What the frames break, empty when nothing: values within limits or off; on a channel with
// limits no value twice in a row, and between any two frames while it is on no more change than
// speed × the time between their arrivals, plus one for rounding; a move's channels on their
// targets before a later line sends.
QString broken(const BatchPlan &plan, const ChannelTable &table,
               const std::vector<BatchStep> &steps)
{
    ChannelValues held{};
    // Per channel since it came on: the least value - speed × time, the most value + speed × time.
    std::array<std::pair<double, double>, ChannelTable::channelCount> bounds{};
    auto move = steps.begin();
    for (const PlanFrame &f : plan.frames) {
        for (; move != steps.end() && move->line < f.frame.line; ++move)
            for (const ChannelValue &target : move->frames)
                if (move->kind == Kind::Move &&
                    held[std::size_t(target.channel - 1)] != target.value)
                    return u"line %1 left %2 off its target"_s.arg(move->line).arg(target.channel);
        const int c = f.frame.channel, value = f.frame.value;
        const ChannelTable::Channel &limits = table.channel(c);
        const double t = double(f.arrivalNs) / 1e9, v = limits.speed;
        int &was = held[std::size_t(c - 1)];
        auto &[lo, hi] = bounds[std::size_t(c - 1)];
        const bool on = value != 0 && was != 0, limited = limits.speed > 0 || limits.accel > 0;
        if (!table.accepts(c, value) || (limited && on && value == was) ||
            (v > 0 && on && (value - v * t - lo > 1 + 1e-9 || hi - value - v * t > 1 + 1e-9)))
            return u"at %1 ms %2=%3 after %4"_s.arg(t * 1e3).arg(c).arg(value).arg(was);
        lo = was == 0 ? value - v * t : std::min(lo, value - v * t);
        hi = was == 0 ? value + v * t : std::max(hi, value + v * t);
        was = value;
    }
    return {};
}

} // namespace

class TestMotion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ramp_data();
    void ramp();
    void moveTiming_data();
    void moveTiming();
    void randomBatches();
    void handRamp_data();
    void handRamp();
    void handAndBatch();
    void stopPoseRamps();
};

void TestMotion::ramp_data()
{
    QTest::addColumn<QList<double>>("ramp"); // from, velocity, target, speed, accel; seconds
    QTest::newRow("speed only") << QList<double>{110, 0, 10, 50, 0, 2};
    QTest::newRow("trapezoid: 2 s up, 3 cruising, 2 down") << QList<double>{0, 0, 100, 20, 10, 7};
    QTest::newRow("triangle") << QList<double>{0, 0, 10, 20, 10, 2};
    QTest::newRow("too fast: on to 20 in 2 s, back in 2") << QList<double>{0, 20, 10, 20, 10, 4};
    QTest::newRow("moving away: back to 45 first") << QList<double>{50, -10, 100, 20, 10, 5.75};
    QTest::newRow("accel only") << QList<double>{0, 0, 100, 0, 100, 2};
}

void TestMotion::ramp()
{
    QFETCH(QList<double>, ramp);
    const double from = ramp[0], velocity = ramp[1], target = ramp[2], v = ramp[3], a = ramp[4];
    const double seconds = ramp[5], top = v > 0 ? v : a * seconds, dt = seconds / 1000;
    const Ramp r(from, velocity, target, v, a);
    QVERIFY2(std::abs(r.duration() - seconds) < 1e-9, qPrintable(QString::number(r.duration())));
    QVERIFY(r.position(seconds) == target && r.position(seconds + 1) == target);
    for (double t = 0; t <= seconds; t += dt) {
        QVERIFY(std::abs(r.velocity(t)) <= top + 1e-9);
        QVERIFY(std::abs(r.position(t + dt) - r.position(t)) <= top * dt + 1e-9);
        // From how it moved at the start and to rest at the end, no faster change than `a`.
        QVERIFY(a == 0 || std::abs(r.velocity(t + dt) - r.velocity(t)) <= a * dt + 1e-9);
        QVERIFY(a == 0 || std::abs(r.position(t) - from - velocity * t) <= a * t * t / 2 + 1e-9);
        QVERIFY(a == 0 || std::abs(r.position(seconds - t) - target) <= a * t * t / 2 + 1e-9);
    }
}

void TestMotion::moveTiming_data()
{
    QTest::addColumn<QList<int>>("travels"); // channel, travel, speed, accel; ...
    QTest::addColumn<int>("askedMs");
    QTest::addColumn<bool>("smooth");
    // ms, the channel holding it back and how (1 speed, 2 accel), ramp fraction to 4 places.
    QTest::addColumn<QList<double>>("expected");
    const auto row = [](const char *name, QList<int> travels, int askedMs, bool smooth,
                        QList<double> expected) {
        QTest::newRow(name) << travels << askedMs << smooth << expected;
    };
    const QList<int> speed{4, 30, 0, 0, 1, 100, 40, 0, 3, 60, 100, 0};
    row("speed, linear", speed, 1000, false, {2500, 1, 1, 0});
    row("speed, smooth: pi/2 times", speed, 1000, true, {3927, 1, 1, 0});
    row("speed, never refused", speed, 0, false, {2500, 1, 1, 0});
    row("speed, time enough", speed, 3000, false, {3000, 0, 0, 0});
    row("no limits", {}, 700, true, {700, 0, 0, 0});
    row("accel, linear: 2 sqrt(1)", {2, 100, 0, 100}, 500, false, {2000, 2, 2, 0.5});
    row("accel, smooth: pi sqrt(1/2)", {2, 100, 0, 100}, 500, true, {2222, 2, 2, 0});
    // d / v + v / a when d > v² / a, v / a of it (2 of 7 s) on each ramp; in 8 s r (1 - r) 64 = 10.
    row("trapezoid", {3, 100, 20, 10}, 1000, false, {7000, 3, 2, 0.2857});
    row("trapezoid, time enough", {3, 100, 20, 10}, 8000, false, {8000, 0, 0, 0.1938});
    row("triangle", {3, 10, 20, 10}, 1000, false, {2000, 3, 2, 0.5});
    // (1 - r) T = 2 and r (1 - r) T² = 1/4: T = 2.125, r = 0.125 / 2.125.
    row("speed of one, accel of another", {1, 100, 50, 0, 2, 100, 0, 400}, 1000, false,
        {2125, 1, 1, 0.0588});
}

void TestMotion::moveTiming()
{
    QFETCH(QList<int>, travels);
    QFETCH(int, askedMs);
    QFETCH(bool, smooth);
    QFETCH(QList<double>, expected);
    std::vector<MoveTravel> moves;
    for (qsizetype at = 0; at + 3 < travels.size(); at += 4)
        moves.push_back({travels[at], double(travels[at + 1]), travels[at + 2], travels[at + 3]});
    const MoveTiming timing = timeMove(moves, askedMs * 1'000'000LL, smooth);
    const QList<double> got{double(timing.durationNs) / 1e6, double(timing.channel),
                            double(timing.limit),
                            std::round(timing.shape.rampFraction * 1e4) / 1e4};
    QCOMPARE(got, expected);
    // Every channel keeps its limits on the shape in the time taken.
    const double h = double(timing.durationNs) / 1e9 / 2000;
    for (const MoveTravel &m : moves) {
        const auto at = [&](int k) { return m.travel * timing.shape.progress(k / 2000.0); };
        for (int i = 1; i < 2000; ++i)
            QVERIFY((m.speed == 0 || at(i + 1) - at(i) <= m.speed * h * (1 + 1e-6)) &&
                    (m.accel == 0 ||
                     std::abs(at(i + 1) - 2 * at(i) + at(i - 1)) <= m.accel * h * h * (1 + 1e-3)));
    }
}

void TestMotion::randomBatches()
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const auto [table, text] = randomCase(seed);
        const BatchScript script = parseBatch(text, table);
        const BatchPlan plan = planBatch(script.steps, table, {}, 600'000'000'000);
        const QString where = u"\nseed %1:\n"_s.arg(seed) + QString::fromStdString(text);
        const QString fault = broken(plan, table, script.steps);
        QVERIFY2(!script.error && !plan.cut && fault.isEmpty(), qPrintable(fault + where));
        // Played on a timer that wakes up to 0.4 ms late: the frames planned, within 1 ms.
        Rig rig(table, 400'000);
        rig.player.start(script.steps);
        rig.runUntil(600'000'000'000);
        const auto same = [](const PlanFrame &a, const PlanFrame &b) {
            return a.frame == b.frame && std::abs(a.arrivalNs - b.arrivalNs) <= 1'000'000;
        };
        QVERIFY2(std::ranges::equal(rig.frames, plan.frames, same), qPrintable(where));
        // Every channel ends where the last step that sets it asked.
        ChannelValues asked{};
        for (const BatchStep &step : script.steps) {
            for (int c = 1; c <= 20 && step.kind >= Kind::Off && step.kind <= Kind::Centre; ++c)
                asked[std::size_t(c - 1)] = step.kind == Kind::Off ? 0 : table.channel(c).home;
            for (const ChannelValue &target : step.frames)
                asked[std::size_t(target.channel - 1)] = target.value;
        }
        QVERIFY2(rig.values == asked, qPrintable(where));
    }
}

void TestMotion::handRamp_data()
{
    QTest::addColumn<int>("accel");
    QTest::newRow("speed only: turns at once") << 0;
    QTest::newRow("speed and accel: slows down, then turns") << 200;
}

void TestMotion::handRamp()
{
    QFETCH(int, accel);
    ChannelTable table;
    table.setChannel(1, {"", 10, 200, 19, 100, accel});
    Rig rig(table, 0);
    rig.values = {50, 30};
    // A move played to its end earlier, and channel 2 set by hand since: that move is over.
    rig.player.start(parseBatch("move 2=60 in 100").steps);
    const qint64 askedNs = 5'000'000'000;
    rig.runUntil(askedNs);
    rig.values[1] = 40;
    rig.frames.clear();
    QVERIFY(rig.player.moveByHand(1, 150));
    rig.runUntil(askedNs + 500'000'000);
    // Until the second change, the value of a ramp from rest on 50 when asked, at the moment
    // each frame lands: so the first frame too is within 100 × the time since asked, + 1.
    const Ramp ramp(50, 0, 150, 100, accel);
    for (const auto &[arrivalNs, frame] : rig.frames)
        QVERIFY(frame.channel == 1 &&
                std::abs(frame.value - ramp.position(double(arrivalNs - askedNs) / 1e9)) <= 0.5);
    QVERIFY(rig.player.moveByHand(1, 20));
    rig.runUntil(askedNs + 10'000'000'000);
    QCOMPARE(rig.values, (ChannelValues{20, 40}));
    QVERIFY2(broken({rig.frames, {}, false, {}}, table, {}).isEmpty(),
             qPrintable(broken({rig.frames, {}, false, {}}, table, {})));
}

void TestMotion::handAndBatch()
{
    ChannelTable table;
    table.setChannel(1, {"", 26, 200, 26, 300, 0});
    table.setChannel(2, {"", 10, 200, 19, 1, 0});
    // A ramp asked behind a frame of its own channel still on the line starts once it lands.
    const BatchPlan plan =
        planBatch(parseBatch("1=47 3=0 1=38").steps, table, {0, 0, 37}, 1'000'000'000);
    QVERIFY2(broken(plan, table, {}).isEmpty(), qPrintable(broken(plan, table, {})));
    // A slow ramp by hand holds up no batch, and a batch's wait holds up no ramp by hand.
    Rig rig(table, 0);
    rig.values = {100, 100};
    QVERIFY(rig.player.moveByHand(2, 130));
    rig.player.start(parseBatch("3=50\nwait 5000\n3=60").steps);
    rig.runUntil(100'000'000);
    QCOMPARE(rig.values[2], 50);
    QVERIFY(rig.player.moveByHand(1, 150));
    rig.runUntil(200'000'000);
    QVERIFY2(rig.values[0] >= 125, qPrintable(QString::number(rig.values[0])));
    QVERIFY(broken({rig.frames, {}, false, {}}, table, {}).isEmpty());
    // Cut short (the port closed), a ramp is shown where it stopped.
    rig.player.stop();
    QCOMPARE(rig.shown[0], rig.values[0]);
}

void TestMotion::stopPoseRamps()
{
    ChannelTable table;
    table.setChannel(1, {"", 10, 200, 19, 100, 0});
    table.setStopPose(ChannelTable::StopPose::Home);
    Rig rig(table, 0);
    rig.values = {50};
    rig.player.start(parseBatch("1=100\nwait 5000").steps);
    rig.runUntil(1'000'000'000);
    // Stopped in the wait: home at 100 a second, 0.81 s, and the batch is over only then.
    QVERIFY(rig.player.interrupt());
    rig.runUntil(1'700'000'000);
    QVERIFY(rig.player.isRunning() && rig.values[0] > 19);
    rig.runUntil(3'000'000'000);
    QVERIFY(!rig.player.isRunning() && rig.values[0] == 19);
    QVERIFY(broken({rig.frames, {}, false, {}}, table, {}).isEmpty());
}

QTEST_APPLESS_MAIN(TestMotion)
#include "TestMotion.moc"
