#include "Ramp.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pwm20 {

Ramp::Ramp(double from, double velocity, double target, double speed, double accel)
    : m_from(from), m_accel(accel)
{
    const double topSpeed = speed > 0 ? speed : std::numeric_limits<double>::infinity();
    const double rest = target - from;
    if (accel <= 0) {
        // Starts and stops at once, at full speed all the way.
        m_direction = rest < 0 ? -1 : 1;
        m_distance = std::abs(rest);
        m_startSpeed = m_peakSpeed = topSpeed;
        m_cruiseSeconds = m_distance / topSpeed;
        return;
    }
    const double start = std::clamp(velocity, -topSpeed, topSpeed);
    // Where it would come to rest braking now decides which way it has to go.
    const double stopsAfter = start * std::abs(start) / (2 * accel);
    const double beyond = rest - stopsAfter;
    m_direction = beyond > 0 ? 1 : beyond < 0 ? -1 : (start < 0 ? -1 : 1);
    m_distance = m_direction * rest;
    m_startSpeed = m_direction * start;
    // Speeding up from the start speed to the peak, then braking from it to rest, covers the way.
    m_peakSpeed = std::sqrt(std::max(0.0, accel * m_distance + m_startSpeed * m_startSpeed / 2));
    if (m_peakSpeed > topSpeed) {
        m_peakSpeed = topSpeed;
        const double ramps = (2 * topSpeed * topSpeed - m_startSpeed * m_startSpeed) / (2 * accel);
        m_cruiseSeconds = std::max(0.0, (m_distance - ramps) / topSpeed);
    }
    m_accelSeconds = std::max(0.0, (m_peakSpeed - m_startSpeed) / accel);
    m_brakeSeconds = m_peakSpeed / accel;
}

double Ramp::position(double seconds) const
{
    const double t = std::clamp(seconds, 0.0, duration());
    double along = 0;
    if (t <= m_accelSeconds) {
        along = m_startSpeed * t + m_accel * t * t / 2;
    } else {
        along = m_startSpeed * m_accelSeconds + m_accel * m_accelSeconds * m_accelSeconds / 2 +
                m_peakSpeed * std::min(t - m_accelSeconds, m_cruiseSeconds);
        const double braking = t - m_accelSeconds - m_cruiseSeconds;
        if (braking > 0)
            along += m_peakSpeed * braking - m_accel * braking * braking / 2;
    }
    // The end is the target exactly, whatever the sums above leave.
    return t >= duration() ? target() : m_from + m_direction * along;
}

double Ramp::velocity(double seconds) const
{
    if (seconds < 0 || seconds >= duration())
        return 0;
    double along = m_peakSpeed;
    if (seconds < m_accelSeconds)
        along = m_startSpeed + m_accel * seconds;
    else if (seconds > m_accelSeconds + m_cruiseSeconds)
        along = m_peakSpeed - m_accel * (seconds - m_accelSeconds - m_cruiseSeconds);
    return m_direction * along;
}

} // namespace pwm20
