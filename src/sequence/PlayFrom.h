#pragma once

#include "MotionSequence.h"
#include "batch/BatchScript.h"

#include <vector>

namespace pwm20 {

inline constexpr std::int64_t glideToPoseMs = 500;

// The steps that play a checked batch from its step on `line` (or the first one after it):
// first the pose the sequence holds there, from where the channels stand now (a channel it holds
// off goes off, the others glide there together in a 500 ms smooth move, both on line 0), then the
// steps from that one. A loop entered part-way plays the rest of its body once. Empty when no
// step is on or after the line.
std::vector<BatchStep> stepsFrom(const std::vector<BatchStep> &steps, int line,
                                 const HeldPose &held, const ChannelValues &now);

// The same steps, played again and again until stopped.
std::vector<BatchStep> loopedSteps(std::vector<BatchStep> steps);

} // namespace pwm20
