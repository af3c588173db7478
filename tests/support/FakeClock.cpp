#include "support/FakeClock.h"

Clock::TimePoint FakeClock::now() const
{
    return TimePoint(std::chrono::duration_cast<TimePoint::duration>(std::chrono::nanoseconds(m_elapsed.load())));
}

void FakeClock::waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock, TimePoint deadline) const
{
    if (now() < deadline)
        condition.wait_for(lock, std::chrono::milliseconds(1));
}

void FakeClock::advance(double seconds)
{
    m_elapsed += durationFromSeconds(seconds).count();
}
