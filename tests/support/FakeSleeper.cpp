#include "support/FakeSleeper.h"

FakeSleeper::FakeSleeper(FakeClock* clock)
    : m_clock(clock)
{
}

bool FakeSleeper::sleepFor(double seconds)
{
    {
        std::lock_guard lock(m_mutex);
        m_sleeps.push_back(seconds);
    }
    if (m_clock && !m_cancelled)
        m_clock->advance(seconds);
    return !m_cancelled;
}

void FakeSleeper::cancel()
{
    m_cancelled = true;
}

void FakeSleeper::reset()
{
    m_cancelled = false;
}

bool FakeSleeper::isCancelled() const
{
    return m_cancelled;
}

std::vector<double> FakeSleeper::sleeps() const
{
    std::lock_guard lock(m_mutex);
    return m_sleeps;
}
