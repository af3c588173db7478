#pragma once
// The real sleeper: waits on a condition variable, so that cancel() wakes a
// sleeping thread at once instead of at the end of its sleep.
#include "foundation/Clock.h"
#include "foundation/Sleeper.h"

#include <condition_variable>
#include <memory>
#include <mutex>

class ConditionSleeper : public Sleeper {
public:
    explicit ConditionSleeper(std::shared_ptr<const Clock> clock = nullptr);

    bool sleepFor(double seconds) override;
    void cancel() override;
    void reset() override;
    bool isCancelled() const override;

private:
    std::shared_ptr<const Clock> m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_cancelled = false;
};
