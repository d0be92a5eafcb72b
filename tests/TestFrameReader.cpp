#include "FrameReader.h"

#include <QTest>

using pwm20board::FrameReader;
using pwm20board::LineEvent;
using namespace Qt::StringLiterals;

// The board simulator's reading of the line: frames and runs of garbage, however the bytes are
// split across reads.
class TestFrameReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frames_data();
    void frames();
};

void TestFrameReader::frames_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("events"); // "5=100" a frame, "garbage 3" a run of three bytes
    QTest::newRow("value bytes S and E")
        << QByteArray("S\x03SES\x04\x45\x45", 8) << u"3=83, 4=69"_s;
    QTest::newRow("garbage, then a frame")
        << QByteArray("xyzS\x01\x02\x45", 7) << u"garbage 3, 1=2"_s;
    QTest::newRow("a frame inside a broken one")
        << QByteArray("S\x05S\x05\x64\x45", 6) << u"garbage 2, 5=100"_s;
    QTest::newRow("channels 21 and 0")
        << QByteArray("S\x15\x01\x45S\x00\x01\x45S\x02\x01\x45", 12) << u"garbage 8, 2=1"_s;
    QTest::newRow("trailing garbage, cut short")
        << QByteArray(20, '!') << u"garbage 20 (16 shown)"_s;
    QTest::newRow("unfinished frame") << QByteArray("S\x07\x07", 3) << QString();
}

void TestFrameReader::frames()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, events);
    for (qsizetype chunkSize : {qsizetype(1), qsizetype(3), line.size()}) {
        FrameReader reader;
        QStringList seen;
        const auto describe = [&](const LineEvent &event) {
            if (event.kind == LineEvent::Kind::Frame)
                seen << u"%1=%2"_s.arg(event.channel).arg(event.value);
            else if (event.garbage.size() == event.garbageCount)
                seen << u"garbage %1"_s.arg(event.garbageCount);
            else
                seen
                    << u"garbage %1 (%2 shown)"_s.arg(event.garbageCount).arg(event.garbage.size());
        };
        for (qsizetype at = 0; at < line.size(); at += chunkSize) {
            const QByteArray chunk = line.mid(at, chunkSize);
            for (const LineEvent &event :
                 reader.feed({reinterpret_cast<const std::uint8_t *>(chunk.data()),
                              std::size_t(chunk.size())}))
                describe(event);
        }
        if (const auto run = reader.endGarbageRun())
            describe(*run);
        QCOMPARE(seen.join(u", "), events);
    }
}

QTEST_APPLESS_MAIN(TestFrameReader)
#include "TestFrameReader.moc"
