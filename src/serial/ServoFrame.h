#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace pwm20 {

// One servo command frame: 'S', channel 1..20, value 0..255, 'E', all raw bytes. There is no
// escaping, so a value of 0x53 or 0x45 goes out unchanged.
using FrameBuffer = std::array<std::uint8_t, 4>;

inline constexpr std::uint8_t frameStart = 0x53; // 'S'
inline constexpr std::uint8_t frameEnd = 0x45;   // 'E'

void fillChannelFrame(FrameBuffer &frame, int channel, std::uint8_t value);

QByteArray frameBytes(const FrameBuffer &frame);

// "S 7 " for channel 7: what the echo of a sent frame starts with.
QString echoPrefix(int channel);

// "S 7 128 E": the readable echo of a frame, from the text of the channel's value box.
QString echoText(int channel, const QString &valueText);

} // namespace pwm20
