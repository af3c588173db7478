#pragma once
// A pause between two items.
#include "model/DBLoginItem.h"

class DBDelayItem : public DBLoginItem {
    LW_ENTITY(DBDelayItem, DBLoginItem, "DelayItem")

    LW_DOUBLE_ATTRIBUTE(itemDelay, ItemDelay)

    LoginItemType loginItemType() const override { return LoginItemTypeDelay; }
    QString itemNiceDisplayName() const override;
};
