#include "Glide.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pwm20 {
namespace {

std::size_t indexOf(int channel)
{
    return static_cast<std::size_t>(channel - 1);
}

} // namespace

Glide::Glide(std::vector<GlideChannel> targets, std::span<const int> held, std::int64_t durationNs,
             MoveShape shape, std::int64_t frameNs)
    : m_durationNs(std::max<std::int64_t>(durationNs, 0)), m_shape(shape),
      m_frameNs(std::max<std::int64_t>(frameNs, 1))
{
    for (const GlideChannel &entry : targets) {
        std::erase_if(m_tracks, [&](const Track &track) { return track.channel == entry.channel; });
        const int start = held[indexOf(entry.channel)];
        m_tracks.push_back({entry.channel, start, entry.target, start, entry.exact});
    }
    for (const Track &track : m_tracks) {
        if (glides(track))
            m_travel += std::abs(track.target - track.start);
    }
}

double Glide::slotTravel(std::int64_t slotNs) const
{
    // About how far each channel falls behind between two of its frames when the slots go round.
    // A step at least, which also spares a move with no travel a division by zero.
    if (m_durationNs == 0)
        return 1;
    return std::max(1.0,
                    m_travel * static_cast<double>(slotNs) / static_cast<double>(m_durationNs));
}

std::int64_t Glide::slotsLeft(std::int64_t nowNs, std::int64_t slotNs) const
{
    // Slots whose frame is written by the end of the move.
    return nowNs > m_durationNs ? 0 : (m_durationNs - nowNs) / slotNs + 1;
}

std::int64_t Glide::framesNeeded(std::int64_t nowNs, std::span<const int> held,
                                 double slotTravel) const
{
    std::int64_t needed = 0;
    for (const Track &track : m_tracks) {
        if (held[indexOf(track.channel)] != track.target)
            needed +=
                1 + static_cast<std::int64_t>(
                        std::abs(track.target - idealOf(track, nowNs + m_frameNs)) / slotTravel);
    }
    return needed;
}

std::optional<ChannelValue> Glide::nextFrame(std::int64_t nowNs, std::span<const int> held,
                                             std::int64_t slotNs)
{
    const auto holds = [&](const Track &track) { return held[indexOf(track.channel)]; };
    const auto open = std::ranges::count_if(
        m_tracks, [&](const Track &track) { return !track.exact && holds(track) != track.target; });
    slotNs = std::max(slotNs, m_frameNs);
    // Once no more slots are left than channels off target, each one finishes a channel.
    const std::int64_t slots = slotsLeft(nowNs, slotNs);
    if (open > 0 && open >= slots)
        return finishOne(held, m_durationNs == 0);

    // When the frames still needed would fill the slots left, the channels near their targets
    // are finished early to make room.
    const double travel = slotTravel(slotNs);
    const bool crowded = framesNeeded(nowNs, held, travel) >= slots;
    const std::int64_t arrivalNs = nowNs + m_frameNs;
    Track *chosen = nullptr;
    double chosenPriority = 0;
    int chosenValue = 0;
    for (Track &track : m_tracks) {
        const double ideal = idealOf(track, arrivalNs);
        const double lag = std::abs(ideal - holds(track));
        // When slots are short, a channel within a slot's travel of its target is sent the
        // target at once, which spares it a frame later; a channel sent its target early
        // waits there.
        const bool ends = crowded && !track.exact && std::abs(track.target - ideal) <= travel;
        const int value = ends ? notBack(track, track.target) : glideValue(track, nowNs);
        // The frame spared counts as a slot's travel.
        const double priority = lag + (ends ? travel : 0);
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

std::int64_t Glide::nextDueNs(std::int64_t nowNs, std::span<const int> held,
                              std::int64_t slotNs) const
{
    slotNs = std::max(slotNs, m_frameNs);
    // Crowding and the last slots begin no sooner than the slots left fall to the frames needed
    // now, which only shrink; already crowded, ask again a slot later.
    const std::int64_t crowdedNs =
        m_durationNs - framesNeeded(nowNs, held, slotTravel(slotNs)) * slotNs;
    std::int64_t dueNs = std::max(crowdedNs, nowNs + slotNs);
    // Otherwise the first channel whose glide moves on from the value it holds, at once for one
    // that lags; by the end of the move every channel off target has its frame due.
    for (const Track &track : m_tracks) {
        const int holds = held[indexOf(track.channel)];
        if (holds == track.target)
            continue;
        std::int64_t lo = nowNs;
        std::int64_t hi = std::max(nowNs + 1, std::min(dueNs, m_durationNs));
        if (glideValue(track, hi) == holds)
            continue;
        while (hi - lo > 1) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            (glideValue(track, mid) == holds ? lo : hi) = mid;
        }
        dueNs = hi;
    }
    return dueNs;
}

std::optional<ChannelValue> Glide::finishOne(std::span<const int> held, bool inOrder)
{
    Track *chosen = nullptr;
    int chosenRest = 0;
    for (Track &track : m_tracks) {
        const int rest = std::abs(track.target - held[indexOf(track.channel)]);
        if (!track.exact && rest > chosenRest && !(inOrder && chosen)) {
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

void Glide::release(int channel)
{
    std::erase_if(m_tracks, [&](const Track &track) { return track.channel == channel; });
}

bool Glide::hasExact() const
{
    return std::ranges::any_of(m_tracks, &Track::exact);
}

bool Glide::keepsCurve(int channel) const
{
    const auto found = std::ranges::find(m_tracks, channel, &Track::channel);
    return found != m_tracks.end() && found->exact && glides(*found);
}

int Glide::notBack(const Track &track, int value)
{
    return track.target >= track.start ? std::max(value, track.sent) : std::min(value, track.sent);
}

int Glide::glideValue(const Track &track, std::int64_t ns) const
{
    const auto value = static_cast<int>(std::lround(idealOf(track, ns + m_frameNs)));
    return track.exact ? value : notBack(track, value);
}

double Glide::idealOf(const Track &track, std::int64_t ns) const
{
    // A pose has no time to glide in.
    if (!glides(track) || ns >= m_durationNs)
        return track.target;
    const double s = std::max(0.0, static_cast<double>(ns) / static_cast<double>(m_durationNs));
    return track.start + (track.target - track.start) * m_shape.progress(s);
}

bool Glide::glides(const Track &track)
{
    // Off is no position: a channel switched on has none to glide from, one switched off none to
    // glide to, and the values between would pass below its limits. It goes at once.
    return track.start != 0 && track.target != 0;
}

} // namespace pwm20
