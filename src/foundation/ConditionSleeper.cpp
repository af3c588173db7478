#include "foundation/ConditionSleeper.h"

#include "foundation/SystemClock.h"

ConditionSleeper::ConditionSleeper(std::shared_ptr<const Clock> clock)
    : m_clock(clock ? std::move(clock) : SystemClock::shared())
{
}

bool ConditionSleeper::sleepFor(double seconds)
{
    std::unique_lock lock(m_mutex);
    const Clock::TimePoint deadline = m_clock->now() + Clock::durationFromSeconds(seconds);
    while (!m_cancelled && m_clock->now() < deadline)
        m_clock->waitUntil(m_condition, lock, deadline);
    return !m_cancelled;
}

void ConditionSleeper::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_condition.notify_all();
}

void ConditionSleeper::reset()
{
    std::lock_guard lock(m_mutex);
    m_cancelled = false;
}

bool ConditionSleeper::isCancelled() const
{
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}
