#include "engine/UninstallLanternwickApplicationState.h"

#include "foundation/Log.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "keelhouse/KeelhouseInterface.h"

using namespace MHSystemItemsNotifications;

UninstallLanternwickApplicationState::UninstallLanternwickApplicationState()
    : SystemItemsApplicationState(QStringLiteral("UninstallLanternwickApplicationState"))
{
}

void UninstallLanternwickApplicationState::executeState()
{
    LOG_DEBUG("Uninstalling Lanternwick...");
    m_didBegin = false;
    const GroupsData groups = itemsDataOfGroups();
    for (const QVariant& item : groups.applicationItems) {
        if (item.toMap().value(MHItemDataKeys::disabled).toBool())
            LOG_NORMAL("%1 is set not to start: handing it back switched off", item.toMap().value(MHItemDataKeys::path).toString());
    }
    startKeelhouseAndListener([groups](KeelhouseInterface& proxy) {
        proxy.uninstallLanternwickWithIgnoredItems(groups.ignoredItems, groups.applicationItems);
    });
}

void UninstallLanternwickApplicationState::keelhouseDidBeginUninstalling()
{
    m_didBegin = true;
    postNotification(MHUninstallLanternwickDidStartNotification);
}

void UninstallLanternwickApplicationState::keelhouseDidEndUninstalling()
{
    postNotification(MHUninstallLanternwickDidEndNotification);
    finishRequest();
}

void UninstallLanternwickApplicationState::requestDidFail(const Error&)
{
    if (m_didBegin)
        postNotification(MHUninstallLanternwickDidEndNotification);
}
