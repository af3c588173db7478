#include "engine/SystemChangeApplicationState.h"

#include "engine/ApplicationHelping.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "keelhouse/SystemItemsHandling.h"

SystemChangeApplicationState::SystemChangeApplicationState(QString name, bool enable)
    : ApplicationState(std::move(name))
    , m_enable(enable)
{
}

void SystemChangeApplicationState::executeState()
{
    SystemItemsHandling* handler = applicationHelpers() ? applicationHelpers()->systemItemsHandler() : nullptr;
    if (handler) {
        LOG_DEBUG("%1 system items change notifications...", m_enable ? QStringLiteral("Enabling") : QStringLiteral("Disabling"));
        // The watcher is an object of the main thread's event loop.
        dispatch_main_thread_sync([&] { handler->enableChangeNotifications(m_enable); });
    } else {
        LOG_ERROR("%1 has no system items handler to switch", this);
    }
    cleanupState();
    proceedWithCompletionBlock();
}
