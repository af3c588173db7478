#include "engine/AutoCloseApplicationState.h"

#include "engine/ApplicationContext.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/UserDefaults.h"

namespace N = MHExecuteNotifications;

AutoCloseApplicationState::AutoCloseApplicationState()
    : ApplicationState(QStringLiteral("AutoCloseApplicationState"))
{
}

void AutoCloseApplicationState::registerWithContext(ApplicationContext& context)
{
    context.setStateFactory(ApplicationStateKind::AutoClose, [] { return std::make_unique<AutoCloseApplicationState>(); });
}

void AutoCloseApplicationState::executeState()
{
    setQueue(createDispatchQueueNamed(QStringLiteral("AutoClose")));
    queue()->async([this] { countDown(); });
}

bool AutoCloseApplicationState::isAutoCloseAllowed()
{
    if (!userDefaults().isAutoCloseAfterItemsExecutionEnabled()) {
        LOG_INFO("Auto close is disabled, proceeding...");
        return false;
    }
    if (!isExecutionAllowed()) {
        LOG_INFO("Execution or auto close cancelled or not allowed, proceeding...");
        return false;
    }
    if (batchInfo() && batchInfo()->didItemExecutionFail()) {
        LOG_INFO("Execution of items failed, proceeding...");
        return false;
    }
    if (!applicationContext() || !applicationContext()->isAtLeastOneApplicationItemAvailable(run())) {
        LOG_INFO("No application item in database, proceeding...");
        return false;
    }
    return true;
}

// Not kept from idle sleep: a machine that sleeps meanwhile need not quit us.
void AutoCloseApplicationState::countDown()
{
    if (isAutoCloseAllowed()) {
        const double delay = userDefaults().delayBeforeAutoClosingAfterItemsExecution();
        postNotification(N::MHExecuteAutoCloseDidStartNotification, delayUserInfoWithRemainingTime(delay));
        waitFor(delay, userDefaults().numberOfExecutionNotificationsPerSecond(), [this](double remaining, bool&) {
            postNotification(N::MHExecuteAutoCloseDidTickNotification, delayUserInfoWithRemainingTime(remaining));
        });
        if (isExecutionCancelled())
            LOG_INFO("Auto close cancelled, proceeding...");
        else
            postNotification(N::MHExecuteAutoCloseDidEndNotification);
    }
    cleanupState();
    proceedWithCompletionBlock();
}
