#include "foundation/ConditionSleeper.h"
#include "foundation/SynchronousTicker.h"
#include "foundation/UserDefaults.h"
#include "support/FakeSleeper.h"

#include <cmath>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::DoubleEq;
using testing::Each;

namespace {

struct TickRun {
    std::vector<double> remaining;
    std::vector<double> sleeps;
};

// Ticks with a fake sleeper; the block stops after stopAfter calls (0: never).
TickRun tick(double duration, double rate, size_t stopAfter = 0)
{
    FakeSleeper sleeper;
    TickRun run;
    synchronous_ticker(
        [&](double remaining, bool& stop) {
            run.remaining.push_back(remaining);
            if (stopAfter && run.remaining.size() >= stopAfter)
                stop = true;
        },
        duration, rate, sleeper);
    run.sleeps = sleeper.sleeps();
    return run;
}

} // namespace

TEST(SynchronousTicker, CountsDownWholeTicks)
{
    const TickRun run = tick(5, 1);
    EXPECT_THAT(run.remaining, ElementsAre(5, 4, 3, 2, 1));
    EXPECT_THAT(run.sleeps, ElementsAre(1, 1, 1, 1, 1));
}

TEST(SynchronousTicker, ShortensTheLastTickToWhatIsLeft)
{
    const TickRun run = tick(2.5, 1);
    EXPECT_THAT(run.remaining, ElementsAre(2.5, 1.5, 0.5));
    EXPECT_THAT(run.sleeps, ElementsAre(1, 1, 0.5));
}

TEST(SynchronousTicker, NoExtraTickFromRoundingErrors)
{
    const TickRun short_ = tick(0.3, 10);
    EXPECT_THAT(short_.remaining, ElementsAre(DoubleEq(0.3), DoubleEq(0.2), DoubleEq(0.1)));
    EXPECT_THAT(short_.sleeps, Each(DoubleEq(0.1)));

    EXPECT_EQ(tick(1.1, 10).remaining.size(), 11u);
    // 0.28 / (1 / 25.0) is a hair above 7 in floating point.
    EXPECT_EQ(tick(0.28, 25).remaining.size(), 7u);
    EXPECT_EQ(tick(8.88, 25).remaining.size(), 222u);
    // Many ticks: the last remaining value is one tick, not a drifted sliver.
    const TickRun many = tick(60, 30);
    ASSERT_EQ(many.remaining.size(), 1800u);
    EXPECT_NEAR(many.remaining.back(), 1.0 / 30, 1e-9);
}

TEST(SynchronousTicker, StopFlagInTheFirstCallEndsAfterOneSleep)
{
    const TickRun run = tick(5, 1, 1);
    EXPECT_THAT(run.remaining, ElementsAre(5));
    EXPECT_THAT(run.sleeps, ElementsAre(1));
}

TEST(SynchronousTicker, UnusableRateMeansOneTickOfTheWholeDuration)
{
    for (double rate : { 0.0, -2.0, std::nan(""), double(INFINITY) }) {
        const TickRun run = tick(3.5, rate);
        EXPECT_THAT(run.remaining, ElementsAre(3.5)) << rate;
        EXPECT_THAT(run.sleeps, ElementsAre(3.5)) << rate;
    }
}

TEST(SynchronousTicker, NoDurationMeansNoSleepAndNoCall)
{
    for (double duration : { 0.0, -1.0, std::nan("") }) {
        const TickRun run = tick(duration, 1);
        EXPECT_TRUE(run.remaining.empty()) << duration;
        EXPECT_TRUE(run.sleeps.empty()) << duration;
    }
}

TEST(SynchronousTicker, InfiniteDurationTicksUntilStopped)
{
    const TickRun run = tick(INFINITY, 2, 3);
    EXPECT_EQ(run.remaining.size(), 3u);
    EXPECT_THAT(run.sleeps, ElementsAre(0.5, 0.5, 0.5));
}

TEST(SynchronousTicker, CancellingTheSleeperWakesALongTick)
{
    ConditionSleeper sleeper;
    std::vector<double> remaining;
    auto ticking = std::async(std::launch::async, [&] {
        synchronous_ticker(
            [&](double left, bool& stop) {
                remaining.push_back(left);
                stop = sleeper.isCancelled();
            },
            3600, 1, sleeper);
    });
    sleeper.cancel();
    ASSERT_EQ(ticking.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_THAT(remaining, ElementsAre(3600));
}

TEST(SynchronousTicker, DefaultRateComesFromTheSettingAtEveryCall)
{
    const QString key = QStringLiteral("Tweaking.Timings.NumberOfExecutionNotificationsPerSecond");
    UserDefaults& defaults = UserDefaults::standard();
    std::vector<double> remaining;
    const TickBlock record = [&](double left, bool&) { remaining.push_back(left); };
    FakeSleeper sleeper;

    defaults.setFloat(key, 2);
    synchronous_ticker(record, 1.5, sleeper);
    EXPECT_THAT(remaining, ElementsAre(1.5, 1.0, 0.5));

    remaining.clear();
    defaults.setFloat(key, 0);
    synchronous_ticker(record, 1.5, sleeper);
    EXPECT_THAT(remaining, ElementsAre(1.5));
    defaults.removeValue(key);
}
