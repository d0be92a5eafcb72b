#include "FrameReader.h"

#include <cstdio>

namespace pwm20board {
namespace {

constexpr std::uint8_t frameStart = 'S';
constexpr std::uint8_t frameEnd = 'E';
constexpr int channelCount = 20;

// "  +4.2 ms" after the frame before, "  same read" for a frame that came with it; nothing for the
// first frame.
std::string arrivalText(const LineEvent &frame)
{
    if (frame.sameRead)
        return "  same read";
    if (!frame.sinceFrameBefore)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "  +%.1f ms",
                  std::chrono::duration<double, std::milli>(*frame.sinceFrameBefore).count());
    return text;
}

} // namespace

std::string describe(const LineEvent &event)
{
    if (event.kind == LineEvent::Kind::Frame)
        return "ch " + std::to_string(event.channel) + " = " + std::to_string(event.value) +
               arrivalText(event);
    std::string text = "garbage: " + std::to_string(event.garbageCount) + " byte(s)";
    for (std::uint8_t byte : event.garbage) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", byte);
        text += hex;
    }
    return event.garbageCount > event.garbage.size() ? text + " ..." : text;
}

std::vector<LineEvent> FrameReader::feed(std::span<const std::uint8_t> bytes,
                                         Clock::time_point readAt)
{
    std::vector<LineEvent> events;
    bool frameInThisRead = false;
    for (std::uint8_t byte : bytes) {
        m_pending.push_back(byte);
        while (!m_pending.empty()) {
            const bool badStart = m_pending[0] != frameStart;
            const bool badChannel =
                m_pending.size() >= 2 && (m_pending[1] < 1 || m_pending[1] > channelCount);
            const bool badEnd = m_pending.size() == 4 && m_pending[3] != frameEnd;
            if (badStart || badChannel || badEnd) {
                dropFirst();
                continue;
            }
            if (m_pending.size() == 4) {
                if (std::optional<LineEvent> garbage = endGarbageRun())
                    events.push_back(*garbage);
                LineEvent frame{LineEvent::Kind::Frame, m_pending[1], m_pending[2], {}, 0, {},
                                frameInThisRead};
                if (!frameInThisRead && m_lastFrameReadAt)
                    frame.sinceFrameBefore = readAt - *m_lastFrameReadAt;
                events.push_back(frame);
                frameInThisRead = true;
                m_lastFrameReadAt = readAt;
                m_pending.clear();
            }
            break;
        }
    }
    return events;
}

std::optional<LineEvent> FrameReader::endGarbageRun()
{
    if (m_garbageRun.garbageCount == 0)
        return std::nullopt;
    LineEvent run = m_garbageRun;
    m_garbageRun.garbage.clear();
    m_garbageRun.garbageCount = 0;
    return run;
}

void FrameReader::dropFirst()
{
    if (m_garbageRun.garbage.size() < garbageShown)
        m_garbageRun.garbage.push_back(m_pending.front());
    ++m_garbageRun.garbageCount;
    m_pending.erase(m_pending.begin());
}

} // namespace pwm20board
