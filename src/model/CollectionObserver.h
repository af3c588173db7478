#pragma once
// Watches a to-many key path of one object together with key paths of every
// element of that collection (the condition badges of an item row: the
// item's conditions and their names and kinds), and tells its delegate which
// elements came and went and which element changed.
//
// Main thread only, like the changes it reports. Destroying the observer stops
// it; so does a reset of the object's context (every element is reported as
// removed first). The delegate is not owned and must outlive the observation.
// Without child key paths the elements present at the start are not reported;
// later arrivals and departures are.
#include "model/MHKVONotificationHelper.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class CollectionObserverDelegate;
class ManagedObject;

class CollectionObserver {
public:
    CollectionObserver();
    ~CollectionObserver();
    CollectionObserver(const CollectionObserver&) = delete;
    CollectionObserver& operator=(const CollectionObserver&) = delete;

    // False (and logged) when already observing or an argument is missing.
    bool startObservingObject(ManagedObject* object, const QString& keyPath, const QStringList& childKeyPaths,
                              CollectionObserverDelegate* delegate);
    void stopObserving();

    CollectionObserverDelegate* delegate() const { return m_delegate; }
    ManagedObject* observedObject() const { return m_observedObject; }
    const QString& objectKeyPath() const { return m_objectKeyPath; }
    const QStringList& childKeyPaths() const { return m_childKeyPaths; }
    QList<ManagedObject*> observedChildren() const;
    bool isObservingObject() const { return m_observedObject != nullptr; }
    bool isObservingChildren() const { return !m_childKeyPaths.isEmpty(); }

private:
    struct Child {
        ManagedObject* object;
        bool reported; // its arrival was told, so its departure is too
        std::vector<std::unique_ptr<MHKVONotificationHelper>> observations;
    };

    void collectionChanged();
    QList<ManagedObject*> currentCollection() const;
    void startObservingChildren(const QList<ManagedObject*>& objects, bool report);
    void stopObservingChildren(const QList<ManagedObject*>& objects);
    bool isObservingChild(const ManagedObject* object) const;

    CollectionObserverDelegate* m_delegate = nullptr;
    ManagedObject* m_observedObject = nullptr;
    QString m_objectKeyPath;
    QStringList m_childKeyPaths;
    std::vector<Child> m_children; // in the order they arrived
    std::unique_ptr<MHKVONotificationHelper> m_observation;
    ScopedConnection m_resetConnection;
};
