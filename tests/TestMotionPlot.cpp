// The motion plot of a hand-made plan: its legend, limits, sent frames, span and tooltips.
#include "app/MotionPlot.h"

#include <QLegendMarker>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>
#include <QXYSeries>

using namespace pwm20;
using namespace Qt::StringLiterals;

class TestMotionPlot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plot();
};

void TestMotionPlot::plot()
{
    QCOMPARE(plotPointText(PlotPointKind::Ideal, 1234.4, u"PWM2"_s, 40.46),
             u"1.234 s · PWM2 · 40.5 · 理想"_s);
    ChannelTable table;
    table.setChannel(3, {"肩 shoulder", 40, 200});
    SequencePlot plot{{{3, {{0, 19}, {1000, 200}}, {{0, 100}, {500, 150}}, {{1000, 200}}, 40, 200},
                       {12, {}, {{250, 90}}, {}, 1, 255}},
                      {{2, 0, 1000, true}},
                      2000};
    MotionPlot view;
    view.resize(640, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view)); // or its activation hides the tooltip
    view.showPlot(plot, table);
    // Values 19..200 and the limits 40..200 drawn, with a margin: not all of 0..255.
    const auto *values = qobject_cast<QValueAxis *>(view.chart()->axes(Qt::Vertical).first());
    QCOMPARE(std::pair(values->min(), values->max()), std::pair(4.0, 215.0));
    const auto shown = [&view](const char *kind) { // "name count" of each series of a kind
        QStringList names;
        for (QAbstractSeries *series : view.chart()->series()) {
            auto *xy = qobject_cast<QXYSeries *>(series);
            if (series->objectName() == QLatin1String(kind) && series->isVisible())
                names << series->name() + (xy ? u" %1"_s.arg(xy->count()) : QString());
        }
        return names;
    };
    const auto legend = [&view] {
        QCoreApplication::processEvents(); // the legend hides its entries until laid out again
        QList<QLegendMarker *> markers = view.chart()->legend()->markers();
        markers.removeIf([](QLegendMarker *marker) { return !marker->isVisible(); });
        return markers;
    };
    QCOMPARE(legend().size(), 2);
    QCOMPARE(legend()[0]->label() + u'|' + legend()[1]->label(), u"肩 shoulder (3)|PWM12"_s);
    QCOMPARE(shown("limits"), QStringList{u"肩 shoulder (3)"_s});
    QCOMPARE(shown("steps"), (QStringList{u"肩 shoulder (3) 4"_s, u"PWM12 2"_s}));
    QTest::mouseMove(view.viewport(),
                     view.mapFromScene(view.chart()->mapToScene(
                         view.chart()->mapToPosition({0.5, 150}, view.chart()->series().first()))));
    QTRY_COMPARE(
        QToolTip::text(),
        u"0.500 s · 肩 shoulder (3) · 150 · 计划\n拉长：第 2 行的动作比写的时间长，以守住通道的速度和加速度限制。"_s);
    view.showSent({{500'000'000, 3, 150}, {600'000'000, 12, 90}, {700'000'000, 3, 151}});
    QCOMPARE(shown("sent"), (QStringList{u"肩 shoulder (3) 2"_s, u"PWM12 1"_s}));
    view.showSpan(StepSpan{1, 0, 500});
    QCOMPARE(shown("span"), QStringList{QString()});
    view.showSpan(std::nullopt);
    QCOMPARE(shown("span"), QStringList());
    Q_EMIT legend()[0]->clicked(); // hides 肩 shoulder (3), its entry stays
    QCOMPARE(shown("keyframes") + shown("sent"), (QStringList{u"PWM12 0"_s, u"PWM12 1"_s}));
    QCOMPARE(legend().size(), 2);
}

QTEST_MAIN(TestMotionPlot)
#include "TestMotionPlot.moc"
