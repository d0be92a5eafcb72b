#pragma once

#include "ChannelTable.h"

#include <QString>

namespace pwm20 {

// "通道 5（shoulder）": a channel as the user knows it.
QString channelTitle(const ChannelTable &table, int channel);
// "通道 5（shoulder）只接受 0 或 7..32。": why a value was refused.
QString channelLimitsText(const ChannelTable &table, int channel);
// A caption's tooltip: the channel's name, limits and home, and its speed and acceleration
// limits where it has them.
QString channelToolTip(const ChannelTable &table, int channel);

} // namespace pwm20
