#include "engine/ReadSystemApplicationState.h"

#include "engine/ApplicationContext.h"
#include "foundation/Error.h"
#include "foundation/Log.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "keelhouse/KeelhouseInterface.h"

#include <QCoreApplication>

using namespace MHSystemItemsNotifications;

ReadSystemApplicationState::ReadSystemApplicationState()
    : SystemItemsApplicationState(QStringLiteral("ReadSystemApplicationState"))
{
}

void ReadSystemApplicationState::executeState()
{
    LOG_DEBUG("Reading system items...");
    m_unknownItems.clear();
    const GroupsData groups = itemsDataOfGroups();
    // The service knows the application's own entry by the program it runs.
    const QString programPath = QCoreApplication::applicationFilePath();
    startKeelhouseAndListener([groups, programPath](KeelhouseInterface& proxy) {
        proxy.readSystemItemsWithIgnoredItems(groups.ignoredItems, groups.applicationItems, programPath);
    });
}

void ReadSystemApplicationState::keelhouseDidBeginReading()
{
    postNotification(MHReadSystemItemsDidStartNotification);
    m_unknownItems.clear();
}

void ReadSystemApplicationState::keelhouseDidEndReading()
{
    postEnd();
    finishRequest();
}

void ReadSystemApplicationState::keelhouseDidFindUnknownItem(const QVariantMap& item)
{
    reportNewItem(item);
}

// An entry the service could not resolve, remove or create is one the user
// has to look at as well.
void ReadSystemApplicationState::keelhouseDidFailItem(const QVariantMap& item)
{
    reportNewItem(item);
}

void ReadSystemApplicationState::reportNewItem(const QVariantMap& item)
{
    const QVariantMap data = itemDataForServiceData(item);
    LOG_VERBOSE("Found new system item %1", data.value(MHItemDataKeys::path).toString());
    postNotification(MHReadSystemItemsDidFindNewItemNotification, data);
    // Only an entry the user can move or ignore keeps the window open: one
    // that can be neither would keep it open at every login.
    if (applicationContext() && !data.value(MHItemDataKeys::path).toString().isEmpty())
        applicationContext()->cancelAutoClose();
    m_unknownItems.append(data);
}

void ReadSystemApplicationState::requestDidFail(const Error& error)
{
    // Entries may wait that nobody is told about: the window says why, and
    // stays for the user to read it.
    if (applicationContext())
        applicationContext()->cancelAutoClose();
    postEnd({ { readError, error.description() } });
}

void ReadSystemApplicationState::postEnd(const QVariantMap& extra)
{
    QVariantMap userInfo = extra;
    userInfo.insert(items, m_unknownItems);
    postNotification(MHReadSystemItemsDidEndNotification, userInfo);
}
