#pragma once
// The ordered reads of the item database the engine needs. The shell
// implements it on the main object context, so callers are on the main thread.
#include "model/ModelEnumerations.h"

#include <QList>

class DBLoginGroup;
class DBLoginItem;

class ModelObjectHelping {
public:
    virtual ~ModelObjectHelping() = default;

    virtual QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() = 0;
    virtual QList<DBLoginItem*> sortedLoginItemsForGroup(const DBLoginGroup* group) = 0;
    virtual LoginItemType typeOfLoginItem(const DBLoginItem* item) const = 0;
};
