// The search for missing items and the switches of the login items watcher,
// with a watcher that records what it was told and on which thread.
#include "EngineTestSupport.h"

#include "engine/StateChain.h"
#include "engine/SystemItemsStateFactories.h"
#include "keelhouse/SystemItemsHandling.h"

#include <gtest/gtest.h>

namespace {

class RecordingHandler : public SystemItemsHandling {
public:
    void enableChangeNotifications(bool enabled) override
    {
        calls.append(QStringLiteral("%1%2").arg(enabled ? QStringLiteral("on") : QStringLiteral("off"),
                                                 isMainThread() ? QString() : QStringLiteral(" (worker)")));
    }
    QStringList calls;
};

class HandlerHelpers : public FakeApplicationHelpers {
public:
    SystemItemsHandling* systemItemsHandler() override { return handler; }
    SystemItemsHandling* handler = nullptr;
};

class SystemChangeStatesTest : public testing::Test {
protected:
    SystemChangeStatesTest()
    {
        context.setApplicationHelpers(&helpers);
        SystemItemsStateFactories::registerWithContext(context);
        context.setStateFactory(ApplicationStateKind::AutoClose, [this] { return std::make_unique<ImmediateState>(QStringLiteral("Next"), log); });
    }

    bool runChain(const QList<ApplicationState*>& states)
    {
        bool ended = false;
        StateChain::start(context, states, nullptr, [&](const std::shared_ptr<ChainRun>&) { ended = true; });
        return processEventsUntil([&] { return ended; });
    }

    RecordingHandler handler;
    HandlerHelpers helpers;
    EventLog log;
    ApplicationContext context;
};

TEST_F(SystemChangeStatesTest, TheSwitchesReachTheWatcherOnTheMainThreadWhereverTheyStart)
{
    helpers.handler = &handler;
    // The first state of a chain starts on the push queue.
    ASSERT_TRUE(runChain({ context.disableSystemItemsChangeState(), context.searchMissingItemsState(), context.enableSystemItemsChangeState(),
                           context.autoCloseState() }));
    EXPECT_EQ(handler.calls, QStringList({ "off", "on" }));
    EXPECT_EQ(log.events().size(), 1);
}

TEST_F(SystemChangeStatesTest, WithoutAWatcherTheChainStillGoesOn)
{
    ASSERT_TRUE(runChain({ context.enableSystemItemsChangeState(), context.disableSystemItemsChangeState(), context.autoCloseState() }));
    EXPECT_EQ(log.events().size(), 1);
}

} // namespace
