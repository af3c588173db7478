#pragma once
// A pause between two items.
#include "model/DBLoginItem.h"

class DBDelayItem : public DBLoginItem {
    LW_ENTITY(DBDelayItem, DBLoginItem, "DelayItem")

    LW_DOUBLE_ATTRIBUTE(itemDelay, ItemDelay)

    LoginItemType loginItemType() const override { return LoginItemTypeDelay; }
    // A countdown must end: no negative, infinite or undefined delay enters the model.
    static bool isAllowedDelay(double seconds);
    QString itemNiceDisplayName() const override;
};
