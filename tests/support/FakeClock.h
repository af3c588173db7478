#pragma once
// A clock that stands still until the test moves it forward.
#include "foundation/Clock.h"

#include <atomic>

class FakeClock : public Clock {
public:
    TimePoint now() const override;
    // Returns after a millisecond at most, so that waiters notice advance().
    void waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                   TimePoint deadline) const override;

    void advance(double seconds);

private:
    std::atomic<std::chrono::nanoseconds::rep> m_elapsed { 0 };
};
