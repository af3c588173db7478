#include "model/MHKVONotificationHelper.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "model/KeyValueCoding.h"
#include "model/ManagedObject.h"
#include "model/ObjectContext.h"

MHKVONotificationHelper::MHKVONotificationHelper(ManagedObject* target, const QString& keyPath, KeyValueObservingOptions options,
                                                 Block block)
    : m_keyPath(keyPath)
    , m_components(keyPath.split(u'.'))
    , m_options(options)
    , m_block(std::move(block))
{
    Q_ASSERT_X(is_main_thread(), "MHKVONotificationHelper", "model objects are observed on the main thread");
    ObjectContext* context = target ? target->managedObjectContext() : nullptr;
    if (!context || keyPath.isEmpty() || !m_block) {
        LOG_ERROR("Cannot observe key path %1 of %2", keyPath, target);
        return;
    }
    m_target = target;
    for (const QString& component : m_components) {
        m_watchedKeys.insert(component);
        m_watchedKeys.unite(KeyValueCoding::keysAffectingKeyInAnyEntity(component));
    }
    m_valueConnection = QObject::connect(context, &ObjectContext::valueChanged,
                                         [this](ManagedObject* object, const QString& key) { objectValueChanged(object, key); });
    m_toManyConnection = QObject::connect(context, &ObjectContext::toManyChanged, [this](ManagedObject* object, const QString& key,
                                                                                        const QList<ManagedObject*>& inserted,
                                                                                        const QList<ManagedObject*>& removed) {
        objectToManyChanged(object, key, inserted, removed);
    });
    // The objects are about to be freed: nothing may reach them afterwards.
    m_resetConnection = QObject::connect(context, &ObjectContext::willReset, [this] { deregister(); });
    if (m_options & KeyValueObservingOption::Old)
        m_lastValue = KeyValueCoding::valueForKeyPath(m_target, m_keyPath);
    if (m_options & KeyValueObservingOption::Initial) {
        KeyValueChange change;
        change.keyPath = m_keyPath;
        if (m_options & KeyValueObservingOption::New)
            change.newValue = KeyValueCoding::valueForKeyPath(m_target, m_keyPath);
        const Block block = m_block;
        block(m_target, change);
    }
}

MHKVONotificationHelper::~MHKVONotificationHelper()
{
    deregister();
}

void MHKVONotificationHelper::deregister()
{
    m_valueConnection.disconnect();
    m_toManyConnection.disconnect();
    m_resetConnection.disconnect();
    m_target = nullptr;
    m_lastValue.clear();
}

QVariant MHKVONotificationHelper::objectOrNilFor(const QVariant& value)
{
    if (value.typeId() == qMetaTypeId<ManagedObject*>() && !value.value<ManagedObject*>())
        return {};
    return value;
}

void MHKVONotificationHelper::objectValueChanged(ManagedObject* object, const QString& key)
{
    if (isAffectedByChange(object, key))
        deliver({});
}

void MHKVONotificationHelper::objectToManyChanged(ManagedObject* object, const QString& key, const QList<ManagedObject*>& inserted,
                                                  const QList<ManagedObject*>& removed)
{
    if (!isAffectedByChange(object, key))
        return;
    KeyValueChange change;
    if (object == m_target && key == m_keyPath) {
        change.kind = inserted.isEmpty() ? KeyValueChange::Removal : KeyValueChange::Insertion;
        change.inserted = inserted;
        change.removed = removed;
    }
    deliver(change);
}

// Walks the path as it stands now: the change matters when it is a change of
// a key on the path (or one a derived key on it follows) of an object the path
// passes through.
bool MHKVONotificationHelper::isAffectedByChange(ManagedObject* object, const QString& key) const
{
    Q_ASSERT_X(is_main_thread(), "MHKVONotificationHelper", "model changes are reported on the main thread");
    if (!m_target || !m_watchedKeys.contains(key))
        return false;
    QList<ManagedObject*> level { m_target };
    for (const QString& component : m_components) {
        if (level.contains(object) && (key == component || KeyValueCoding::keyPathsForValuesAffectingKey(*object, component).contains(key)))
            return true;
        QList<ManagedObject*> next;
        for (const ManagedObject* member : std::as_const(level))
            if (member->entity().relationship(component))
                next.append(KeyValueCoding::objectsInValue(KeyValueCoding::valueForKey(member, component)));
        if (next.isEmpty())
            return false;
        level = next;
    }
    return false;
}

void MHKVONotificationHelper::deliver(KeyValueChange change)
{
    change.keyPath = m_keyPath;
    if (m_options & (KeyValueObservingOption::New | KeyValueObservingOption::Old)) {
        const QVariant current = KeyValueCoding::valueForKeyPath(m_target, m_keyPath);
        if (m_options & KeyValueObservingOption::Old)
            change.oldValue = std::exchange(m_lastValue, current);
        if (m_options & KeyValueObservingOption::New)
            change.newValue = current;
    }
    // The block may end this very observation.
    const Block block = m_block;
    block(m_target, change);
}
