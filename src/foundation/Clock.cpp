#include "foundation/Clock.h"

#include <cmath>

std::chrono::nanoseconds Clock::durationFromSeconds(double seconds)
{
    using std::chrono::nanoseconds;
    constexpr nanoseconds longest = std::chrono::hours(24 * 365 * 100);
    if (!(seconds > 0))
        return nanoseconds::zero();
    const double nanos = seconds * 1e9;
    if (nanos >= static_cast<double>(longest.count()))
        return longest;
    return nanoseconds(static_cast<nanoseconds::rep>(std::trunc(nanos)));
}
