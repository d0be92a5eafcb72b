#include "MoveTiming.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pwm20 {
namespace {

constexpr double nsPerSecond = 1e9;

// The least fraction of the time a linear move must spend speeding up (and slowing down) so
// that no channel passes its acceleration limit in `seconds`, where `accelNeed` is the largest
// travel / accel (s²); more than a half when there is no such fraction.
double leastRampFraction(double accelNeed, double seconds)
{
    if (accelNeed <= 0)
        return 0;
    // The ramp fraction r keeps travel / accel <= r (1 - r) seconds².
    const double share = accelNeed / (seconds * seconds);
    return share > 0.25 ? 1 : (1 - std::sqrt(1 - 4 * share)) / 2;
}

// Whether a linear move of `seconds` keeps every limit: the top speed of a trapezoid that
// spends r of its time on each ramp is travel / ((1 - r) seconds).
bool linearFits(double speedNeed, double accelNeed, double seconds)
{
    const double ramp = leastRampFraction(accelNeed, seconds);
    return ramp <= 0.5 && speedNeed <= (1 - ramp) * seconds * (1 + 1e-12);
}

} // namespace

double MoveShape::progress(double fraction) const
{
    const double s = std::clamp(fraction, 0.0, 1.0);
    if (smooth)
        return (1 - std::cos(std::numbers::pi * s)) / 2;
    const double r = rampFraction;
    if (r <= 0)
        return s;
    const double top = 1 / (1 - r); // the top speed that covers the whole way
    if (s < r)
        return top * s * s / (2 * r);
    if (s > 1 - r)
        return 1 - top * (1 - s) * (1 - s) / (2 * r);
    return top * (s - r / 2);
}

MoveTiming timeMove(std::span<const MoveTravel> channels, std::int64_t askedNs, bool smooth)
{
    MoveTiming timing{askedNs, askedNs, {smooth, 0}, 0, MoveTiming::Limit::None};
    // The largest travel / speed (s) and travel / accel (s²), and whose they are.
    double speedNeed = 0;
    double accelNeed = 0;
    int speedChannel = 0;
    int accelChannel = 0;
    for (const MoveTravel &entry : channels) {
        if (entry.speed > 0 && entry.travel / entry.speed > speedNeed) {
            speedNeed = entry.travel / entry.speed;
            speedChannel = entry.channel;
        }
        if (entry.accel > 0 && entry.travel / entry.accel > accelNeed) {
            accelNeed = entry.travel / entry.accel;
            accelChannel = entry.channel;
        }
    }
    // The least seconds each limit alone allows, and with both together.
    double speedLeast = speedNeed;
    double accelLeast = 2 * std::sqrt(accelNeed);
    double least = 0;
    if (smooth) {
        // Half a cosine peaks at pi/2 times the even speed, and its acceleration at pi²/2.
        speedLeast *= std::numbers::pi / 2;
        accelLeast = std::numbers::pi * std::sqrt(accelNeed / 2);
        least = std::max(speedLeast, accelLeast);
    } else if (accelNeed <= 0) {
        least = speedLeast;
    } else {
        // The fit only gets easier with more time: halve the gap between a time too short and
        // one long enough.
        double shortNs = std::max(speedLeast, accelLeast);
        double enough = 2 * shortNs;
        if (linearFits(speedNeed, accelNeed, shortNs))
            enough = shortNs;
        for (int step = 0; step < 60 && enough - shortNs > 1e-9; ++step) {
            const double middle = (shortNs + enough) / 2;
            (linearFits(speedNeed, accelNeed, middle) ? enough : shortNs) = middle;
        }
        least = enough;
    }
    const double askedSeconds = double(askedNs) / nsPerSecond;
    if (least > askedSeconds) {
        timing.durationNs = std::int64_t(std::ceil(least * 1000 - 1e-6)) * 1'000'000;
        const bool speedHolds = speedLeast >= accelLeast;
        timing.limit = speedHolds ? MoveTiming::Limit::Speed : MoveTiming::Limit::Accel;
        timing.channel = speedHolds ? speedChannel : accelChannel;
    }
    if (!smooth && timing.durationNs > 0)
        timing.shape.rampFraction =
            std::min(0.5, leastRampFraction(accelNeed, double(timing.durationNs) / nsPerSecond));
    return timing;
}

} // namespace pwm20
