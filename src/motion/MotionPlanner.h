#pragma once

#include "Glide.h"
#include "MoveTiming.h"
#include "Ramp.h"
#include "channels/GroupFrames.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace pwm20 {

// What happens when a channel moves, whoever moves it: the window's rows and buttons, a batch,
// the stop pose. Off is no position: a channel switched off, or on from off, goes at once, as
// does every change of a channel without limits, in the order asked. A channel with a speed or
// an acceleration limit ramps there instead, from where it is and as fast as it is going, and
// a timed move of several channels keeps every limit by taking longer. Every frame carries the
// planned value for the moment it reaches the board, rounded, and never repeats the value the
// board holds. Times are nanoseconds on the line's clock; `held` is what the board holds, index
// channel - 1.
class MotionPlanner
{
public:
    MotionPlanner(const ChannelTable &channels, std::int64_t frameNs);

    // `channel` is asked at `nowNs` to go to `target` (within its limits, or 0).
    void moveTo(int channel, int target, std::span<const int> held, std::int64_t nowNs,
                int line = 0);
    // Whether moveTo() would ramp rather than send one frame at once.
    bool ramps(int channel, int target, std::span<const int> held) const;
    // A frame that goes at once as it is, after those queued before it.
    void queue(const PlannedFrame &frame);
    // A timed move from `startNs`: every channel to its target in the time asked, or longer when
    // a channel's limits need it.
    MoveTiming startMove(std::span<const ChannelValue> targets, std::span<const int> held,
                         std::int64_t startNs, std::int64_t askedNs, bool smooth, int line);
    // When the timed move started last ends.
    std::int64_t moveEndNs() const { return m_moveEndNs; }
    // Nothing more is sent: the port is gone.
    void clear();
    // Every ramp ends where it is: all-off.
    void endRamps();
    // A change that goes at once ends the channel's ramp.
    void endRamp(int channel) { m_ramps[index(channel)].reset(); }
    // A batch is cut short: the frames queued are dropped, while ramps and the move go on until
    // the stop pose takes their channels over and endMove() drops the rest of the move.
    void cutShort() { m_queue.clear(); }
    void endMove() { m_glide.reset(); }
    // The channel ramps or moves now.
    bool moving(int channel) const;

    // Something is still to be sent at `nowNs`, or a ramp or move is still on its way; ramps
    // asked by hand (line 0) count only with `handRamps`.
    bool busy(std::span<const int> held, std::int64_t nowNs, bool handRamps = true) const;
    // The frame for the slot that reaches the board at `arrivalNs`, if any channel needs one
    // then; slots come `slotNs` apart.
    std::optional<PlannedFrame> nextFrame(std::int64_t arrivalNs, std::span<const int> held,
                                          std::int64_t slotNs);
    // The earliest arrival after the slot arriving at `arrivalNs` that may carry a frame.
    std::int64_t nextArrivalNs(std::int64_t arrivalNs, std::span<const int> held,
                               std::int64_t slotNs) const;
    // The line stood still for `ns` (the machine was busy): motion resumes where it was rather
    // than jump ahead. True when the move under way ends that much later.
    bool delay(std::int64_t ns);

private:
    struct RampTrack
    {
        Ramp ramp;
        std::int64_t startNs = 0;
        int target = 0;
        int line = 0;

        int valueAt(std::int64_t ns) const;
        // Switched off meanwhile (all-off, a hand), or resting on its target once its time is up.
        bool ended(int holds, std::int64_t ns) const;
    };
    struct State
    {
        double position = 0;
        double velocity = 0;
    };

    static std::size_t index(int channel) { return static_cast<std::size_t>(channel - 1); }
    // What the board will hold once the frames queued have gone.
    int willHold(int channel, std::span<const int> held) const;
    State stateAt(int channel, std::int64_t ns, std::span<const int> held) const;
    void endRampOf(int channel);
    std::optional<PlannedFrame> rampFrame(std::int64_t arrivalNs, std::span<const int> held);
    std::optional<PlannedFrame> glideFrame(std::int64_t arrivalNs, std::span<const int> held,
                                           std::int64_t slotNs);
    // The first arrival from `fromNs` on at which the ramp's value differs from `holds`.
    std::int64_t rampDueNs(const RampTrack &track, int holds, std::int64_t fromNs) const;

    const ChannelTable &m_channels;
    std::int64_t m_frameNs = 1;
    std::deque<PlannedFrame> m_queue;
    std::array<std::optional<RampTrack>, ChannelTable::channelCount> m_ramps{};
    // When each channel's last frame reaches the board: a new ramp goes on from there.
    std::array<std::int64_t, ChannelTable::channelCount> m_lastArrivalNs{};
    std::optional<Glide> m_glide;
    std::int64_t m_moveStartNs = 0;
    std::int64_t m_moveEndNs = 0;
    int m_moveLine = 0;
    // Ramps and the move share the slots by turns when both need them.
    bool m_rampsTurn = false;
};

} // namespace pwm20
