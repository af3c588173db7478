#pragma once
// Waits until the item before it has finished launching.
#include "model/DBLoginItem.h"

class DBWaitPreviousItem : public DBLoginItem {
    LW_ENTITY(DBWaitPreviousItem, DBLoginItem, "WaitPreviousItem")

    LoginItemType loginItemType() const override { return LoginItemTypeWaitPrevious; }
    QString itemNiceDisplayName() const override;
    QString logDescription() const override { return entity().className(); }

    // Runs only after an item that was allowed in the same pass.
    bool isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters) override;
};
