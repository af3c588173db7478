#include "engine/DelayBeforeExecutionApplicationState.h"

#include "engine/ApplicationContext.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/UserDefaults.h"

namespace N = MHExecuteNotifications;

DelayBeforeExecutionApplicationState::DelayBeforeExecutionApplicationState()
    : ApplicationState(QStringLiteral("DelayBeforeExecutionApplicationState"))
{
}

void DelayBeforeExecutionApplicationState::registerWithContext(ApplicationContext& context)
{
    context.setStateFactory(ApplicationStateKind::DelayBeforeExecution,
                            [] { return std::make_unique<DelayBeforeExecutionApplicationState>(); });
}

void DelayBeforeExecutionApplicationState::executeState()
{
    run()->setWasDelayBeforeExecutionIssued(false);
    setQueue(createDispatchQueueNamed(QStringLiteral("DelayBeforeExecution")));
    queue()->async([this] { countDown(); });
}

bool DelayBeforeExecutionApplicationState::isDelayAllowed()
{
    if (!userDefaults().isDelayBeforeItemsExecutionEnabled()) {
        LOG_INFO("Delay before execution is disabled, proceeding...");
        return false;
    }
    if (!isExecutionAllowed()) {
        LOG_INFO("Execution is disabled, proceeding...");
        return false;
    }
    if (!applicationContext() || !applicationContext()->isAtLeastOneApplicationItemAvailable(run())) {
        LOG_INFO("No application item in database, proceeding...");
        return false;
    }
    return true;
}

void DelayBeforeExecutionApplicationState::countDown()
{
    if (isDelayAllowed()) {
        executeBlockSuppressingSystemNap([this] {
            run()->setWasDelayBeforeExecutionIssued(true);
            const double delay = userDefaults().delayBeforeItemsExecution();
            postNotification(N::MHExecuteDelayDidStartNotification, delayUserInfoWithRemainingTime(delay));
            waitFor(delay, userDefaults().numberOfExecutionNotificationsPerSecond(), [this](double remaining, bool&) {
                postNotification(N::MHExecuteDelayDidTickNotification, delayUserInfoWithRemainingTime(remaining));
            });
            if (isExecutionCancelled())
                LOG_INFO("Execution cancelled, proceeding...");
        });
        postNotification(N::MHExecuteDelayDidEndNotification);
    }
    cleanupState();
    proceedWithCompletionBlock();
}
