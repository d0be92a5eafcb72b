#pragma once

#include "channels/ChannelTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwm20 {

// What is wrong with a setup text, and where: the line, the section and the key where known.
struct SetupError
{
    enum class Problem {
        NotUtf8,
        NotIni,
        UnknownSection,
        DuplicateSection,
        UnknownKey,
        DuplicateKey,
        NotANumber,
        LimitRange,
        SpeedRange,
        AccelRange,
        MinAboveMax,
        HomeOutside,
        BadName,
        NameTooLong,
        ReservedName,
        DuplicateName,
        BadStopPose,
    };

    int line = 0;
    std::string section; // without its brackets
    std::string key;
    Problem problem = Problem::NotIni;
    std::string value; // the text at fault

    bool operator==(const SetupError &) const = default;
};

struct SetupReading
{
    ChannelTable table; // the defaults on an error: nothing is half-applied
    std::optional<SetupError> error;
};

inline constexpr std::size_t longestChannelName = 32;
inline constexpr std::size_t largestSetupText = 64 * 1024;

// Reads a setup (UTF-8 INI): a [channelN] section for each channel that differs from the
// defaults, with name, min, max and home, and speed and accel where the channel's changes are
// limited (a key left out: no limit); a [batch] section with on_stop. Comments start with ';' or
// '#'. The first fault stops the reading.
SetupReading readSetup(std::string_view text);

// A key of a setup text with its value, as the reader sees them.
struct SetupEntry
{
    int channel = 0;    // of a [channelN] section, else 0
    bool batch = false; // in [batch]
    std::string key;    // in lower case
    std::string value;
};

// Every key of the text with its value, read past any fault (none when it is not UTF-8): what
// can still be shown of a setup that cannot be used.
std::vector<SetupEntry> setupEntries(std::string_view text);

// The setup as a text that readSetup gives back unchanged: only what differs from the defaults.
std::string writeSetup(const ChannelTable &table);

// "none", "home" or "off": the stop pose as the file writes it.
std::string_view stopPoseName(ChannelTable::StopPose pose);

} // namespace pwm20
