// The channel rows lean on two promises of the scroll bar: setting a value runs the change handler
// before the call returns, and only a real change runs it. These tests fail if the toolkit ever
// stops keeping them.
#include "channels/ChannelSlider.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using pwm20::ChannelSlider;

class TestToolkitRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingAValueRunsTheHandlerAtOnce();
    void onlyARealChangeRunsTheHandler_data();
    void onlyARealChangeRunsTheHandler();
    void aDragChangesOnceOnRelease();
};

void TestToolkitRules::settingAValueRunsTheHandlerAtOnce()
{
    QWidget window;
    ChannelSlider slider(&window);
    QList<int> seenInsideTheCall;
    bool insideSetValue = false;
    QObject::connect(&slider, &QScrollBar::valueChanged, &window, [&](int value) {
        if (insideSetValue)
            seenInsideTheCall << value;
    });
    insideSetValue = true;
    slider.setValue(100);
    slider.setValue(7);
    insideSetValue = false;
    QCOMPARE(seenInsideTheCall, (QList<int>{100, 7}));
}

void TestToolkitRules::onlyARealChangeRunsTheHandler_data()
{
    QTest::addColumn<int>("setTo");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("endsAt");
    QTest::newRow("same value") << ChannelSlider::offPosition << 0 << 255;
    QTest::newRow("new value") << 236 << 1 << 236;
    QTest::newRow("above the range clamps to the same value") << 300 << 0 << 255;
    QTest::newRow("below the range clamps to the top") << -5 << 1 << 0;
}

void TestToolkitRules::onlyARealChangeRunsTheHandler()
{
    QFETCH(int, setTo);
    QFETCH(int, changes);
    QFETCH(int, endsAt);
    QWidget window;
    ChannelSlider slider(&window);
    QSignalSpy changed(&slider, &QScrollBar::valueChanged);
    slider.setValue(setTo);
    QCOMPARE(changed.size(), changes);
    QCOMPARE(slider.value(), endsAt);
}

void TestToolkitRules::aDragChangesOnceOnRelease()
{
    QWidget window;
    ChannelSlider slider(&window);
    QSignalSpy changed(&slider, &QScrollBar::valueChanged);
    slider.setSliderDown(true);
    for (int position = 250; position >= 100; position -= 10)
        slider.setSliderPosition(position);
    QCOMPARE(changed.size(), 0);
    slider.setSliderDown(false);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(slider.value(), 100);
}

QTEST_MAIN(TestToolkitRules)
#include "TestToolkitRules.moc"
