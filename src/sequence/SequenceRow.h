#pragma once

#include "channels/ChannelValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pwm20 {

// How a keyframe reaches its pose: at once (a pose line), at an even speed (`move ... in t`) or
// eased in and out (`move ... in t smooth`).
enum class Curve { Instant, Linear, Smooth };

// One line of a batch text as the motion editor shows it: a keyframe (a pose line or a move),
// or any other line, shown and edited as its text.
struct SequenceRow
{
    enum class Kind { Keyframe, Text };

    Kind kind = Kind::Text;
    int line = 0;     // 1-based
    std::string text; // the line as written, without its end
    // Keyframe only: the curve, the time written (0 for an instant pose) and the targets in the
    // order written, each with the word that named its channel ("shoulder", "3").
    Curve curve = Curve::Instant;
    std::int64_t durationMs = 0;
    std::vector<ChannelValue> targets;
    std::vector<std::string> channelWords;

    std::optional<int> valueOf(int channel) const;
};

} // namespace pwm20
