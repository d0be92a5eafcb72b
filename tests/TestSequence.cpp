// The motion editor's model: batch text read as rows and written back line by line, captures,
// playing from a row, and the plot and the comparison of what was sent with the plan.
#include "batch/BatchLines.h"
#include "sequence/KeyframeText.h"
#include "sequence/PlayFrom.h"
#include "sequence/SequencePlot.h"

#include <QTest>

using namespace pwm20;
using namespace Qt::StringLiterals;
using Kind = BatchStep::Kind;

namespace {

ChannelTable armSetup()
{
    ChannelTable table;
    table.setChannel(3, {.name = "shoulder", .min = 40, .max = 200});
    table.setChannel(5, {.name = "grip"});
    return table;
}

ChannelValues valuesOf(std::initializer_list<ChannelValue> set)
{
    ChannelValues values{};
    for (const ChannelValue &value : set)
        values[std::size_t(value.channel - 1)] = value.value;
    return values;
}

// "M3:2=50/500s W3 F5:2=30 R1>2 E3>0": kind, line, targets, time and curve, loop partner.
QString described(const std::vector<BatchStep> &steps)
{
    QStringList words;
    for (const BatchStep &step : steps) {
        QString word = QChar(u"FOCWREM"[int(step.kind)]) + QString::number(step.line);
        for (std::size_t index = 0; index < step.frames.size(); ++index)
            word += QChar(index ? u',' : u':') + QStringLiteral("%1=%2")
                                                     .arg(step.frames[index].channel)
                                                     .arg(step.frames[index].value);
        if (step.kind == Kind::Move)
            word += QStringLiteral("/%1%2").arg(step.amount).arg(step.smooth ? u"s"_s : QString());
        if (step.kind == Kind::Repeat || step.kind == Kind::End)
            word += QStringLiteral(">%1").arg(step.partner);
        words << word;
    }
    return words.join(u' ');
}

} // namespace

class TestSequence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRowsAndKeepsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QList<int>>("channels");
        QTest::newRow("every kind of line")
            << "1=20 grip=30\r\n\twait 500\r\nMOVE shoulder=250 in 800 smooth # out of bounds\n"
               "S 4 100 E\nrepeat 2\nmove 1=5 in 0\nend\n\n# note\nbogus"
            << "KTKTTKTTTT" << QList<int>{1, 3, 5};
        QTest::newRow("ends of every kind, none at the close")
            << u"2=40\u20283=50\u2029\r4=60"_s << "KKTK" << QList<int>{2, 3, 4};
        QTest::newRow("a bad pair is text") << "1=20 x\nmove 1=2 in"
                                            << "TT" << QList<int>{};
        QTest::newRow("empty") << ""
                               << "T" << QList<int>{};
    }
    void readsRowsAndKeepsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, kinds);
        QFETCH(QList<int>, channels);
        const QByteArray utf8 = text.toUtf8();
        const MotionSequence sequence = MotionSequence::read(utf8.toStdString(), armSetup());
        QString read;
        std::string back;
        const std::vector<TextLine> lines = splitLines(utf8.toStdString());
        QCOMPARE(sequence.rows().size(), lines.size());
        for (std::size_t index = 0; index < lines.size(); ++index) {
            const SequenceRow &row = sequence.rows()[index];
            QCOMPARE(row.line, int(index + 1));
            read += row.kind == SequenceRow::Kind::Keyframe ? u'K' : u'T';
            back += row.text + std::string(lines[index].end);
        }
        QCOMPARE(read, kinds);
        QCOMPARE(QByteArray::fromStdString(back), utf8);
        QCOMPARE(QList<int>(sequence.channels().begin(), sequence.channels().end()), channels);
    }

    // Each edit writes only its own line: indent, comment and the words naming channels stay.
    void editsWriteTheirLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("edit"); // "3=100", "3=" clears, "t250", "curve0..2", ""
        QTest::addColumn<QString>("written");
        const QString lift = u"  move shoulder=40 1=90 in 800 smooth  # lift"_s;
        QTest::newRow("unedited") << lift << "" << lift;
        QTest::newRow("a value") << lift << "1=100"
                                 << "  move shoulder=40 1=100 in 800 smooth  # lift";
        QTest::newRow("a channel added by name")
            << lift << "5=30"
            << "  move shoulder=40 1=90 grip=30 in 800 smooth  # lift";
        QTest::newRow("a channel cleared") << lift << "3="
                                           << "  move 1=90 in 800 smooth  # lift";
        QTest::newRow("the last channel stays") << "2=7"
                                                << "2="
                                                << "2=7";
        QTest::newRow("pose to smooth") << "1=20 2=30"
                                        << "curve2"
                                        << "move 1=20 2=30 in 500 smooth";
        QTest::newRow("move to pose") << "MOVE 1=20 IN 300	#c"
                                      << "curve0"
                                      << "1=20	#c";
        QTest::newRow("pose given a time") << "1=20"
                                           << "t250"
                                           << "move 1=20 in 250";
        QTest::newRow("smooth to linear") << "move 1=20 in 300 smooth"
                                          << "curve1"
                                          << "move 1=20 in 300";
    }
    void editsWriteTheirLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, edit);
        QFETCH(QString, written);
        const ChannelTable setup = armSetup();
        SequenceRow row = MotionSequence::read(line.toStdString(), setup).rows().front();
        QCOMPARE(row.kind, SequenceRow::Kind::Keyframe);
        bool changed = true;
        if (edit.startsWith(u"curve"_s))
            setCurve(row, Curve(edit.back().digitValue()));
        else if (edit.startsWith(u't'))
            setDuration(row, edit.mid(1).toInt());
        else if (edit.contains(u'='))
            changed = setTarget(row, edit.section(u'=', 0, 0).toInt(),
                                edit.endsWith(u'=') ? std::nullopt
                                                    : std::optional(edit.section(u'=', 1).toInt()));
        QCOMPARE(changed, line != written || edit.isEmpty());
        QCOMPARE(QString::fromStdString(keyframeLine(row, setup)), written);
    }

    // A capture takes every channel that is on and not where the sequence holds it before the
    // row; an update keeps the keyframe's own channels (the written value where one is now off).
    void capturesWhatDiffers_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("captured");
        QTest::addColumn<QString>("updated"); // row 1's keyframe
        QTest::newRow("nothing before") << 0 << "move 1=30 2=50 shoulder=60 in 500 smooth"
                                        << "move shoulder=60 2=50 1=30 in 500 # c";
        QTest::newRow("after a move") << 1 << "move 1=30 shoulder=60 in 500 smooth"
                                      << "";
        QTest::newRow("after off") << 3 << "move 1=30 2=50 shoulder=60 in 500 smooth"
                                   << "";
        QTest::newRow("after a pose") << 4 << "move 2=50 shoulder=60 in 500 smooth"
                                      << "";
        QTest::newRow("after a loop and a frame") << 7 << "move shoulder=60 in 500 smooth"
                                                  << "";
        QTest::newRow("after centre: homes") << 9 << "move 1=30 2=50 shoulder=60 in 500 smooth"
                                             << "";
    }
    void capturesWhatDiffers()
    {
        QFETCH(int, row);
        QFETCH(QString, captured);
        QFETCH(QString, updated);
        const ChannelTable setup = armSetup();
        const MotionSequence sequence =
            MotionSequence::read("move shoulder=40 2=50 in 500 # c\nwait 9\noff\n1=30\nrepeat 2\n"
                                 "2=50\nS 1 30 E\nend\ncentre",
                                 setup);
        const ChannelValues now = valuesOf({{1, 30}, {2, 50}, {3, 60}});
        const std::optional<std::string> line =
            captureLine(now, sequence.poseBefore(std::size_t(row)), setup);
        QCOMPARE(QString::fromStdString(line.value_or("")), captured);
        if (!updated.isEmpty())
            QCOMPARE(QString::fromStdString(
                         keyframeLine(updatedPose(sequence.rows()[0], valuesOf({{1, 30}, {3, 60}}),
                                                  sequence.poseBefore(0)),
                                      setup)),
                     updated);
        QVERIFY(!captureLine(valuesOf({{1, 30}}), sequence.poseBefore(5), setup));
    }

    // Playing from a row: the pose held there first (offs, then one glide), then the steps on.
    void playsFromARow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("played");
        QTest::addColumn<QString>("looped");
        QTest::newRow("glides to the pose held")
            << "1=20\nmove 2=50 3=60 in 300\nwait 100" << 3 << "M0:2=50,3=60/500s W3"
            << "R0>3 M0:2=50,3=60/500s W3 E3>0";
        QTest::newRow("from a move")
            << "move 2=40 in 300\nmove 2=50 in 300" << 2 << "M0:2=40/500s M2:2=50/300"
            << "";
        QTest::newRow("rest of a loop once")
            << "repeat 3\n1=20\nwait 100\nend\n1=30" << 3 << "W3 F5:1=30"
            << "";
        QTest::newRow("a whole loop") << "# c\nrepeat 2\n1=20\nend" << 1 << "R2>2 F3:1=20 E4>0"
                                      << "R2>4 R2>3 F3:1=20 E4>1 E4>0";
        QTest::newRow("first line of a loop body") << "repeat 2\n1=20\nend" << 2 << "F2:1=20"
                                                   << "R2>2 F2:1=20 E2>0";
        QTest::newRow("held off") << "1=20\noff\n2=30" << 3 << "F0:1=0 F3:2=30"
                                  << "";
        QTest::newRow("from a comment") << "1=20\n# c\n2=30" << 2 << "F3:2=30"
                                        << "";
        QTest::newRow("past the end") << "1=20\n\n"
                                      << 3 << ""
                                      << "";
    }
    void playsFromARow()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, played);
        const ChannelTable setup = armSetup();
        const MotionSequence sequence = MotionSequence::read(text.toStdString(), setup);
        const BatchScript script = parseBatch(text.toStdString(), setup);
        QVERIFY(!script.error);
        const std::vector<BatchStep> steps = stepsFrom(
            script.steps, line, sequence.poseBefore(std::size_t(line - 1)), valuesOf({{1, 20}}));
        QCOMPARE(described(steps), played);
        QFETCH(QString, looped);
        if (!looped.isEmpty())
            QCOMPARE(described(loopedSteps(steps)), looped);
    }

    // The plot on a free line at 9600 baud, a frame landing 4.166666 ms after it is handed over.
    void plotsThePlan_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("spans");
        QTest::addColumn<QString>("ideal");
        QTest::addColumn<int>("frames");
        QTest::newRow("as written") << 0 << "1:0.00-4.17 2:4.17-104.17 3:104.17-154.17"
                                    << "0.00:0 0.00:0 0.00:20 4.17:20 104.17:40 154.17:40" << 21;
        QTest::newRow("stretched by a speed limit")
            << 100 << "1:0.00-4.17 2:4.17-204.17! 3:204.17-254.17"
            << "0.00:0 0.00:0 0.00:20 4.17:20 104.17:40 254.17:40" << 21;
    }
    void plotsThePlan()
    {
        QFETCH(int, speed);
        ChannelTable setup;
        ChannelTable::Channel limited;
        limited.speed = speed;
        setup.setChannel(1, limited);
        const BatchScript script = parseBatch("1=20\nmove 1=40 in 100\nwait 50\n# end");
        const BatchPlan plan = planBatch(script.steps, setup, {}, 1'000'000'000);
        const SequencePlot plot = sequencePlot(script.steps, plan, setup, {});
        QStringList spans;
        for (const StepSpan &span : plot.spans)
            spans << QStringLiteral("%1:%2-%3%4")
                         .arg(span.line)
                         .arg(span.startMs, 0, 'f', 2)
                         .arg(span.endMs, 0, 'f', 2)
                         .arg(span.stretched ? u"!"_s : QString());
        QTEST(spans.join(u' '), "spans");
        QCOMPARE(plot.channels.size(), 1u);
        const ChannelCurves &curves = plot.channels.front();
        QStringList ideal;
        for (const PlotPoint &point : curves.ideal)
            ideal << QStringLiteral("%1:%2").arg(point.ms, 0, 'f', 2).arg(point.value);
        QTEST(ideal.join(u' '), "ideal");
        QTEST(int(curves.planned.size()), "frames");
        QCOMPARE(curves.planned.back().value, 40.0);
        QCOMPARE(curves.keyframes, (std::vector<PlotPoint>{{0, 20}, {104.166666, 40}}));
        QCOMPARE(plot.spanOf(4), nullptr);
        // Steps sharing a line (a lead-in) each take their own start; a move from off jumps.
        BatchScript shared = parseBatch("1=10\n1=20\nmove 2=40 in 100");
        shared.steps[1].line = 1;
        const SequencePlot sharing = sequencePlot(
            shared.steps, planBatch(shared.steps, setup, {}, 1'000'000'000), setup, {});
        QCOMPARE(sharing.channels[0].ideal.back().value, 20.0);
        const std::vector<PlotPoint> &fromOff = sharing.channels[1].ideal;
        QCOMPARE(std::tuple(fromOff[1].value, fromOff[2].value, fromOff[2].ms - fromOff[1].ms),
                 std::tuple(0.0, 40.0, 0.0));
        // `off` and `centre` reach every channel; the plot keeps to those the steps name.
        for (const auto &[text, shown] : {std::pair{"centre\n2=30\noff", 1}, {"centre", 20}}) {
            const BatchScript others = parseBatch(text);
            QCOMPARE(sequencePlot(others.steps, planBatch(others.steps, setup, {}, 1'000'000'000),
                                  setup, {})
                         .channels.size(),
                     std::size_t(shown));
        }
    }

    void comparesSentWithPlan_data()
    {
        QTest::addColumn<QList<qint64>>("sent");    // microseconds and value, in pairs
        QTest::addColumn<QList<qint64>>("largest"); // difference, microseconds; none when empty
        QTest::newRow("as planned")
            << QList<qint64>{10'000, 20, 20'000, 30} << QList<qint64>{0, 10'000};
        QTest::newRow("late, and early within the give")
            << QList<qint64>{10'400, 20, 19'600, 30, 25'000, 30} << QList<qint64>{0, 10'400};
        QTest::newRow("too early")
            << QList<qint64>{9'000, 20, 20'000, 30} << QList<qint64>{20, 9'000};
        QTest::newRow("a wrong value")
            << QList<qint64>{10'000, 20, 20'000, 33} << QList<qint64>{3, 20'000};
        QTest::newRow("nothing sent") << QList<qint64>{} << QList<qint64>{};
    }
    void comparesSentWithPlan()
    {
        QFETCH(QList<qint64>, sent);
        QFETCH(QList<qint64>, largest);
        BatchPlan plan;
        plan.frames = {{10'000'000, {2, 20}}, {20'000'000, {2, 30}}, {15'000'000, {3, 9}}};
        std::sort(plan.frames.begin(), plan.frames.end(),
                  [](auto &a, auto &b) { return a.arrivalNs < b.arrivalNs; });
        std::vector<SentFrame> frames;
        for (qsizetype at = 0; at < sent.size(); at += 2)
            frames.push_back({sent[at] * 1000, 2, int(sent[at + 1])});
        const std::optional<PlanDifference> found = largestDifference(plan, {}, frames);
        QCOMPARE(found.has_value(), !largest.isEmpty());
        if (found)
            QCOMPARE(*found, (PlanDifference{int(largest[0]), largest[1] * 1000, 2}));
    }
};

QTEST_GUILESS_MAIN(TestSequence)
#include "TestSequence.moc"
