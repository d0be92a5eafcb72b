#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pwm20 {

// What the board and this program know of each channel: how many there are, the values a frame
// carries, and per channel a name, the limits the servo's mechanics allow and its home. Every
// path that sends reads it: the rows, the group buttons, the batch reader and player, the shell.
class ChannelTable
{
public:
    static constexpr int channelCount = 20;
    static constexpr int lowestValue = 0;
    static constexpr int highestValue = 255;
    // Value 0 switches a channel off; it is allowed whatever the limits, as the emergency stop.
    static constexpr int offValue = 0;
    // A servo's centre on this board: every channel's home unless set otherwise.
    static constexpr int centreValue = 19;
    static constexpr int fastestSpeed = 2550;
    static constexpr int largestAccel = 100000;

    struct Channel
    {
        std::string name; // UTF-8; empty when the channel has none
        int min = 1;
        int max = highestValue;
        int home = centreValue;
        // The most the value may change in a second, and the most that rate may change in a
        // second; 0: no limit.
        int speed = 0;
        int accel = 0;

        // A change of this channel ramps rather than jumps.
        bool pacesMoves() const { return speed > 0 || accel > 0; }

        bool operator==(const Channel &) const = default;
    };

    // What happens when a batch is stopped before its end.
    enum class StopPose { None, Home, Off };

    const Channel &channel(int number) const { return m_channels[index(number)]; }
    void setChannel(int number, Channel channel) { m_channels[index(number)] = std::move(channel); }
    StopPose stopPose() const { return m_stopPose; }
    void setStopPose(StopPose pose) { m_stopPose = pose; }

    static bool isChannel(std::int64_t number) { return number >= 1 && number <= channelCount; }
    // Whether a frame may carry this value to this channel: 0, or within the channel's limits.
    bool accepts(int number, int value) const;
    // Where a slider that moved from `from` to `to` comes to rest: the value itself when the
    // channel accepts it, but for a drag let go at 0 below a minimum; one step (not a drag) down
    // from the minimum, 0; otherwise below the limits the minimum, above them the maximum.
    int restingValue(int number, int from, int to, bool dragged) const;
    // The channel with this name, without regard to case.
    std::optional<int> channelNamed(std::string_view name) const;

    bool operator==(const ChannelTable &) const = default;

private:
    static std::size_t index(int number) { return static_cast<std::size_t>(number - 1); }

    std::array<Channel, channelCount> m_channels{};
    StopPose m_stopPose = StopPose::None;
};

// The same name without regard to case, for any script, once both are in one Unicode form (NFC).
bool sameName(std::string_view a, std::string_view b);

} // namespace pwm20
