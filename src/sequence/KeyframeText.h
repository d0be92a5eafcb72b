#pragma once

#include "MotionSequence.h"

#include <optional>
#include <string>

namespace pwm20 {

// The line a keyframe writes: the row's indent and trailing comment kept, its targets in their
// order with the words that named them (a channel added since by its setup name, or its number),
// then `in t` and `smooth` for a move. Only an edited row is written again, so the rest of the
// text stays as typed.
std::string keyframeLine(const SequenceRow &row, const ChannelTable &channels);

// The row with one channel set (added after the others when new) or, with no value, left alone;
// false when that would leave the keyframe with no channel.
bool setTarget(SequenceRow &row, int channel, std::optional<int> value);
// A keyframe given a time becomes a move (linear when it was instant); an instant curve makes it
// a pose line, and a move made of a pose line takes 500 ms.
void setDuration(SequenceRow &row, std::int64_t ms);
void setCurve(SequenceRow &row, Curve curve);

inline constexpr std::int64_t capturedMoveMs = 500;

// "move shoulder=40 elbow=90 in 500 smooth": every channel that is not off and differs from what
// the sequence holds there (or holds nothing), by its setup name where it has one. None when no
// channel qualifies.
std::optional<std::string> captureLine(const ChannelValues &values, const HeldPose &held,
                                       const ChannelTable &channels);
// The keyframe with the current values: its own channels take theirs (keeping the written value
// where a channel is now off), and every other channel the capture would take is added.
SequenceRow updatedPose(SequenceRow row, const ChannelValues &values, const HeldPose &held);

} // namespace pwm20
