#include "SteadyClock.h"

namespace pwm20 {

const SteadyClock &SteadyClock::instance()
{
    static const SteadyClock clock;
    return clock;
}

} // namespace pwm20
