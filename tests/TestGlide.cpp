// Moves played on a simulated board that takes each frame one slot after it is written: the
// error against the glide when each frame lands and just before, when the last one lands, and
// the rules every frame keeps.
#include "motion/Glide.h"

#include <QRegularExpression>
#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;

class TestGlide : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moves_data();
    void moves();
};

void TestGlide::moves_data()
{
    // A move, "channel:start>target" in the order written; frames expected in a row among those
    // played, "slot:channel=value", where "h" marks a frame written by hand in that slot; and the
    // largest error allowed: S / (240 t) + 2 for equal travel, twice that otherwise, times pi / 2
    // when smooth (0: not measured, as for a move with no time to glide in).
    QTest::addColumn<QString>("move");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<double>("bound");
    const auto row = [](const char *name, const QString &move, const char *frames, double bound) {
        QTest::newRow(name) << move << QString::fromLatin1(frames) << bound;
    };
    QString twenty;
    for (int channel = 1; channel <= 20; ++channel)
        twenty += u"%1:10>250 "_s.arg(channel);
    row("2 channels", u"1:40>200 2:200>40 in 600"_s, "0:1=41 1:2=198", 4.23);
    row("20 channels", twenty + u"in 1000"_s, "0:1=11 1:2=12 2:3=13", 22);
    row("unequal, one off", u"1:250>230 2:20>250 3:20>10 4:50>200 5:150>130 6:0>15 in 1000"_s,
        "0:6=15", 5.71);
    row("smooth", u"1:20>220 2:220>20 3:120>220 in 800 smooth"_s, "6:1=21 7:2=219 8:3=121", 10.19);
    row("short, one fast", u"1:10>20 2:50>45 3:50>200 4:150>160 5:150>155 in 100"_s,
        "0:2=45 1:3=62 2:5=155", 17);
    row("by hand", u"1:10>250 2:10>250 in 1000"_s, "100:h1=20 101:h2=255 102:2=113 103:1=114", 0);
    row("one step", u"1:100>101 in 1000"_s, "120:1=101", 2.005);
    // Off is no position: nothing glides through the values below a servo's limits to reach it.
    row("switched off", u"1:100>0 2:10>20 in 500"_s, "0:1=0", 0);
    // A channel listed twice keeps its later target and place.
    row("pose", u"3:100>50 1:100>100 2:7>9 3:100>60 in 0"_s, "0:2=9 1:3=60", 0);
    row("too short", u"1:100>110 2:100>150 3:100>120 4:100>90 5:100>200 in 10"_s,
        "0:5=200 1:2=150 2:3=120 3:1=110 4:4=90", 0);
    row("20 smooth, short", twenty + u"in 100 smooth"_s, "4:5=35 5:6=250", 0);
}

void TestGlide::moves()
{
    QFETCH(QString, move);
    QFETCH(QString, frames);
    QFETCH(double, bound);
    const QStringList n = move.split(QRegularExpression(u"\\D+"_s), Qt::SkipEmptyParts);
    const std::int64_t frameNs = 4'166'666, durationNs = n.last().toInt() * 1'000'000LL;
    std::vector<int> board(20), sent(20), target(20);
    std::vector<GlideChannel> targets;
    for (qsizetype at = 0; at + 1 < n.size(); at += 3) {
        const int c = n[at].toInt() - 1;
        board[c] = sent[c] = n[at + 1].toInt();
        targets.push_back({c + 1, target[c] = n[at + 2].toInt()});
    }
    Glide glide(targets, board, durationNs, MoveShape{move.endsWith(u"smooth")}, frameNs);
    QString played;
    double error = 0;
    ChannelValue frame; // on its way to the board; channel 0: none
    int slot = 0;
    for (; slot < 2000 && (frame.channel || !glide.finished(board)); ++slot) {
        // A channel's error between two of its frames is largest at either end, as its glide
        // moves one way; an off channel (0) has no position.
        if (const int c = frame.channel - 1; c >= 0) {
            const double ideal = glide.ideal(c + 1, slot * frameNs);
            error = std::max(
                {error, board[c] ? std::abs(board[c] - ideal) : 0, std::abs(frame.value - ideal)});
            board[c] = frame.value;
        }
        const auto hand = QRegularExpression(u"(^| )%1:h(\\d+)=(\\d+)"_s.arg(slot)).match(frames);
        frame = hand.hasMatch()
                    ? ChannelValue{hand.captured(2).toInt(), hand.captured(3).toInt()}
                    : glide.nextFrame(slot * frameNs, board, frameNs).value_or(ChannelValue());
        if (const int c = frame.channel - 1, v = frame.value; c >= 0) {
            played +=
                u" %1:%2%3=%4"_s.arg(slot).arg(hand.hasMatch() ? u"h"_s : u""_s).arg(c + 1).arg(v);
            // Never the value held, never back, never past the target.
            QVERIFY2(hand.hasMatch() || (v != board[c] && (v - sent[c]) * (target[c] - v) >= 0),
                     qPrintable(played));
            sent[c] = hand.hasMatch() ? sent[c] : v;
        }
    }
    for (const GlideChannel &t : targets)
        QCOMPARE(board[t.channel - 1], target[t.channel - 1]);
    QVERIFY2(bound == 0 || error <= bound, qPrintable(u"error %1"_s.arg(error)));
    // On the board by t plus one frame, or, with more channels than slots, a frame each; a frame
    // by hand takes a slot.
    const qsizetype landed = slot - 1 - played.count(u'h');
    QVERIFY(landed * frameNs <= durationNs + frameNs || landed <= qsizetype(targets.size()));
    QVERIFY2((played + u' ').contains(u' ' + frames + u' '), qPrintable(played));
}

QTEST_APPLESS_MAIN(TestGlide)
#include "TestGlide.moc"
