#pragma once

#include "channels/ChannelTable.h"
#include "channels/ChannelValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwm20 {

// One command of a batch, from one line of its text.
struct BatchStep
{
    enum class Kind { Frames, Off, Centre, Wait, Repeat, End, Move };

    Kind kind = Kind::Frames;
    int line = 0;                     // 1-based line of the text
    std::vector<ChannelValue> frames; // Frames: in the order written; Move: the targets
    std::int64_t amount = 0;          // Wait, Move: milliseconds; Repeat: count, 0 until stopped
    bool smooth = false;              // Move: eased in and out rather than at an even speed
    std::size_t partner = 0;          // Repeat: index of its End; End: index of its Repeat

    bool operator==(const BatchStep &) const = default;
};

// What is wrong with a line, and the word at fault where there is one.
struct BatchError
{
    enum class Problem {
        UnknownWord,
        BadFrame,
        BadPair,
        NotANumber,
        ChannelRange,
        ValueRange,
        WaitRange,
        RepeatRange,
        MissingTime,
        ExtraWords,
        EndWithoutRepeat,
        RepeatWithoutEnd,
        EmptyLoop,
        UnknownChannel,
        OutsideLimits,
        MoveWithoutTargets,
        MoveWithoutTime,
        MoveTimeRange,
        ChannelTwice,
    };

    int line = 0;
    std::string lineText; // the line without its comment and surrounding blanks
    Problem problem = Problem::UnknownWord;
    std::string word;
    int channel = 0; // OutsideLimits, ChannelTwice: the channel at fault

    bool operator==(const BatchError &) const = default;
};

struct BatchScript
{
    std::vector<BatchStep> steps; // empty when the text holds no command, or on an error
    std::optional<BatchError> error;
};

inline constexpr std::int64_t longestWaitMs = 3'600'000;
inline constexpr std::int64_t mostRepeats = 1'000'000;

// Reads a whole batch text (UTF-8): one command per line, `#` starts a comment, keywords in any
// case; a channel's name stands for its number in a pair, and no value outside a channel's
// limits gets through. The first bad line stops the reading and is the error.
BatchScript parseBatch(std::string_view text, const ChannelTable &table = ChannelTable());

} // namespace pwm20
