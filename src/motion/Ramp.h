#pragma once

namespace pwm20 {

// The quickest way for one channel from where it is, moving as it moves, to a target at rest,
// never faster than `speed` and, with `accel`, never speeding up or slowing down faster than
// `accel`: with both a trapezoid of speed (a triangle when the way is short), and when it moves
// too fast to stop before the target, past it and back. Without `accel` it starts and stops at
// once. Values and times are unrounded: frames round the position at the moment they land.
class Ramp
{
public:
    // `speed` in values a second and `accel` in values a second squared; 0: no limit (not both).
    Ramp(double from, double velocity, double target, double speed, double accel);

    // Seconds from the start until it rests on the target.
    double duration() const { return m_accelSeconds + m_cruiseSeconds + m_brakeSeconds; }
    double position(double seconds) const;
    double velocity(double seconds) const;
    double target() const { return m_from + m_direction * m_distance; }

private:
    double m_from = 0;
    double m_direction = 1;  // of the way to the target, after any stop past it
    double m_distance = 0;   // along that direction
    double m_startSpeed = 0; // along that direction: negative while it still moves away
    double m_peakSpeed = 0;
    double m_accel = 0;
    double m_accelSeconds = 0;
    double m_cruiseSeconds = 0;
    double m_brakeSeconds = 0;
};

} // namespace pwm20
