#include "channels/EntryParser.h"

#include <QTest>

#include <optional>

using pwm20::sliderPositionForEntry;

Q_DECLARE_METATYPE(std::optional<int>)

class TestEntryParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positions_data();
    void positions();
    void otherDecimalSeparators();
};

void TestEntryParser::positions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<int>>("position");
    const std::optional<int> reset;

    // Accepted forms.
    QTest::newRow("blanks around") << QByteArray("  12\t ") << std::optional(243);
    QTest::newRow("ideographic space") << QByteArray("\xE3\x80\x80"
                                                     "12")
                                       << std::optional(243);
    QTest::newRow("plus sign") << QByteArray("+12") << std::optional(243);
    QTest::newRow("fraction") << QByteArray("12.25") << std::optional(243);
    QTest::newRow("no whole part") << QByteArray(".4") << std::optional(255);
    QTest::newRow("exponent") << QByteArray("1e2") << std::optional(155);
    QTest::newRow("signed exponent") << QByteArray("2500E-1") << std::optional(5);
    QTest::newRow("leading zeros") << QByteArray("007") << std::optional(248);
    QTest::newRow("tiny underflows to 0") << QByteArray("1e-999999") << std::optional(255);

    // Halves go to the even position, so to the odd channel value.
    QTest::newRow("2.5") << QByteArray("2.5") << std::optional(252);
    QTest::newRow("255.5 rounds onto the top") << QByteArray("255.5") << std::optional(0);
    QTest::newRow("-0.4 rounds onto the bottom") << QByteArray("-0.4") << std::optional(255);

    // Not numbers.
    QTest::newRow("empty") << QByteArray("") << reset;
    QTest::newRow("blanks only") << QByteArray("   ") << reset;
    QTest::newRow("trailing letter") << QByteArray("12a") << reset;
    QTest::newRow("inf") << QByteArray("inf") << reset;
    QTest::newRow("hex") << QByteArray("0x1F") << reset;
    QTest::newRow("sign only") << QByteArray("-") << reset;
    QTest::newRow("separator only") << QByteArray(".") << reset;
    QTest::newRow("bare exponent") << QByteArray("1e") << reset;
    QTest::newRow("inner blank") << QByteArray("1 2") << reset;
    QTest::newRow("comma in C locale") << QByteArray("1,5") << reset;

    // Numbers the slider cannot stand for: 256 and up, and positions outside 0..255.
    QTest::newRow("256") << QByteArray("256") << reset;
    QTest::newRow("huge") << QByteArray("1e400") << reset;
    QTest::newRow("255.6 would be position -1") << QByteArray("255.6") << reset;
    QTest::newRow("-0.5 would be position 256") << QByteArray("-0.5") << reset;
    QTest::newRow("past a 16-bit position") << QByteArray("-40000") << reset;
}

void TestEntryParser::positions()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<int>, position);
    QCOMPARE(sliderPositionForEntry(text.toStdString(), "."), position);
}

void TestEntryParser::otherDecimalSeparators()
{
    QCOMPARE(sliderPositionForEntry("2,5", ","), std::optional(252));
    QCOMPARE(sliderPositionForEntry("2.5", ","), std::optional<int>());
    // Arabic decimal separator, two bytes in UTF-8.
    QCOMPARE(sliderPositionForEntry("2\xD9\xAB"
                                    "5",
                                    "\xD9\xAB"),
             std::optional(252));
}

QTEST_APPLESS_MAIN(TestEntryParser)
#include "TestEntryParser.moc"
