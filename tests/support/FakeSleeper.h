#pragma once
// A sleeper that returns at once and records what it was asked to sleep,
// moving a fake clock forward by that much when it has one.
#include "foundation/Sleeper.h"
#include "support/FakeClock.h"

#include <atomic>
#include <mutex>
#include <vector>

class FakeSleeper : public Sleeper {
public:
    explicit FakeSleeper(FakeClock* clock = nullptr);

    bool sleepFor(double seconds) override;
    void cancel() override;
    void reset() override;
    bool isCancelled() const override;

    std::vector<double> sleeps() const;

private:
    FakeClock* m_clock;
    mutable std::mutex m_mutex;
    std::vector<double> m_sleeps;
    std::atomic<bool> m_cancelled { false };
};
