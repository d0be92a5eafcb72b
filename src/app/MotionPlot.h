#pragma once

#include "PlotTexts.h"
#include "channels/ChannelTable.h"
#include "sequence/SequencePlot.h"

#include <QChartView>

#include <array>
#include <optional>
#include <set>
#include <vector>

class QAreaSeries;
class QLineSeries;
class QValueAxis;
class QGraphicsSimpleTextItem;

namespace pwm20 {

// Value against time for a whole sequence: per channel the curve as written, the planned frames,
// the keyframes, the limits as a band, stretched moves flagged; after a play the frames sent.
class MotionPlot final : public QChartView
{
    Q_OBJECT

public:
    explicit MotionPlot(QWidget *parent = nullptr);

    // Draws a new plan in place of the last one (and drops the sent frames); keeps the zoom
    // while the time shown still lies within the new plan, else shows all of it.
    void showPlot(const SequencePlot &plot, const ChannelTable &channels);
    // The frames sent during the last play, drawn over the plan.
    void showSent(const std::vector<SentFrame> &sent);
    // Shades the span of the selected row; none clears the shade.
    void showSpan(std::optional<StepSpan> span);
    // The whole sequence again.
    void resetView();

protected:
    bool viewportEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The value axis spans what is drawn, the limits bands too.
    void fitValues(const SequencePlot &plot);
    // One channel's series, shown and hidden together from its legend entry, and its points in
    // seconds, in time order, by PlotPointKind, for the tooltip.
    struct Channel
    {
        int number = 0;
        QString name;
        QLineSeries *steps = nullptr; // the planned frames held; carries the legend entry
        QLineSeries *sent = nullptr;
        std::vector<QAbstractSeries *> series;
        std::array<std::vector<QPointF>, 4> points;
    };

    Channel newChannel(int number);
    void addSeries(Channel &channel, QAbstractSeries *series);
    void toggleChannel(QLineSeries *steps);
    void showLegendEntry(const Channel &channel);
    void setTimeRange(double from, double to);
    void placeStretchedLabels();
    void showToolTip(QPointF position, QPoint global);

    QChart *m_chart = nullptr;
    QValueAxis *m_time = nullptr;
    QValueAxis *m_value = nullptr;
    QAreaSeries *m_stretched = nullptr;
    QAreaSeries *m_span = nullptr;
    ChannelTable m_table;
    std::vector<Channel> m_channels;
    std::set<int> m_hidden; // channels hidden from their legend entry, kept for the next plan
    std::vector<StepSpan> m_stretchedSpans;
    std::vector<QGraphicsSimpleTextItem *> m_stretchedLabels;
    double m_endSeconds = 1;
    bool m_zoomed = false;
    std::optional<QPointF> m_dragFrom;
    double m_dragStart = 0;
};

} // namespace pwm20
