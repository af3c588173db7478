// The badges of a row follow its item's conditions, one layout per burst of
// changes.
#include "ItemListTestFixture.h"
#include "ui/views/ConditionBadgesObserver.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using ConditionBadgesObserverTest = ItemListTest;

TEST_F(ConditionBadgesObserverTest, OneLayoutPerBurstForTheItemsConcerned)
{
    DBLoginItem* first = addFile("/usr/bin/a");
    DBLoginItem* second = addDelay();
    DBStartupCondition* battery = powerCondition(PowerSourceTypeBattery, "Battery");
    DBStartupCondition* mains = powerCondition(PowerSourceTypePowerSupply, "Mains");
    first->addItemStartupConditionsObject(battery);

    ConditionBadgesObserver observer;
    QSignalSpy spy(&observer, &ConditionBadgesObserver::badgesLayoutRequested);
    observer.setItems(items());
    // Starting to observe is no change.
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);

    // Added, renamed and reordered in one burst: one request.
    first->addItemStartupConditionsObject(mains);
    battery->setConditionName("On battery");
    editing->moveStartupConditions({ mains }, 0);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().at(0).value<QList<ObjectID>>(), (QList<ObjectID> { first->objectID() }));

    // A condition shared by two items concerns both.
    second->addItemStartupConditionsObject(battery);
    ASSERT_TRUE(spy.wait(5000));
    spy.clear();
    battery->setConditionName("Battery again");
    ASSERT_TRUE(spy.wait(5000));
    QList<ObjectID> concerned = spy.takeFirst().at(0).value<QList<ObjectID>>();
    std::sort(concerned.begin(), concerned.end(), [](const ObjectID& a, const ObjectID& b) { return a.number() < b.number(); });
    EXPECT_EQ(concerned, (QList<ObjectID> { first->objectID(), second->objectID() }));

    // A removal; then the first item is no longer shown.
    first->removeItemStartupConditionsObject(mains);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).value<QList<ObjectID>>(), (QList<ObjectID> { first->objectID() }));
    observer.setItems({ second });
    first->addItemStartupConditionsObject(mains);
    battery->setConditionName("Battery once more");
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.takeFirst().at(0).value<QList<ObjectID>>(), (QList<ObjectID> { second->objectID() }));
}

} // namespace
