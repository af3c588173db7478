#pragma once
// Puts entries back into the session's login items list: the items the user
// hands back to the system.
#include "engine/SystemItemsBatchApplicationState.h"

class CreateSystemItemsApplicationState : public SystemItemsBatchApplicationState {
public:
    CreateSystemItemsApplicationState();

    // The entries of the current run, given by its starter (ChainRun::systemItems).
    QList<SystemItemData> itemsToCreate() const { return batchItems(); }
    QVariantList createdItems() const { return doneItems(); }

    void keelhouseDidBeginCreating() override { didBegin(); }
    void keelhouseDidEndCreating() override { didEnd(); }
    void keelhouseDidBeginCreatingItem(const QVariantMap& item) override { didBeginItem(item); }
    void keelhouseDidEndCreatingItem(const QVariantMap& item) override { didEndItem(item); }
    void keelhouseDidFailCreatingItem(const QVariantMap& item) override { didFailItem(item); }

protected:
    void sendBatchRequest(KeelhouseInterface& proxy, const QVariantList& records) override;
};
