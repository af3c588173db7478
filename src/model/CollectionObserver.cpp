#include "model/CollectionObserver.h"

#include "foundation/Log.h"
#include "model/CollectionObserverDelegate.h"
#include "model/KeyValueCoding.h"
#include "model/ManagedObject.h"
#include "model/ObjectContext.h"

#include <algorithm>

namespace {

QString addressOf(const void* pointer)
{
    return QStringLiteral("0x%1").arg(reinterpret_cast<quintptr>(pointer), 0, 16);
}

} // namespace

CollectionObserver::CollectionObserver()
{
    LOG_OBSERVATION_DEBUG("Initializing...");
}

CollectionObserver::~CollectionObserver()
{
    LOG_OBSERVATION_DEBUG("Deallocating...");
    stopObserving();
}

bool CollectionObserver::startObservingObject(ManagedObject* object, const QString& keyPath, const QStringList& childKeyPaths,
                                              CollectionObserverDelegate* delegate)
{
    const char* problem = isObservingObject() ? "Cannot start observing while observation is active!"
        : !object || !object->managedObjectContext() ? "Cannot start observing without object!"
        : keyPath.isEmpty()                           ? "Cannot start observing empty key path!"
        : !delegate                                   ? "Cannot start observing without delegate!"
                                                      : nullptr;
    if (problem) {
        LOG_ERROR("%1", problem);
        return false;
    }
    LOG_OBSERVATION_DEBUG("Starting observing %1 with key path %2 and %3 child key paths on behalf of %4...", object, keyPath,
                          childKeyPaths.size(), addressOf(delegate));
    m_observedObject = object;
    m_objectKeyPath = keyPath;
    m_childKeyPaths = childKeyPaths;
    m_delegate = delegate;
    m_observation = object->addObserver(keyPath, [this](ManagedObject*, const KeyValueChange&) { collectionChanged(); });
    m_resetConnection = QObject::connect(object->managedObjectContext(), &ObjectContext::willReset, [this] { stopObserving(); });
    startObservingChildren(currentCollection(), isObservingChildren());
    return true;
}

void CollectionObserver::stopObserving()
{
    if (!isObservingObject())
        return;
    LOG_OBSERVATION_DEBUG("Stopping observing %1...", m_observedObject);
    stopObservingChildren(observedChildren());
    m_observation.reset();
    m_resetConnection.disconnect();
    m_observedObject = nullptr;
    m_objectKeyPath.clear();
    m_childKeyPaths.clear();
}

QList<ManagedObject*> CollectionObserver::observedChildren() const
{
    QList<ManagedObject*> objects;
    for (const Child& child : m_children)
        objects.append(child.object);
    return objects;
}

QList<ManagedObject*> CollectionObserver::currentCollection() const
{
    QList<ManagedObject*> objects;
    for (ManagedObject* object : KeyValueCoding::objectsInValue(KeyValueCoding::valueForKeyPath(m_observedObject, m_objectKeyPath)))
        if (!objects.contains(object))
            objects.append(object);
    return objects;
}

bool CollectionObserver::isObservingChild(const ManagedObject* object) const
{
    return std::any_of(m_children.cbegin(), m_children.cend(), [object](const Child& child) { return child.object == object; });
}

void CollectionObserver::collectionChanged()
{
    LOG_OBSERVATION_DEBUG("Children at %1 of object %2 changed...", m_objectKeyPath, m_observedObject);
    const QList<ManagedObject*> now = currentCollection();
    QList<ManagedObject*> removed;
    for (ManagedObject* object : observedChildren())
        if (!now.contains(object))
            removed.append(object);
    stopObservingChildren(removed);
    QList<ManagedObject*> added;
    for (ManagedObject* object : now)
        if (!isObservingChild(object))
            added.append(object);
    startObservingChildren(added, true);
}

void CollectionObserver::startObservingChildren(const QList<ManagedObject*>& objects, bool report)
{
    if (objects.isEmpty())
        return;
    LOG_OBSERVATION_DEBUG("Starting observing %1 children...", objects.size());
    for (ManagedObject* object : objects) {
        // The delegate may stop us from within a report.
        if (!isObservingObject())
            return;
        Child child { object, report, {} };
        for (const QString& childKeyPath : std::as_const(m_childKeyPaths))
            child.observations.push_back(object->addObserver(childKeyPath, [this, childKeyPath](ManagedObject* changed, const KeyValueChange&) {
                LOG_OBSERVATION_DEBUG("Child %1 key path %2 changed...", changed, childKeyPath);
                m_delegate->observerDidObserveChildPropertyChange(this, childKeyPath, changed);
            }));
        m_children.push_back(std::move(child));
        if (report)
            m_delegate->observerDidObserveAddObject(this, object);
    }
}

void CollectionObserver::stopObservingChildren(const QList<ManagedObject*>& objects)
{
    if (objects.isEmpty())
        return;
    LOG_OBSERVATION_DEBUG("Stopping observing %1 children...", objects.size());
    for (ManagedObject* object : objects) {
        const auto found = std::find_if(m_children.begin(), m_children.end(), [object](const Child& child) { return child.object == object; });
        if (found == m_children.end())
            continue;
        const bool reported = found->reported;
        m_children.erase(found);
        if (reported)
            m_delegate->observerDidObserveRemoveObject(this, object);
    }
}
