#pragma once
// Lets the next item run only depending on whether the one before was allowed.
#include "model/DBLoginItem.h"

class DBConditionalPreviousItem : public DBLoginItem {
    LW_ENTITY(DBConditionalPreviousItem, DBLoginItem, "ConditionalPreviousItem")

    LW_INT32_ATTRIBUTE(itemMode, ItemMode)

    LoginItemType loginItemType() const override { return LoginItemTypeConditionalPrevious; }
    QString itemNiceDisplayName() const override;
    QString logDescription() const override { return entity().className(); }

    // A marker needs a real item on both sides.
    bool isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters) override;
    bool isExecutionByNextItem(DBLoginItem* nextItem, ExecutionValidationParameters& parameters) override;
    // Lets the item after the marker run depending on whether the item before
    // it was allowed in the same pass, and on the mode.
    bool allowExecutionOfNextItem(DBLoginItem* nextItem, const QList<DBLoginItem*>& items,
                                  ExecutionValidationParameters& parameters) override;
};
