#pragma once
// Removes entries from the session's login items list that the user deletes.
#include "engine/SystemItemsBatchApplicationState.h"

class DeleteSystemItemsApplicationState : public SystemItemsBatchApplicationState {
public:
    DeleteSystemItemsApplicationState();

    // The entries of the current run, given by its starter (ChainRun::systemItems).
    QList<SystemItemData> itemsToDelete() const { return batchItems(); }
    QVariantList deletedItems() const { return doneItems(); }

    void keelhouseDidBeginDeleting() override { didBegin(); }
    void keelhouseDidEndDeleting() override { didEnd(); }
    void keelhouseDidBeginDeletingItem(const QVariantMap& item) override { didBeginItem(item); }
    void keelhouseDidEndDeletingItem(const QVariantMap& item) override { didEndItem(item); }
    void keelhouseDidFailDeletingItem(const QVariantMap& item) override { didFailItem(item); }

protected:
    void sendBatchRequest(KeelhouseInterface& proxy, const QVariantList& records) override;
};
