#pragma once
// Where timed code reads the time and waits for a deadline. Injected so that
// tests move time forward instead of waiting for it.
#include <chrono>
#include <condition_variable>
#include <mutex>

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;

    virtual TimePoint now() const = 0;

    // Waits on condition (lock held by the caller) until it is notified or
    // deadline has come by this clock; it may also return early, so callers
    // check their own state and now() again after it.
    virtual void waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                           TimePoint deadline) const = 0;

    // Seconds as a duration that can be added to any time point of a clock:
    // negative and not-a-number give zero, huge and infinite values are capped
    // at a century, so the sum never overflows.
    static std::chrono::nanoseconds durationFromSeconds(double seconds);
};
