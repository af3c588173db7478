#pragma once
// The live database of a service object on fakes, with helpers that build an
// application group's items and conditions.
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/ShellTest.h"

#include <QCoreApplication>
#include <QFileInfo>

class ItemListTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        start();
        helpers->initializeUserDefaults();
        context = helpers->managedObjectContext();
        ASSERT_NE(context, nullptr);
        editing = helpers->modelEditing();
        group = context->getOrCreateApplicationLoginGroup();
    }

    DBLoginItem* addFile(const QString& path)
    {
        workspace->addFile(path, { ItemPathTypeApplication, QFileInfo(path).fileName(), {}, {} });
        return editing->createFileItemsFromData({ path }, group, items().size()).value(0);
    }
    DBLoginItem* addDelay() { return editing->createDelayItemsFromData({ 3.0 }, group, items().size()).value(0); }
    DBLoginItem* addWaitPrevious() { return editing->createWaitPreviousItemsFromData({ 0 }, group, items().size()).value(0); }
    QList<DBLoginItem*> items() const { return context->sortedLoginItemsForGroup(group); }

    // Allows only on the given power source.
    DBStartupCondition* powerCondition(int32_t type, const QString& name)
    {
        DBStartupCondition* condition = editing->createPowerSourceStartupConditionAtIndex(0);
        condition->conditionPowerSourceData()->setPowerSourceTypeValue(type);
        condition->setConditionName(name);
        return condition;
    }

    ObjectContext* context = nullptr;
    ModelEditing* editing = nullptr;
    DBLoginGroup* group = nullptr;
};
