#include "foundation/SynchronousTicker.h"

#include "foundation/UserDefaults.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The number of ticks in duration. A quotient a rounding error away from a
// whole number is that number: 0.28 s at 25 ticks per second is 7 ticks, not
// 7 and a near-zero eighth.
double tick_count(double duration, double tick)
{
    const double quotient = duration / tick;
    const double nearest = std::round(quotient);
    if (std::abs(quotient - nearest) <= 1e-9 * std::max(1.0, nearest))
        return std::max(1.0, nearest);
    return std::ceil(quotient);
}

} // namespace

void synchronous_ticker(const TickBlock& block, double duration, double ticksPerSecond, Sleeper& sleeper)
{
    if (!(duration > 0))
        return;
    const bool usableRate = ticksPerSecond > 0 && std::isfinite(ticksPerSecond);
    const double tick = usableRate ? 1.0 / ticksPerSecond : duration;
    const double ticks = std::isinf(tick) ? 1.0 : tick_count(duration, tick);
    bool stop = false;
    // The remaining time comes from the tick index, so it carries no error
    // summed over many ticks.
    for (uint64_t index = 0; !stop && static_cast<double>(index) < ticks; ++index) {
        const double remaining = duration - static_cast<double>(index) * tick;
        sleeper.sleepFor(std::min(tick, remaining));
        block(remaining, stop);
    }
}

void synchronous_ticker(const TickBlock& block, double duration, Sleeper& sleeper)
{
    synchronous_ticker(block, duration, UserDefaults::standard().numberOfExecutionNotificationsPerSecond(), sleeper);
}
