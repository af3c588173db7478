#pragma once
// Lets the next item run only depending on whether the one before was allowed.
#include "model/DBLoginItem.h"

class DBConditionalPreviousItem : public DBLoginItem {
    LW_ENTITY(DBConditionalPreviousItem, DBLoginItem, "ConditionalPreviousItem")

    LW_INT32_ATTRIBUTE(itemMode, ItemMode)

    LoginItemType loginItemType() const override { return LoginItemTypeConditionalPrevious; }
    QString itemNiceDisplayName() const override;
    QString logDescription() const override { return entity().className(); }
};
