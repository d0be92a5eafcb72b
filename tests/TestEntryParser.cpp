#include "channels/EntryParser.h"

#include <QTest>

class TestEntryParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void positions_data();
    void positions();
};

void TestEntryParser::positions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<int>("position"); // -1: no position, the box is reset to "0"
    const auto add = [](const char *name, const char *text, int position, const char *point = ".") {
        QTest::newRow(name) << QByteArray(text) << QByteArray(point) << position;
    };
    // Accepted forms.
    add("blanks around", "  12\t ", 243);
    add("ideographic space", "\u300012", 243);
    add("plus sign", "+12", 243);
    add("fraction", "12.25", 243);
    add("no whole part", ".4", 255);
    add("exponent", "1e2", 155);
    add("signed exponent", "2500E-1", 5);
    add("leading zeros", "007", 248);
    add("tiny underflows to 0", "1e-999999", 255);
    add("decimal comma", "2,5", 252, ",");
    add("two-byte separator", "2\u066B5", 252, "\u066B");
    // Halves go to the even position, so to the odd channel value.
    add("2.5", "2.5", 252);
    add("255.5 rounds onto the top", "255.5", 0);
    add("-0.4 rounds onto the bottom", "-0.4", 255);
    // Not numbers.
    add("empty", "", -1);
    add("blanks only", "   ", -1);
    add("trailing letter", "12a", -1);
    add("inf", "inf", -1);
    add("hex", "0x1F", -1);
    add("sign only", "-", -1);
    add("separator only", ".", -1);
    add("bare exponent", "1e", -1);
    add("inner blank", "1 2", -1);
    add("comma in C locale", "1,5", -1);
    add("point where the comma is", "2.5", -1, ",");
    // Numbers the slider cannot stand for: 256 and up, and positions outside 0..255.
    add("256", "256", -1);
    add("huge", "1e400", -1);
    add("255.6 would be position -1", "255.6", -1);
    add("-0.5 would be position 256", "-0.5", -1);
    add("past a 16-bit position", "-40000", -1);
}

void TestEntryParser::positions()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, separator);
    QFETCH(int, position);
    QCOMPARE(
        pwm20::sliderPositionForEntry(text.toStdString(), separator.toStdString()).value_or(-1),
        position);
}

QTEST_APPLESS_MAIN(TestEntryParser)
#include "TestEntryParser.moc"
