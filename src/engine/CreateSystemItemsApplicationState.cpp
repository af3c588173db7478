#include "engine/CreateSystemItemsApplicationState.h"

#include "foundation/MHSystemItemsNotifications.h"
#include "keelhouse/KeelhouseInterface.h"

CreateSystemItemsApplicationState::CreateSystemItemsApplicationState()
    : SystemItemsBatchApplicationState(QStringLiteral("CreateSystemItemsApplicationState"),
                                       { QStringLiteral("creating"), MHSystemItemsNotifications::MHCreateSystemItemsDidStartNotification,
                                         MHSystemItemsNotifications::MHCreateSystemItemsDidEndNotification })
{
}

void CreateSystemItemsApplicationState::sendBatchRequest(KeelhouseInterface& proxy, const QVariantList& records)
{
    proxy.createSystemItemsWithItems(records);
}
