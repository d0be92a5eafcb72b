#include "MotionPlanner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pwm20 {
namespace {

constexpr double nsPerSecond = 1e9;
// How far ahead a slow ramp is searched for its next frame before the player just wakes again.
constexpr int mostSlotsAhead = 4096;

double seconds(std::int64_t ns)
{
    return double(ns) / nsPerSecond;
}

} // namespace

MotionPlanner::MotionPlanner(const ChannelTable &channels, std::int64_t frameNs)
    : m_channels(channels), m_frameNs(std::max<std::int64_t>(frameNs, 1))
{}

int MotionPlanner::RampTrack::valueAt(std::int64_t ns) const
{
    return static_cast<int>(std::lround(ramp.position(seconds(ns - startNs))));
}

bool MotionPlanner::RampTrack::ended(int holds, std::int64_t ns) const
{
    return holds == ChannelTable::offValue ||
           (holds == target && seconds(ns - startNs) >= ramp.duration());
}

int MotionPlanner::willHold(int channel, std::span<const int> held) const
{
    const auto queued = std::find_if(m_queue.rbegin(), m_queue.rend(),
                                     [&](const auto &frame) { return frame.channel == channel; });
    return queued == m_queue.rend() ? held[index(channel)] : queued->value;
}

bool MotionPlanner::ramps(int channel, int target, std::span<const int> held) const
{
    const ChannelTable::Channel &limits = m_channels.channel(channel);
    const int from = willHold(channel, held);
    // Off is no position to ramp from or to, and a value the limits refuse (a setup changed
    // since) is none either.
    return limits.pacesMoves() && target != ChannelTable::offValue &&
           from != ChannelTable::offValue && m_channels.accepts(channel, from);
}

MotionPlanner::State MotionPlanner::stateAt(int channel, std::int64_t ns,
                                            std::span<const int> held) const
{
    if (const auto &track = m_ramps[index(channel)]) {
        const double t = seconds(ns - track->startNs);
        return {track->ramp.position(t), track->ramp.velocity(t)};
    }
    if (m_glide) {
        const std::int64_t t = ns - m_moveStartNs;
        const double position = m_glide->ideal(channel, t);
        if (!std::isnan(position) && t < m_moveEndNs - m_moveStartNs) {
            constexpr std::int64_t stepNs = 1'000'000;
            const double velocity =
                (m_glide->ideal(channel, t + stepNs) - m_glide->ideal(channel, t - stepNs)) /
                seconds(2 * stepNs);
            return {position, velocity};
        }
    }
    return {double(willHold(channel, held)), 0};
}

void MotionPlanner::endRampOf(int channel)
{
    m_ramps[index(channel)].reset();
    if (m_glide)
        m_glide->release(channel);
}

void MotionPlanner::moveTo(int channel, int target, std::span<const int> held, std::int64_t nowNs,
                           int line)
{
    if (!ramps(channel, target, held)) {
        endRampOf(channel);
        m_queue.push_back({channel, target, false, false, line});
        return;
    }
    // A frame already on its way decides where the channel is when the new ramp takes over.
    const std::int64_t fromNs = std::max(nowNs, m_lastArrivalNs[index(channel)]);
    const State state = stateAt(channel, fromNs, held);
    endRampOf(channel);
    const ChannelTable::Channel &limits = m_channels.channel(channel);
    m_ramps[index(channel)] =
        RampTrack{Ramp(state.position, state.velocity, target, limits.speed, limits.accel), fromNs,
                  target, line};
}

void MotionPlanner::queue(const PlannedFrame &frame)
{
    m_queue.push_back(frame);
}

MoveTiming MotionPlanner::startMove(std::span<const ChannelValue> targets,
                                    std::span<const int> held, std::int64_t startNs,
                                    std::int64_t askedNs, bool smooth, int line)
{
    std::vector<GlideChannel> glides;
    std::vector<MoveTravel> travels;
    std::vector<int> from(held.begin(), held.end());
    for (const ChannelValue &target : targets) {
        endRampOf(target.channel);
        int &start = from[index(target.channel)];
        start = willHold(target.channel, held);
        // A value the limits refuse (a setup changed since) is no position to glide from: such
        // a channel goes straight to its target, as one that is off does.
        if (!m_channels.accepts(target.channel, start))
            start = ChannelTable::offValue;
        const ChannelTable::Channel &limits = m_channels.channel(target.channel);
        const bool limited = limits.pacesMoves() && start != ChannelTable::offValue &&
                             target.value != ChannelTable::offValue;
        glides.push_back({target.channel, target.value, limited});
        if (limited)
            travels.push_back({target.channel, std::abs(double(target.value - start)), limits.speed,
                               limits.accel});
    }
    const MoveTiming timing = timeMove(travels, askedNs, smooth);
    m_glide.emplace(std::move(glides), from, timing.durationNs, timing.shape, m_frameNs);
    m_moveStartNs = startNs;
    m_moveEndNs = startNs + timing.durationNs;
    m_moveLine = line;
    return timing;
}

void MotionPlanner::clear()
{
    m_queue.clear();
    m_glide.reset();
    endRamps();
}

void MotionPlanner::endRamps()
{
    m_ramps = {};
}

bool MotionPlanner::moving(int channel) const
{
    return m_ramps[index(channel)] || (m_glide && !std::isnan(m_glide->ideal(channel, 0)));
}

bool MotionPlanner::busy(std::span<const int> held, std::int64_t nowNs, bool handRamps) const
{
    if (!m_queue.empty() || (m_glide && !m_glide->finished(held)))
        return true;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const std::optional<RampTrack> &track = m_ramps[index(channel)];
        const int holds = held[index(channel)];
        if (track && (handRamps || track->line != 0) && !track->ended(holds, nowNs))
            return true;
    }
    return false;
}

std::optional<PlannedFrame> MotionPlanner::nextFrame(std::int64_t arrivalNs,
                                                     std::span<const int> held, std::int64_t slotNs)
{
    std::optional<PlannedFrame> frame;
    if (!m_queue.empty()) {
        frame = m_queue.front();
        m_queue.pop_front();
        // A ramp asked behind this frame starts from it once it has landed.
        if (auto &track = m_ramps[index(frame->channel)]; track && track->startNs < arrivalNs)
            track->startNs = arrivalNs;
    } else if (m_glide && m_glide->finished(held)) {
        m_glide.reset();
    }
    if (!frame) {
        // Ramps and the move take the slots by turns while both have frames to send.
        m_rampsTurn = !m_rampsTurn;
        frame = m_rampsTurn || !m_glide ? rampFrame(arrivalNs, held) : std::nullopt;
        if (!frame)
            frame = glideFrame(arrivalNs, held, slotNs);
        if (!frame)
            frame = rampFrame(arrivalNs, held);
    }
    if (frame)
        m_lastArrivalNs[index(frame->channel)] = arrivalNs;
    return frame;
}

std::optional<PlannedFrame> MotionPlanner::rampFrame(std::int64_t arrivalNs,
                                                     std::span<const int> held)
{
    std::optional<PlannedFrame> chosen;
    double chosenLag = 0;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        std::optional<RampTrack> &track = m_ramps[index(channel)];
        if (!track)
            continue;
        const int holds = held[index(channel)];
        // Off meanwhile, or at rest on its target: the ramp is over.
        if (track->ended(holds, arrivalNs)) {
            track.reset();
            continue;
        }
        const int value = track->valueAt(arrivalNs);
        const double lag =
            std::abs(track->ramp.position(seconds(arrivalNs - track->startNs)) - double(holds));
        if (value != holds && (!chosen || lag > chosenLag)) {
            chosen = PlannedFrame{channel, value, false, true, track->line};
            chosenLag = lag;
        }
    }
    return chosen;
}

std::optional<PlannedFrame>
MotionPlanner::glideFrame(std::int64_t arrivalNs, std::span<const int> held, std::int64_t slotNs)
{
    if (!m_glide)
        return std::nullopt;
    const auto frame = m_glide->nextFrame(arrivalNs - m_frameNs - m_moveStartNs, held, slotNs);
    if (!frame)
        return std::nullopt;
    // A channel with limits keeps to the move's curve: its frames are a ramp's.
    return PlannedFrame{frame->channel, frame->value, false, m_glide->keepsCurve(frame->channel),
                        m_moveLine};
}

std::int64_t MotionPlanner::rampDueNs(const RampTrack &track, int holds, std::int64_t fromNs) const
{
    std::int64_t ns = fromNs;
    for (int slot = 0; slot < mostSlotsAhead; ++slot, ns += m_frameNs) {
        if (track.valueAt(ns) != holds || track.ended(holds, ns))
            return ns;
    }
    return ns;
}

std::int64_t MotionPlanner::nextArrivalNs(std::int64_t arrivalNs, std::span<const int> held,
                                          std::int64_t slotNs) const
{
    // Frames that go at once follow each other at the line's pace.
    if (!m_queue.empty())
        return arrivalNs + m_frameNs;
    const std::int64_t nextNs = arrivalNs + std::max(slotNs, m_frameNs);
    std::int64_t dueNs = std::numeric_limits<std::int64_t>::max();
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const std::optional<RampTrack> &track = m_ramps[index(channel)];
        const int holds = held[index(channel)];
        if (track && !track->ended(holds, nextNs))
            dueNs = std::min(dueNs, rampDueNs(*track, holds, nextNs));
    }
    if (m_glide && !m_glide->finished(held)) {
        const std::int64_t nowNs = arrivalNs - m_frameNs - m_moveStartNs;
        dueNs =
            std::min(dueNs, m_moveStartNs + m_glide->nextDueNs(nowNs, held, slotNs) + m_frameNs);
    }
    return dueNs == std::numeric_limits<std::int64_t>::max() ? nextNs : dueNs;
}

bool MotionPlanner::delay(std::int64_t ns)
{
    for (std::optional<RampTrack> &track : m_ramps) {
        if (track)
            track->startNs += ns;
    }
    for (std::int64_t &arrivalNs : m_lastArrivalNs)
        arrivalNs += ns;
    // A move of channels with limits waits too; one without keeps its time, as it always has.
    if (!m_glide || !m_glide->hasExact())
        return false;
    m_moveStartNs += ns;
    m_moveEndNs += ns;
    return true;
}

} // namespace pwm20
