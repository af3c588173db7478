#include "ModelTestFixture.h"
#include "foundation/Log.h"
#include "model/CollectionObserver.h"
#include "model/CollectionObserverDelegate.h"
#include "model/DBFileItem.h"
#include "model/DBStartupCondition.h"

namespace {

// Writes down every report as one line.
class RecordingDelegate : public CollectionObserverDelegate {
public:
    void observerDidObserveAddObject(CollectionObserver*, ManagedObject* object) override { lines << "add " + name(object); }
    void observerDidObserveRemoveObject(CollectionObserver*, ManagedObject* object) override { lines << "remove " + name(object); }
    void observerDidObserveChildPropertyChange(CollectionObserver*, const QString& keyPath, ManagedObject* object) override
    {
        lines << QStringLiteral("change %1 of %2").arg(keyPath, name(object));
    }

    QStringList takeLines()
    {
        QStringList taken = lines;
        taken.sort();
        lines.clear();
        return taken;
    }

    QStringList lines;

private:
    static QString name(ManagedObject* object) { return static_cast<DBStartupCondition*>(object)->conditionName(); }
};

class CollectionObserverTest : public ModelTest {
protected:
    DBStartupCondition* condition(const QString& name)
    {
        DBStartupCondition* made = context.createHotkeyStartupCondition();
        made->setConditionName(name);
        return made;
    }

    void start(const QStringList& childKeyPaths = { "conditionName" })
    {
        ASSERT_TRUE(observer.startObservingObject(item, "itemStartupConditions", childKeyPaths, &delegate));
    }

    DBFileItem* item = context.createFileItemWithPath("/a");
    RecordingDelegate delegate;
    CollectionObserver observer;
};

} // namespace

TEST_F(CollectionObserverTest, ReportsElementsAtStartAndAsTheyComeAndGo)
{
    DBStartupCondition* a = condition("A");
    DBStartupCondition* b = condition("B");
    DBStartupCondition* c = condition("C");
    for (DBStartupCondition* each : { a, b, c })
        item->addItemStartupConditionsObject(each);
    start();
    EXPECT_EQ(delegate.takeLines(), (QStringList { "add A", "add B", "add C" }));
    EXPECT_TRUE(observer.isObservingObject());
    EXPECT_TRUE(observer.isObservingChildren());

    item->removeItemStartupConditionsObject(a);
    EXPECT_EQ(delegate.takeLines(), QStringList { "remove A" });
    context.deleteObject(b);
    EXPECT_EQ(delegate.takeLines(), QStringList { "remove B" });
    c->setConditionName("C2");
    EXPECT_EQ(delegate.takeLines(), QStringList { "change conditionName of C2" });
    a->setConditionName("A2"); // no longer an element
    EXPECT_TRUE(delegate.takeLines().isEmpty());
    item->addItemStartupConditionsObject(a);
    EXPECT_EQ(delegate.takeLines(), QStringList { "add A2" });
    EXPECT_EQ(observer.observedChildren().size(), 2);
}

TEST_F(CollectionObserverTest, WithoutChildKeyPathsOnlyLaterArrivalsAndDeparturesAreReported)
{
    DBStartupCondition* a = condition("A");
    DBStartupCondition* b = condition("B");
    item->addItemStartupConditionsObject(a);
    start({});
    EXPECT_TRUE(delegate.takeLines().isEmpty());
    EXPECT_FALSE(observer.isObservingChildren());

    a->setConditionName("A2");
    item->addItemStartupConditionsObject(b);
    item->removeItemStartupConditionsObject(a); // its arrival was never told
    EXPECT_EQ(delegate.takeLines(), QStringList { "add B" });
    observer.stopObserving();
    EXPECT_EQ(delegate.takeLines(), QStringList { "remove B" });
}

TEST_F(CollectionObserverTest, StoppingReportsEveryElementRemovedAndEndsReports)
{
    DBStartupCondition* a = condition("A");
    item->addItemStartupConditionsObject(a);
    start();
    delegate.takeLines();

    observer.stopObserving();
    EXPECT_EQ(delegate.takeLines(), QStringList { "remove A" });
    EXPECT_FALSE(observer.isObservingObject());
    EXPECT_EQ(observer.delegate(), &delegate);

    a->setConditionName("A2");
    item->addItemStartupConditionsObject(condition("B"));
    EXPECT_TRUE(delegate.takeLines().isEmpty());

    start(); // again after stopping
    EXPECT_EQ(delegate.takeLines(), (QStringList { "add A2", "add B" }));
}

TEST_F(CollectionObserverTest, DestroyingTheObserverStopsIt)
{
    item->addItemStartupConditionsObject(condition("A"));
    {
        CollectionObserver scoped;
        ASSERT_TRUE(scoped.startObservingObject(item, "itemStartupConditions", { "conditionName" }, &delegate));
    }
    EXPECT_EQ(delegate.takeLines(), (QStringList { "add A", "remove A" }));
    item->addItemStartupConditionsObject(condition("B"));
    EXPECT_TRUE(delegate.takeLines().isEmpty());
}

TEST_F(CollectionObserverTest, RefusesToStartInAWrongState)
{
    EXPECT_FALSE(observer.startObservingObject(nullptr, "itemStartupConditions", {}, &delegate));
    EXPECT_FALSE(observer.startObservingObject(item, "", {}, &delegate));
    EXPECT_FALSE(observer.startObservingObject(item, "itemStartupConditions", {}, nullptr));
    start();
    EXPECT_FALSE(observer.startObservingObject(item, "itemStartupConditions", {}, &delegate));
    EXPECT_EQ(observer.objectKeyPath(), "itemStartupConditions");
}

TEST_F(CollectionObserverTest, AResetOfTheContextStopsItWhileTheElementsStillExist)
{
    item->addItemStartupConditionsObject(condition("A"));
    start();
    delegate.takeLines();

    context.reset();
    EXPECT_EQ(delegate.takeLines(), QStringList { "remove A" });
    EXPECT_FALSE(observer.isObservingObject());
}

TEST_F(CollectionObserverTest, ADelegateMayStopTheObserverFromAReport)
{
    class StoppingDelegate : public RecordingDelegate {
    public:
        void observerDidObserveChildPropertyChange(CollectionObserver* observer, const QString& keyPath, ManagedObject* object) override
        {
            RecordingDelegate::observerDidObserveChildPropertyChange(observer, keyPath, object);
            observer->stopObserving();
        }
    } stopping;
    DBStartupCondition* a = condition("A");
    item->addItemStartupConditionsObject(a);
    ASSERT_TRUE(observer.startObservingObject(item, "itemStartupConditions", { "conditionName" }, &stopping));
    a->setConditionName("A2");
    EXPECT_EQ(stopping.takeLines(), (QStringList { "add A", "change conditionName of A2", "remove A2" }));
}

TEST_F(CollectionObserverTest, LogsOnlyWhenObservationLoggingIsOn)
{
    const int32_t mask = gLogMask;
    gLogMask = LOG_LEVEL_DEBUG;
    const auto startAndStop = [this] {
        testing::internal::CaptureStdout();
        start();
        observer.stopObserving();
        return QString::fromStdString(testing::internal::GetCapturedStdout());
    };
    gLogObservationsEnabled = false;
    EXPECT_FALSE(startAndStop().contains("Starting observing"));
    gLogObservationsEnabled = true;
    EXPECT_TRUE(startAndStop().contains("Starting observing"));
    gLogObservationsEnabled = false;
    gLogMask = mask;
}
