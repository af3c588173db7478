#include "foundation/NotificationCenter.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QString kName = QStringLiteral("Name");
const QString kOther = QStringLiteral("Other");

} // namespace

TEST(NotificationCenter, DeliversByNameAndSenderInRegistrationOrder)
{
    NotificationCenter center;
    int senderA = 0;
    int senderB = 0;
    QStringList calls;
    auto any = center.addObserver(kName, nullptr, [&](const Notification& n) {
        calls << "any:" + n.userInfo.value("k").toString();
    });
    auto fromA = center.addObserver(kName, &senderA, [&](const Notification& n) {
        EXPECT_EQ(n.sender, &senderA);
        calls << "A";
    });
    auto other = center.addObserver(kOther, nullptr, [&](const Notification&) { calls << "other"; });

    center.post(kName, &senderA, { { "k", "1" } });
    center.post(kName, &senderB, { { "k", "2" } });
    center.post(kName);
    center.post(QStringLiteral("Unobserved"), &senderA);
    EXPECT_EQ(calls, QStringList({ "any:1", "A", "any:2", "any:" }));
}

TEST(NotificationCenter, TokensRemoveTheirObserver)
{
    NotificationCenter center;
    int calls = 0;
    {
        auto token = center.addObserver(kName, nullptr, [&](const Notification&) { ++calls; });
        center.post(kName);
        NotificationCenter::Token moved = std::move(token);
        center.post(kName);
    }
    center.post(kName);
    EXPECT_EQ(calls, 2);

    auto token = center.addObserver(kName, nullptr, [&](const Notification&) { ++calls; });
    token = center.addObserver(kOther, nullptr, [&](const Notification&) { calls += 10; });
    center.post(kName);
    center.post(kOther);
    EXPECT_EQ(calls, 12);
}

TEST(NotificationCenter, TokenMayOutliveTheCentre)
{
    NotificationCenter::Token token;
    {
        NotificationCenter center;
        token = center.addObserver(kName, nullptr, [](const Notification&) {});
    }
    token.reset();
}

TEST(NotificationCenter, RemovalDuringAPostOnTheSameThread)
{
    NotificationCenter center;
    QStringList calls;
    NotificationCenter::Token second;
    NotificationCenter::Token self;
    auto first = center.addObserver(kName, nullptr, [&](const Notification&) {
        calls << "first";
        second.reset();
    });
    second = center.addObserver(kName, nullptr, [&](const Notification&) { calls << "second"; });
    self = center.addObserver(kName, nullptr, [&](const Notification&) {
        calls << "self";
        self.reset(); // must not wait for its own call
        auto added = center.addObserver(kName, nullptr, [&](const Notification&) { calls << "late"; });
    });
    center.post(kName);
    center.post(kName);
    EXPECT_EQ(calls, QStringList({ "first", "self", "first" }));
}

TEST(NotificationCenter, RemovalWaitsForACallInProgressOnAnotherThread)
{
    NotificationCenter center;
    std::promise<void> entered;
    std::promise<void> gate;
    std::atomic<bool> removed { false };
    std::atomic<bool> removedBeforeCallEnded { false };
    std::atomic<int> calls { 0 };
    auto token = center.addObserver(kName, nullptr, [&](const Notification&) {
        if (++calls > 1)
            return;
        entered.set_value();
        gate.get_future().wait_for(5s);
        removedBeforeCallEnded = removed.load();
    });
    std::thread poster([&] { center.post(kName); });
    entered.get_future().wait();

    std::thread remover([&] {
        token.reset();
        removed = true;
    });
    std::this_thread::sleep_for(3ms); // lets the removal start waiting
    EXPECT_FALSE(removed);
    gate.set_value();
    poster.join();
    remover.join();
    EXPECT_FALSE(removedBeforeCallEnded);
    center.post(kName);
    EXPECT_EQ(calls, 1);
}

TEST(NotificationCenter, PostingFromAnotherThreadWhileObserversComeAndGo)
{
    NotificationCenter center;
    std::atomic<int> steady { 0 };
    auto token = center.addObserver(kName, nullptr, [&](const Notification&) { ++steady; });
    std::atomic<bool> done { false };
    std::thread poster([&] {
        for (int i = 0; i < 2000; ++i)
            center.post(kName, nullptr, { { "i", i } });
        done = true;
    });
    while (!done) {
        // The counter dies with the token: a call after removal would touch freed memory.
        auto counter = std::make_unique<std::atomic<int>>(0);
        auto transient = center.addObserver(kName, nullptr, [c = counter.get()](const Notification&) { ++*c; });
        std::this_thread::yield();
        transient.reset();
        counter.reset();
    }
    poster.join();
    EXPECT_EQ(steady, 2000);
}
