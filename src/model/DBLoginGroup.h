#pragma once
// One of the two lists of items: the ones we open, and the ignored ones.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBLoginItem;

class DBLoginGroup : public ManagedObject {
    LW_ENTITY(DBLoginGroup, ManagedObject, "LoginGroup")

    LW_STRING_ATTRIBUTE(groupName, GroupName)
    LW_INT32_ATTRIBUTE(groupType, GroupType)

    QList<DBLoginItem*> groupLoginItems() const;
    void addGroupLoginItemsObject(DBLoginItem* item);
    void removeGroupLoginItemsObject(DBLoginItem* item);

    // The name is given only when the group is created. Should a store hold two
    // groups of the type, the oldest keeps the other's items after its own.
    static DBLoginGroup* getOrCreateGroupOfType(int32_t type, const QString& name, ObjectContext& context);

    QString logDescription() const override;

private:
    static void mergeGroups(DBLoginGroup* keeper, const QList<DBLoginGroup*>& others, ObjectContext& context);
};
