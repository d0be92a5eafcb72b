#pragma once

#include "channels/ChannelTable.h"

#include <QString>

namespace pwm20 {

// What a point of the motion plot stands for.
enum class PlotPointKind { Planned, Ideal, Keyframe, Sent };

// "shoulder (3)", or "PWM3" for a channel without a name: a channel in the plot's legend.
QString plotChannelName(const ChannelTable &table, int channel);
// "1.234 s · shoulder (3) · 40 · 计划": a point of the plot, for its tooltip.
QString plotPointText(PlotPointKind kind, double ms, const QString &channel, double value);
// Why a move's span is marked, for the tooltip over it.
QString stretchedText(int line);

} // namespace pwm20
