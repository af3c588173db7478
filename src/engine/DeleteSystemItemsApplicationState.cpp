#include "engine/DeleteSystemItemsApplicationState.h"

#include "foundation/MHSystemItemsNotifications.h"
#include "keelhouse/KeelhouseInterface.h"

DeleteSystemItemsApplicationState::DeleteSystemItemsApplicationState()
    : SystemItemsBatchApplicationState(QStringLiteral("DeleteSystemItemsApplicationState"),
                                       { QStringLiteral("deleting"), MHSystemItemsNotifications::MHDeleteSystemItemsDidStartNotification,
                                         MHSystemItemsNotifications::MHDeleteSystemItemsDidEndNotification })
{
}

void DeleteSystemItemsApplicationState::sendBatchRequest(KeelhouseInterface& proxy, const QVariantList& records)
{
    proxy.deleteSystemItemsWithItems(records);
}
