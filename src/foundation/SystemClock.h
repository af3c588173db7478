#pragma once
// The real monotonic clock.
#include "foundation/Clock.h"

#include <memory>

class SystemClock : public Clock {
public:
    TimePoint now() const override;
    void waitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                   TimePoint deadline) const override;

    static std::shared_ptr<const Clock> shared();
};
