#include "MotionPlot.h"

#include <QAreaSeries>
#include <QCoreApplication>
#include <QGraphicsSimpleTextItem>
#include <QHelpEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace pwm20 {
namespace {

// Told apart at a glance, one per channel, the eleventh like the first.
constexpr std::array<QRgb, 10> palette{0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                                       0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};
// The narrowest time shown: a few frames of the fastest planner.
constexpr double narrowestSeconds = 0.01;
// How near the pointer a point must be, in pixels, for its tooltip.
constexpr double hoverPixels = 8;

QColor channelColour(int channel)
{
    return QColor(palette[static_cast<std::size_t>(channel - 1) % palette.size()]);
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

enum class Marker { Dot, Ring, Cross };

// Points drawn as one image each: thousands of them paint quickly, where the ordinary markers
// make a graphics item per point.
QImage markerImage(Marker marker, const QColor &colour, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(image.rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    switch (marker) {
    case Marker::Dot:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(image.rect()));
        break;
    case Marker::Ring:
        painter.setPen(QPen(colour, 2));
        painter.drawEllipse(box);
        break;
    case Marker::Cross:
        painter.setPen(QPen(colour, 2));
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
        break;
    }
    return image;
}

QLineSeries *markers(Marker marker, const QColor &colour, int size)
{
    auto *series = new QLineSeries;
    series->setPen(Qt::NoPen);
    series->setPointsVisible(true);
    series->setMarkerSize(size);
    series->setLightMarker(markerImage(marker, colour, size));
    return series;
}

// In seconds and in time order, for the tooltip's search.
std::vector<QPointF> sortedPoints(const std::vector<PlotPoint> &points)
{
    std::vector<QPointF> sorted;
    sorted.reserve(points.size());
    for (const PlotPoint &point : points)
        sorted.push_back(QPointF(point.ms / 1000, point.value));
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](QPointF a, QPointF b) { return a.x() < b.x(); });
    return sorted;
}

QList<QPointF> inSeconds(const std::vector<PlotPoint> &points)
{
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint &point : points)
        list.append(QPointF(point.ms / 1000, point.value));
    return list;
}

// Bands from the bottom to the top of the plot over each span, as one area over a zero line.
QList<QPointF> bands(const std::vector<StepSpan> &spans)
{
    QList<QPointF> outline;
    for (const StepSpan &span : spans) {
        const double from = span.startMs / 1000, to = span.endMs / 1000;
        const double top = ChannelTable::highestValue;
        outline << QPointF(from, 0) << QPointF(from, top) << QPointF(to, top) << QPointF(to, 0);
    }
    return outline;
}

QAreaSeries *band(const QColor &colour)
{
    auto *area = new QAreaSeries;
    area->setUpperSeries(new QLineSeries(area));
    area->setPen(Qt::NoPen);
    area->setBrush(colour);
    return area;
}

// 1, 2 or 5 times a power of ten: ticks about every eighth of what is shown.
double tickInterval(double span)
{
    const double rough = span / 8;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double step : {1.0, 2.0, 5.0}) {
        if (step * power >= rough)
            return step * power;
    }
    return 10 * power;
}

} // namespace

// Made with its chart: a chart set later releases the view's own default one, which nobody frees.
MotionPlot::MotionPlot(QWidget *parent) : QChartView(new QChart, parent)
{
    m_chart = chart();
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::WheelFocus);
    viewport()->setMouseTracking(true);

    m_time = new QValueAxis(m_chart);
    m_time->setTitleText(QCoreApplication::translate("MotionPlot", "时间 (s)"));
    m_time->setTickType(QValueAxis::TicksDynamic);
    m_time->setTickAnchor(0);
    m_value = new QValueAxis(m_chart);
    m_value->setTitleText(QCoreApplication::translate("MotionPlot", "值"));
    m_value->setRange(ChannelTable::lowestValue, ChannelTable::highestValue);
    m_value->setTickType(QValueAxis::TicksDynamic);
    m_value->setTickAnchor(0);
    m_value->setTickInterval(50);
    m_value->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_chart->addAxis(m_value, Qt::AlignLeft);

    m_span = band(QColor(70, 110, 200, 45));
    m_span->setObjectName(QStringLiteral("span"));
    m_stretched = band(QColor(255, 150, 0, 50));
    m_stretched->setObjectName(QStringLiteral("stretched"));
    for (QAreaSeries *area : {m_stretched, m_span}) {
        m_chart->addSeries(area);
        area->attachAxis(m_time);
        area->attachAxis(m_value);
        for (QLegendMarker *marker : m_chart->legend()->markers(area))
            marker->setVisible(false);
    }
    m_span->setVisible(false);

    connect(m_time, &QValueAxis::rangeChanged, this, &MotionPlot::placeStretchedLabels);
    connect(m_chart, &QChart::plotAreaChanged, this, &MotionPlot::placeStretchedLabels);
    setTimeRange(0, m_endSeconds);
}

void MotionPlot::showPlot(const SequencePlot &plot, const ChannelTable &channels)
{
    for (const Channel &channel : m_channels) {
        for (QAbstractSeries *series : channel.series) {
            m_chart->removeSeries(series);
            delete series;
        }
    }
    m_channels.clear();
    m_table = channels;

    double end = plot.endMs / 1000;
    for (const ChannelCurves &curves : plot.channels) {
        for (const auto *points : {&curves.ideal, &curves.planned, &curves.keyframes}) {
            if (!points->empty())
                end = std::max(end, points->back().ms / 1000);
        }
    }
    m_channels.reserve(plot.channels.size());
    for (const ChannelCurves &curves : plot.channels)
        m_channels.push_back(newChannel(curves.channel));

    // Bands under lines, lines under their frames and keyframes, whatever the channel.
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        const ChannelCurves &curves = plot.channels[i];
        if (curves.low <= 1 && curves.high >= ChannelTable::highestValue)
            continue;
        QAreaSeries *limits = band(withAlpha(channelColour(curves.channel), 35));
        limits->setObjectName(QStringLiteral("limits"));
        limits->upperSeries()->replace({QPointF(0, curves.high), QPointF(end, curves.high)});
        limits->setLowerSeries(new QLineSeries(limits));
        limits->lowerSeries()->replace({QPointF(0, curves.low), QPointF(end, curves.low)});
        addSeries(m_channels[i], limits);
    }
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        Channel &channel = m_channels[i];
        channel.points[static_cast<std::size_t>(PlotPointKind::Ideal)] =
            sortedPoints(plot.channels[i].ideal);
        auto *ideal = new QLineSeries;
        ideal->setObjectName(QStringLiteral("ideal"));
        ideal->setPen(QPen(channelColour(channel.number), 1));
        ideal->replace(inSeconds(plot.channels[i].ideal));
        addSeries(channel, ideal);
    }
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        Channel &channel = m_channels[i];
        const std::vector<PlotPoint> &planned = plot.channels[i].planned;
        channel.points[static_cast<std::size_t>(PlotPointKind::Planned)] = sortedPoints(planned);
        // The channel holds each value until its next frame, the last one to the end.
        QList<QPointF> steps;
        steps.reserve(static_cast<qsizetype>(2 * planned.size()));
        for (std::size_t f = 0; f < planned.size(); ++f) {
            const double to = f + 1 < planned.size() ? planned[f + 1].ms / 1000 : end;
            steps << QPointF(planned[f].ms / 1000, planned[f].value)
                  << QPointF(std::max(to, planned[f].ms / 1000), planned[f].value);
        }
        channel.steps->replace(steps);
        addSeries(channel, channel.steps);
        QLineSeries *frames = markers(Marker::Dot, channelColour(channel.number), 4);
        frames->setObjectName(QStringLiteral("planned"));
        frames->replace(inSeconds(planned));
        addSeries(channel, frames);
    }
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        Channel &channel = m_channels[i];
        channel.points[static_cast<std::size_t>(PlotPointKind::Keyframe)] =
            sortedPoints(plot.channels[i].keyframes);
        QLineSeries *keyframes = markers(Marker::Ring, channelColour(channel.number), 11);
        keyframes->setObjectName(QStringLiteral("keyframes"));
        keyframes->replace(inSeconds(plot.channels[i].keyframes));
        addSeries(channel, keyframes);
    }

    m_stretchedSpans.clear();
    for (const StepSpan &span : plot.spans) {
        if (span.stretched)
            m_stretchedSpans.push_back(span);
    }
    m_stretched->upperSeries()->replace(bands(m_stretchedSpans));
    for (QGraphicsSimpleTextItem *label : m_stretchedLabels)
        delete label;
    m_stretchedLabels.clear();
    for (std::size_t i = 0; i < m_stretchedSpans.size(); ++i) {
        auto *label =
            new QGraphicsSimpleTextItem(QCoreApplication::translate("MotionPlot", "拉长"), m_chart);
        label->setBrush(QColor(170, 90, 0));
        label->setZValue(10);
        m_stretchedLabels.push_back(label);
    }

    fitValues(plot);
    m_endSeconds = std::max(end, 0.0);
    if (m_zoomed && m_time->max() <= m_endSeconds)
        setTimeRange(m_time->min(), m_time->max());
    else
        setTimeRange(0, m_endSeconds);
    placeStretchedLabels();
}

void MotionPlot::fitValues(const SequencePlot &plot)
{
    // A servo's travel is a small part of 0..255: the axis spans what is drawn, limits too, so
    // that a move of a few values is seen as one.
    double low = ChannelTable::highestValue;
    double high = ChannelTable::lowestValue;
    for (const ChannelCurves &curves : plot.channels) {
        for (const auto *points : {&curves.ideal, &curves.planned, &curves.keyframes}) {
            for (const PlotPoint &point : *points) {
                low = std::min(low, point.value);
                high = std::max(high, point.value);
            }
        }
        if (curves.low > 1 || curves.high < ChannelTable::highestValue) {
            low = std::min(low, double(curves.low));
            high = std::max(high, double(curves.high));
        }
    }
    if (low > high) {
        low = ChannelTable::lowestValue;
        high = ChannelTable::highestValue;
    }
    const double margin = std::max(2.0, (high - low) * 0.08);
    low = std::max<double>(ChannelTable::lowestValue, std::floor(low - margin));
    high = std::min<double>(ChannelTable::highestValue, std::ceil(high + margin));
    // Whole values: a tick every 1, 2, 5, 10... of them, about eight over the axis; set before
    // the range, as the time's.
    m_value->setTickInterval(std::max(1.0, tickInterval(high - low)));
    m_value->setRange(low, high);
}

void MotionPlot::showSent(const std::vector<SentFrame> &sent)
{
    std::map<int, std::vector<QPointF>> byChannel;
    double last = 0;
    for (const SentFrame &frame : sent) {
        if (!ChannelTable::isChannel(frame.channel))
            continue;
        const double seconds = static_cast<double>(frame.ns) / 1e9;
        byChannel[frame.channel].push_back(QPointF(seconds, frame.value));
        last = std::max(last, seconds);
    }
    for (Channel &channel : m_channels) {
        channel.points[static_cast<std::size_t>(PlotPointKind::Sent)].clear();
        if (channel.sent)
            channel.sent->clear();
    }
    for (auto &[number, points] : byChannel) {
        auto found = std::find_if(m_channels.begin(), m_channels.end(),
                                  [number](const Channel &c) { return c.number == number; });
        // A channel the plot leaves out (one `centre` or `off` reached, say) stays out: its
        // frames still count in the difference from the plan.
        if (found == m_channels.end())
            continue;
        if (!found->sent) {
            found->sent = markers(Marker::Cross, channelColour(number).darker(160), 7);
            found->sent->setObjectName(QStringLiteral("sent"));
            addSeries(*found, found->sent);
        }
        std::stable_sort(points.begin(), points.end(),
                         [](QPointF a, QPointF b) { return a.x() < b.x(); });
        found->sent->replace(QList<QPointF>(points.begin(), points.end()));
        found->points[static_cast<std::size_t>(PlotPointKind::Sent)] = std::move(points);
    }
    if (last > m_endSeconds) {
        m_endSeconds = last;
        if (!m_zoomed)
            setTimeRange(0, m_endSeconds);
    }
}

void MotionPlot::showSpan(std::optional<StepSpan> span)
{
    m_span->upperSeries()->replace(span ? bands({*span}) : QList<QPointF>());
    m_span->setVisible(span.has_value());
    for (QLegendMarker *marker : m_chart->legend()->markers(m_span))
        marker->setVisible(false);
}

void MotionPlot::resetView()
{
    setTimeRange(0, m_endSeconds);
}

void MotionPlot::wheelEvent(QWheelEvent *event)
{
    const QRectF area = m_chart->plotArea();
    const double from = m_time->min(), to = m_time->max();
    const QPointF at = m_chart->mapFromScene(mapToScene(event->position().toPoint()));
    const double fraction = std::clamp((at.x() - area.left()) / area.width(), 0.0, 1.0);
    const double around = from + fraction * (to - from);
    const double factor = std::pow(0.85, event->angleDelta().y() / 120.0);
    const double width =
        std::clamp((to - from) * factor, std::min(narrowestSeconds, m_endSeconds), m_endSeconds);
    setTimeRange(around - fraction * width, around - fraction * width + width);
    event->accept();
}

void MotionPlot::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QChartView::mousePressEvent(event);
        return;
    }
    m_dragFrom = event->position();
    m_dragStart = m_time->min();
    QToolTip::hideText();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

bool MotionPlot::viewportEvent(QEvent *event)
{
    // A pause over the plot asks for the tip as over any widget, whatever moves came before.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        showToolTip(m_chart->mapFromScene(mapToScene(help->pos())), help->globalPos());
        return true;
    }
    return QChartView::viewportEvent(event);
}

void MotionPlot::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragFrom) {
        const double width = m_time->max() - m_time->min();
        const double seconds =
            (event->position().x() - m_dragFrom->x()) / m_chart->plotArea().width() * width;
        setTimeRange(m_dragStart - seconds, m_dragStart - seconds + width);
        return;
    }
    showToolTip(m_chart->mapFromScene(mapToScene(event->position().toPoint())),
                event->globalPosition().toPoint());
}

void MotionPlot::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragFrom) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    m_dragFrom.reset();
    viewport()->unsetCursor();
}

void MotionPlot::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        resetView();
}

void MotionPlot::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Home)
        resetView();
    else
        QChartView::keyPressEvent(event);
}

MotionPlot::Channel MotionPlot::newChannel(int number)
{
    Channel channel;
    channel.number = number;
    channel.name = plotChannelName(m_table, number);
    channel.steps = new QLineSeries;
    channel.steps->setObjectName(QStringLiteral("steps"));
    channel.steps->setPen(QPen(withAlpha(channelColour(number), 150), 1));
    return channel;
}

void MotionPlot::addSeries(Channel &channel, QAbstractSeries *series)
{
    series->setName(channel.name);
    m_chart->addSeries(series);
    series->attachAxis(m_time);
    series->attachAxis(m_value);
    channel.series.push_back(series);
    if (series == channel.steps) {
        // The marker lives as long as the series is in the chart.
        for (QLegendMarker *marker : m_chart->legend()->markers(series))
            connect(marker, &QLegendMarker::clicked, this,
                    [this, steps = channel.steps] { toggleChannel(steps); });
    }
    if (m_hidden.contains(channel.number))
        series->setVisible(false);
    showLegendEntry(channel);
}

void MotionPlot::toggleChannel(QLineSeries *steps)
{
    auto found = std::find_if(m_channels.begin(), m_channels.end(),
                              [steps](const Channel &c) { return c.steps == steps; });
    if (found == m_channels.end())
        return;
    const bool show = m_hidden.contains(found->number);
    if (show)
        m_hidden.erase(found->number);
    else
        m_hidden.insert(found->number);
    for (QAbstractSeries *series : found->series)
        series->setVisible(show);
    showLegendEntry(*found);
}

// Hiding a series hides its legend marker and showing it shows it again: after either, the
// channel's entry is put back, faded while hidden, and its other series' markers taken away.
void MotionPlot::showLegendEntry(const Channel &channel)
{
    QLegend *legend = m_chart->legend();
    const bool hidden = m_hidden.contains(channel.number);
    for (QAbstractSeries *series : channel.series) {
        for (QLegendMarker *marker : legend->markers(series)) {
            if (series != channel.steps) {
                marker->setVisible(false);
                continue;
            }
            marker->setVisible(true);
            marker->setLabelBrush(withAlpha(palette().color(QPalette::Text), hidden ? 90 : 255));
            marker->setBrush(withAlpha(channelColour(channel.number), hidden ? 60 : 255));
        }
    }
}

void MotionPlot::setTimeRange(double from, double to)
{
    const double width = std::min(to - from, m_endSeconds);
    from = std::clamp(from, 0.0, std::max(m_endSeconds - width, 0.0));
    to = from + width;
    if (width <= 0) {
        from = 0;
        to = 1; // an empty plan still shows its axes
    }
    m_zoomed = from > 0 || to < m_endSeconds;
    // The ticks first: the axis lays out its ticks as the range changes, and the ticks of a
    // tenth of a second's view over ten minutes are a million.
    const double interval = tickInterval(to - from);
    m_time->setTickInterval(interval);
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(interval))), 0, 3);
    m_time->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    m_time->setRange(from, to);
}

void MotionPlot::placeStretchedLabels()
{
    const QRectF area = m_chart->plotArea();
    for (std::size_t i = 0; i < m_stretchedLabels.size(); ++i) {
        QGraphicsSimpleTextItem *label = m_stretchedLabels[i];
        const double from =
            m_chart->mapToPosition(QPointF(m_stretchedSpans[i].startMs / 1000, 0), m_span).x();
        const double to =
            m_chart->mapToPosition(QPointF(m_stretchedSpans[i].endMs / 1000, 0), m_span).x();
        const double left = std::max(from, area.left()), right = std::min(to, area.right());
        // A band too narrow for its word still says what it is in its tooltip.
        label->setVisible(right - left >= label->boundingRect().width() + 4);
        label->setPos(left + 2, area.top() + 2);
    }
}

void MotionPlot::showToolTip(QPointF position, QPoint global)
{
    const QRectF area = m_chart->plotArea();
    if (!area.contains(position) || m_time->max() <= m_time->min()) {
        QToolTip::hideText();
        return;
    }
    const double from = m_time->min(), to = m_time->max();
    const double perSecond = area.width() / (to - from);
    const double perValue = area.height() / (m_value->max() - m_value->min());
    const double seconds = from + (position.x() - area.left()) / perSecond;
    const double value = m_value->max() - (position.y() - area.top()) / perValue;

    QString text;
    double nearest = hoverPixels * hoverPixels;
    for (const Channel &channel : m_channels) {
        if (m_hidden.contains(channel.number))
            continue;
        // The kinds drawn on top first: on a tie they win.
        for (PlotPointKind kind : {PlotPointKind::Sent, PlotPointKind::Keyframe,
                                   PlotPointKind::Planned, PlotPointKind::Ideal}) {
            const std::vector<QPointF> &points = channel.points[static_cast<std::size_t>(kind)];
            auto point =
                std::lower_bound(points.begin(), points.end(), seconds - hoverPixels / perSecond,
                                 [](QPointF p, double s) { return p.x() < s; });
            for (; point != points.end() && point->x() <= seconds + hoverPixels / perSecond;
                 ++point) {
                const double dx = (point->x() - seconds) * perSecond;
                const double dy = (point->y() - value) * perValue;
                if (dx * dx + dy * dy < nearest) {
                    nearest = dx * dx + dy * dy;
                    text = plotPointText(kind, point->x() * 1000, channel.name, point->y());
                }
            }
        }
    }
    for (const StepSpan &span : m_stretchedSpans) {
        if (seconds >= span.startMs / 1000 && seconds <= span.endMs / 1000) {
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + stretchedText(span.line);
            break;
        }
    }
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(global, text, this);
}

} // namespace pwm20
