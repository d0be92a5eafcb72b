#include "FrameReader.h"

namespace pwm20board {
namespace {

constexpr std::uint8_t frameStart = 'S';
constexpr std::uint8_t frameEnd = 'E';
constexpr int channelCount = 20;

} // namespace

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
