#pragma once
// What a CollectionObserver tells: elements that came and went, and changes of
// the watched keys of an element.
#include <QString>

class CollectionObserver;
class ManagedObject;

class CollectionObserverDelegate {
public:
    virtual ~CollectionObserverDelegate() = default;

    virtual void observerDidObserveAddObject(CollectionObserver* observer, ManagedObject* object) = 0;
    virtual void observerDidObserveRemoveObject(CollectionObserver* observer, ManagedObject* object) = 0;
    // Needed only by delegates that pass child key paths.
    virtual void observerDidObserveChildPropertyChange(CollectionObserver* /*observer*/, const QString& /*keyPath*/,
                                                       ManagedObject* /*object*/)
    {
    }
};
