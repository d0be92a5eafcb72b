#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pwm20board {

// What a run of line bytes turned out to be: a servo frame, or a run of bytes that formed none.
struct LineEvent
{
    enum class Kind { Frame, Garbage };

    Kind kind = Kind::Frame;
    int channel = 0;
    int value = 0;
    std::vector<std::uint8_t> garbage; // the run's first bytes, for showing
    std::size_t garbageCount = 0;      // the run's length
    // A frame's time, as far as a pseudo-terminal tells it: how long after the read that completed
    // the frame before came the read that completed this one. None for the first frame, and none
    // but sameRead for the frames after the first of one read: they arrived together.
    std::optional<std::chrono::nanoseconds> sinceFrameBefore;
    bool sameRead = false;

    bool operator==(const LineEvent &) const = default;
};

// An event as the simulator shows it: "ch 5 = 100  +4.2 ms" (nothing after the first frame),
// "ch 6 = 20  same read", "garbage: 3 byte(s) 7a 7a 7a" (" ..." after the first bytes of a long
// run).
std::string describe(const LineEvent &event);

// Reads the byte stream as servo frames ('S', channel 1..20, value, 'E'), however the bytes are
// split across reads, and stamps each frame with its read's time. Bytes that form no frame make one
// garbage run, reported once; the reader picks up again at the next 'S' that starts a frame, even
// one inside a broken frame.
class FrameReader
{
public:
    static constexpr std::size_t garbageShown = 16;

    using Clock = std::chrono::steady_clock;

    // The bytes of one read, returned at readAt.
    std::vector<LineEvent> feed(std::span<const std::uint8_t> bytes, Clock::time_point readAt = {});
    // Ends the current garbage run, as at a pause of the line or its end.
    std::optional<LineEvent> endGarbageRun();

private:
    void dropFirst();

    std::vector<std::uint8_t> m_pending;
    LineEvent m_garbageRun{LineEvent::Kind::Garbage, 0, 0, {}, 0, {}, false};
    std::optional<Clock::time_point> m_lastFrameReadAt;
};

} // namespace pwm20board
