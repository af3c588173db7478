#include "ui/views/ConditionBadgesObserver.h"

#include "foundation/Log.h"
#include "model/CollectionObserver.h"
#include "model/CollectionObserverDelegate.h"
#include "model/DBLoginItem.h"

// The conditions of one item, with their order and names.
class ConditionBadgesObserver::ItemObservation : public CollectionObserverDelegate {
public:
    ItemObservation(ConditionBadgesObserver& owner, DBLoginItem* item)
        : m_owner(owner)
        , m_itemID(item->objectID())
    {
        m_observer.startObservingObject(item, QStringLiteral("itemStartupConditions"),
                                        { QStringLiteral("conditionSortIndex"), QStringLiteral("conditionName") }, this);
    }

    void observerDidObserveAddObject(CollectionObserver*, ManagedObject*) override { m_owner.requestLayout(m_itemID); }
    void observerDidObserveRemoveObject(CollectionObserver*, ManagedObject*) override { m_owner.requestLayout(m_itemID); }
    void observerDidObserveChildPropertyChange(CollectionObserver*, const QString&, ManagedObject*) override
    {
        m_owner.requestLayout(m_itemID);
    }

private:
    ConditionBadgesObserver& m_owner;
    const ObjectID m_itemID;
    CollectionObserver m_observer;
};

ConditionBadgesObserver::ConditionBadgesObserver(QObject* parent)
    : QObject(parent)
{
    m_layoutTimer.setSingleShot(true);
    m_layoutTimer.setInterval(LayoutDelayMs);
    connect(&m_layoutTimer, &QTimer::timeout, this, &ConditionBadgesObserver::emitPendingLayout);
}

ConditionBadgesObserver::~ConditionBadgesObserver()
{
    m_observing = false;
    m_observations.clear();
}

void ConditionBadgesObserver::setItems(const QList<DBLoginItem*>& items)
{
    // Conditions reported as items come and go belong to rows made afresh anyway.
    m_observing = false;
    m_observations.clear();
    for (DBLoginItem* item : items)
        m_observations.push_back(std::make_unique<ItemObservation>(*this, item));
    m_observing = true;
}

void ConditionBadgesObserver::requestLayout(const ObjectID& item)
{
    if (!m_observing)
        return;
    LOG_VIEW_DEBUG("Requesting layers layout...");
    m_pending.insert(item);
    m_layoutTimer.start();
}

void ConditionBadgesObserver::emitPendingLayout()
{
    const QList<ObjectID> items(m_pending.cbegin(), m_pending.cend());
    m_pending.clear();
    if (!items.isEmpty())
        Q_EMIT badgesLayoutRequested(items);
}
