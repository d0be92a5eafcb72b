// The rows lean on two promises of the scroll bar: setting a value runs the change handler before
// the call returns, and only a real change runs it. These fail if the toolkit stops keeping them.
#include "channels/ChannelSlider.h"

#include <QTest>

using pwm20::ChannelSlider;

class TestToolkitRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changesRunAtOnceAndOnlyOnAChange_data();
    void changesRunAtOnceAndOnlyOnAChange();
};

void TestToolkitRules::changesRunAtOnceAndOnlyOnAChange_data()
{
    QTest::addColumn<int>("setTo");
    QTest::addColumn<QList<int>>("changes");
    QTest::newRow("same value") << 255 << QList<int>{};
    QTest::newRow("new value") << 236 << QList<int>{236};
    QTest::newRow("above the range: clamped, no change") << 300 << QList<int>{};
    QTest::newRow("below the range: clamped to the top") << -5 << QList<int>{0};
}

void TestToolkitRules::changesRunAtOnceAndOnlyOnAChange()
{
    QFETCH(int, setTo);
    QFETCH(QList<int>, changes);
    QWidget window;
    ChannelSlider slider(&window);
    QList<int> seenInsideTheCall;
    bool inside = false;
    QObject::connect(&slider, &QScrollBar::valueChanged, &window, [&](int value) {
        if (inside)
            seenInsideTheCall << value;
    });
    inside = true;
    slider.setValue(setTo);
    inside = false;
    QCOMPARE(seenInsideTheCall, changes);
}

QTEST_MAIN(TestToolkitRules)
#include "TestToolkitRules.moc"
