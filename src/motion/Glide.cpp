#include "Glide.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace pwm20 {
namespace {

std::size_t indexOf(int channel)
{
    return static_cast<std::size_t>(channel - 1);
}

} // namespace

Glide::Glide(std::vector<GlideChannel> targets, std::span<const int> held, std::int64_t durationNs,
             bool smooth, std::int64_t frameNs)
    : m_durationNs(std::max<std::int64_t>(durationNs, 0)), m_smooth(smooth),
      m_frameNs(std::max<std::int64_t>(frameNs, 1))
{
    for (const GlideChannel &entry : targets) {
        std::erase_if(m_tracks, [&](const Track &track) { return track.channel == entry.channel; });
        const int start = held[indexOf(entry.channel)];
        m_tracks.push_back({entry.channel, start, entry.target, start});
    }
    double travel = 0;
    for (const Track &track : m_tracks) {
        if (glides(track))
            travel += std::abs(track.target - track.start);
    }
    // How far all channels together travel in a slot: about how far each falls behind between two
    // of its frames when the slots go round. A step at least, which also spares a move with no
    // travel a division by zero.
    if (m_durationNs > 0)
        m_slotTravel = std::max(1.0, travel * static_cast<double>(m_frameNs) /
                                         static_cast<double>(m_durationNs));
}

std::optional<ChannelValue> Glide::nextFrame(std::int64_t nowNs, std::span<const int> held)
{
    const auto holds = [&](const Track &track) { return held[indexOf(track.channel)]; };
    const auto open = std::ranges::count_if(
        m_tracks, [&](const Track &track) { return holds(track) != track.target; });
    if (open == 0)
        return std::nullopt;
    // Slots whose frame is written by the end of the move; once no more of them are left than
    // channels off target, each one finishes a channel.
    const std::int64_t slotsLeft =
        nowNs > m_durationNs ? 0 : (m_durationNs - nowNs) / m_frameNs + 1;
    if (open >= slotsLeft)
        return finishOne(held, m_durationNs == 0);

    const std::int64_t arrivalNs = nowNs + m_frameNs;
    // The frames the channels still need at about a slot's travel each: when they would fill the
    // slots left, the channels near their targets are finished early to make room.
    std::int64_t needed = 0;
    for (const Track &track : m_tracks) {
        if (holds(track) != track.target)
            needed += 1 + static_cast<std::int64_t>(
                              std::abs(track.target - idealOf(track, arrivalNs)) / m_slotTravel);
    }
    const bool crowded = needed >= slotsLeft;

    Track *chosen = nullptr;
    double chosenPriority = 0;
    int chosenValue = 0;
    for (Track &track : m_tracks) {
        const bool upward = track.target >= track.start;
        const double ideal = idealOf(track, arrivalNs);
        const double lag = std::abs(ideal - holds(track));
        const double rest = std::abs(track.target - ideal);
        // When slots are short, a channel within a slot's travel of its target is sent the
        // target at once, which spares it a frame later.
        const bool ends = crowded && rest <= m_slotTravel;
        const int glide = ends ? track.target : static_cast<int>(std::lround(ideal));
        // Never behind a value sent before: a channel sent its target early waits there.
        const int value = upward ? std::max(glide, track.sent) : std::min(glide, track.sent);
        // The frame spared counts as a slot's travel.
        const double priority = lag + (ends ? m_slotTravel : 0);
        if (value != holds(track) && (!chosen || priority > chosenPriority)) {
            chosen = &track;
            chosenPriority = priority;
            chosenValue = value;
        }
    }
    if (!chosen)
        return std::nullopt;
    chosen->sent = chosenValue;
    return ChannelValue{chosen->channel, chosenValue};
}

std::optional<ChannelValue> Glide::finishOne(std::span<const int> held, bool inOrder)
{
    Track *chosen = nullptr;
    int chosenRest = 0;
    for (Track &track : m_tracks) {
        const int rest = std::abs(track.target - held[indexOf(track.channel)]);
        if (rest > chosenRest && !(inOrder && chosen)) {
            chosen = &track;
            chosenRest = rest;
        }
    }
    if (!chosen)
        return std::nullopt;
    chosen->sent = chosen->target;
    return ChannelValue{chosen->channel, chosen->target};
}

bool Glide::finished(std::span<const int> held) const
{
    return std::ranges::all_of(
        m_tracks, [&](const Track &track) { return held[indexOf(track.channel)] == track.target; });
}

double Glide::ideal(int channel, std::int64_t ns) const
{
    const auto found = std::ranges::find(m_tracks, channel, &Track::channel);
    return found == m_tracks.end() ? std::nan("") : idealOf(*found, ns);
}

double Glide::idealOf(const Track &track, std::int64_t ns) const
{
    // A pose has no time to glide in.
    if (!glides(track) || ns >= m_durationNs)
        return track.target;
    const double s = std::max(0.0, static_cast<double>(ns) / static_cast<double>(m_durationNs));
    const double eased = m_smooth ? (1 - std::cos(std::numbers::pi * s)) / 2 : s;
    return track.start + (track.target - track.start) * eased;
}

bool Glide::glides(const Track &track)
{
    // Off is no position: a channel switched on has none to glide from, one switched off none to
    // glide to, and the values between would pass below its limits. It goes at once.
    return track.start != 0 && track.target != 0;
}

} // namespace pwm20
