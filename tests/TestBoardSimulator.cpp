// How the board simulator reads the line: frames however the reads split them, and each frame's
// time as far as a pseudo-terminal tells it, from the reads that brought it.
#include "FrameReader.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestBoardSimulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data();
    void reading();
};

void TestBoardSimulator::reading_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QList<int>>("readAtMs");
    QTest::addColumn<QString>("events");

    QTest::newRow("split frames, stamped by the read that ends them")
        << QByteArrayList{"S\x01\x0a"
                          "ES",
                          "\x02\x14"
                          "E",
                          "S\x03\x1e"
                          "E"}
        << QList{0, 4, 9} << u"1=10, 2=20 +4ms, 3=30 +5ms"_s;
    QTest::newRow("one read of three frames is still three")
        << QByteArrayList{"S\x01\x0a"
                          "ES\x02\x14"
                          "ES\x03\x1e"
                          "E"}
        << QList{0} << u"1=10, 2=20 same read, 3=30 same read"_s;
    QTest::newRow("a backlog after a pause")
        << QByteArrayList{"S\x01\x0a"
                          "E",
                          "S\x02\x14"
                          "ES\x03\x1e"
                          "E"}
        << QList{0, 12} << u"1=10, 2=20 +12ms, 3=30 same read"_s;
    QTest::newRow("garbage between frames leaves their time alone")
        << QByteArrayList{"S\x01\x0a"
                          "E",
                          "zz",
                          "S\x02\x14"
                          "E"}
        << QList{0, 2, 7} << u"1=10, garbage 2, 2=20 +7ms"_s;
    QTest::newRow("a frame starts inside a broken one") << QByteArrayList{"xxS\x01S\x02\x14"
                                                                          "E"}
                                                        << QList{0} << u"garbage 4, 2=20"_s;
    QTest::newRow("channels 1 to 20 only") << QByteArrayList{"S\x15\x01"
                                                             "ES\x14\x05"
                                                             "E",
                                                             QByteArray("S\x00\x01"
                                                                        "E",
                                                                        4)}
                                           << QList{0, 1} << u"garbage 4, 20=5, garbage 4"_s;
    QTest::newRow("a long run shows its start")
        << QByteArrayList{QByteArray(20, 'z')} << QList{0} << u"garbage 20 (16 shown)"_s;
}

void TestBoardSimulator::reading()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QList<int>, readAtMs);
    QFETCH(QString, events);
    pwm20board::FrameReader reader;
    QStringList seen;
    const auto describe = [&](const pwm20board::LineEvent &event) {
        if (event.kind == pwm20board::LineEvent::Kind::Garbage)
            seen << u"garbage %1"_s.arg(event.garbageCount) +
                        (event.garbage.size() == event.garbageCount
                             ? QString()
                             : u" (%1 shown)"_s.arg(event.garbage.size()));
        else
            seen << u"%1=%2"_s.arg(event.channel).arg(event.value) +
                        (event.sameRead ? u" same read"_s
                         : event.sinceFrameBefore
                             ? u" +%1ms"_s.arg(event.sinceFrameBefore->count() / 1'000'000)
                             : QString());
    };
    for (qsizetype i = 0; i < reads.size(); ++i)
        for (const auto &event :
             reader.feed({reinterpret_cast<const std::uint8_t *>(reads[i].data()),
                          std::size_t(reads[i].size())},
                         pwm20board::FrameReader::Clock::time_point(readAtMs[i] * 1ms)))
            describe(event);
    if (const auto run = reader.endGarbageRun())
        describe(*run);
    QCOMPARE(seen.join(u", "), events);
}

QTEST_APPLESS_MAIN(TestBoardSimulator)
#include "TestBoardSimulator.moc"
