#include "foundation/SystemClock.h"

Clock::TimePoint SystemClock::now() const
{
    return std::chrono::steady_clock::now();
}

void SystemClock::waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                            TimePoint deadline) const
{
    condition.wait_until(lock, deadline);
}

std::shared_ptr<const Clock> SystemClock::shared()
{
    static const auto clock = std::make_shared<const SystemClock>();
    return clock;
}
