#include "FrameReader.h"

#include <QTest>

using pwm20board::FrameReader;
using pwm20board::LineEvent;
using namespace Qt::StringLiterals;

namespace {

// Events as short words: "5=100" for a frame, "garbage 3" for a run of three bytes.
QStringList readInChunks(const QByteArray &line, qsizetype chunkSize)
{
    FrameReader reader;
    QStringList events;
    const auto describe = [&](const LineEvent &event) {
        events << (event.kind == LineEvent::Kind::Frame
                       ? QStringLiteral("%1=%2").arg(event.channel).arg(event.value)
                       : QStringLiteral("garbage %1").arg(event.garbageCount));
    };
    for (qsizetype at = 0; at < line.size(); at += chunkSize) {
        const QByteArray chunk = line.mid(at, chunkSize);
        for (const LineEvent &event :
             reader.feed({reinterpret_cast<const std::uint8_t *>(chunk.constData()),
                          static_cast<std::size_t>(chunk.size())}))
            describe(event);
    }
    if (const auto run = reader.endGarbageRun())
        describe(*run);
    return events;
}

} // namespace

class TestFrameReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames_data();
    void frames();
    void longGarbageShowsItsStart();
};

void TestFrameReader::frames_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("two frames") << QByteArray("S\x05\x64"
                                              "ES\x14\x00"
                                              "E",
                                              8)
                                << QStringList{u"5=100"_s, u"20=0"_s};
    QTest::newRow("value bytes S and E") << QByteArray("S\x03SES\x04"
                                                       "EE")
                                         << QStringList{u"3=83"_s, u"4=69"_s};
    QTest::newRow("garbage before") << QByteArray("xyzS\x01\x02"
                                                  "E")
                                    << QStringList{u"garbage 3"_s, u"1=2"_s};
    QTest::newRow("broken frame, then one inside it") << QByteArray("S\x05S\x05\x64"
                                                                    "E")
                                                      << QStringList{u"garbage 2"_s, u"5=100"_s};
    QTest::newRow("channel out of range") << QByteArray("S\x15\x01"
                                                        "ES\x00\x01"
                                                        "ES\x02\x01"
                                                        "E",
                                                        12)
                                          << QStringList{u"garbage 8"_s, u"2=1"_s};
    QTest::newRow("trailing garbage") << QByteArray("S\x07\x07"
                                                    "E!!")
                                      << QStringList{u"7=7"_s, u"garbage 2"_s};
    QTest::newRow("unfinished frame is not garbage yet")
        << QByteArray("S\x07\x07") << QStringList{};
}

void TestFrameReader::frames()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, events);
    for (qsizetype chunkSize : {qsizetype(1), qsizetype(3), line.size() + 1})
        QCOMPARE(readInChunks(line, chunkSize), events);
}

void TestFrameReader::longGarbageShowsItsStart()
{
    FrameReader reader;
    const QByteArray noise(1000, 'x');
    QVERIFY(reader.feed({reinterpret_cast<const std::uint8_t *>(noise.constData()), 1000}).empty());
    const auto run = reader.endGarbageRun();
    QVERIFY(run);
    QCOMPARE(run->garbageCount, std::size_t(1000));
    QCOMPARE(run->garbage.size(), FrameReader::garbageShown);
    QVERIFY(!reader.endGarbageRun());
}

QTEST_APPLESS_MAIN(TestFrameReader)
#include "TestFrameReader.moc"
