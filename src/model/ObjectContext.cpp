#include "model/ObjectContext.h"

#include "foundation/Log.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "model/DBWaitPreviousItem.h"
#include "model/ModelEnumerations.h"
#include "model/ModelTexts.h"

#include <QMetaObject>
#include <algorithm>

namespace {

QVariant objectVariant(ManagedObject* object)
{
    return QVariant::fromValue(object);
}

// Sorts by an integer sort index; stable over a list in creation order, so
// equal indexes keep creation order.
template <typename T>
QList<T*> sortedBySortIndex(QList<T*> objects, const QString& key)
{
    std::sort(objects.begin(), objects.end(), [&key](const T* a, const T* b) {
        const int32_t left = a->value(key).toInt();
        const int32_t right = b->value(key).toInt();
        return left != right ? left < right : a->creationSerial() < b->creationSerial();
    });
    return objects;
}

} // namespace

ObjectContext::ObjectContext(const ModelTexts& texts, QObject* parent)
    : QObject(parent)
    , m_texts(texts)
    , m_identifier(QUuid::createUuid())
{
}

ObjectContext::~ObjectContext()
{
    Q_EMIT willReset();
    // Undo actions point at the objects: drop them first.
    m_undoManager.removeAllActions();
}

void ObjectContext::insertObject(std::unique_ptr<ManagedObject> object)
{
    ManagedObject* raw = object.get();
    Q_ASSERT_X(!raw->entity().isAbstract(), "ObjectContext::insertObject", "abstract entity");
    raw->awakeFromInsert();
    raw->m_context = this;
    raw->m_serial = ++m_lastSerial;
    raw->m_deleted = true; // not live until setLive() records the insert
    m_objectsBySerial.insert(raw->m_serial, raw);
    m_objects.push_back(std::move(object));
    setLive(raw, true);
}

void ObjectContext::deleteObject(ManagedObject* object)
{
    if (!object || object->m_context != this) {
        LOG_ERROR("Cannot delete %1: it is not an object of this context", object);
        return;
    }
    if (object->m_deleted || object->m_beingDeleted)
        return;
    object->m_beingDeleted = true;
    for (const RelationshipDescription* relationship : object->entity().relationships()) {
        for (ManagedObject* target : related(object, *relationship)) {
            // A cascaded object cuts its link back to us as it goes.
            if (relationship->deleteRule == DeleteRule::Cascade)
                deleteObject(target);
            unrelate(object, *relationship, target);
        }
    }
    object->m_beingDeleted = false;
    setLive(object, false);
}

ObjectID ObjectContext::objectIDFor(const ManagedObject& object) const
{
    return ObjectID(m_identifier, object.entityName(), object.m_serial);
}

ManagedObject* ObjectContext::objectWithID(const ObjectID& id) const
{
    if (id.isNull() || id.contextID() != m_identifier)
        return nullptr;
    ManagedObject* object = m_objectsBySerial.value(id.number());
    if (!object || object->m_deleted || object->entityName() != id.entityName())
        return nullptr;
    return object;
}

ManagedObject* ObjectContext::objectWithURI(const QString& uriRepresentation) const
{
    const std::optional<ObjectID> id = ObjectID::fromUriRepresentation(uriRepresentation);
    return id ? objectWithID(*id) : nullptr;
}

QList<ManagedObject*> ObjectContext::fetchObjects(const EntityDescription& entity, const Filter& filter, const LessThan& lessThan) const
{
    QList<ManagedObject*> result;
    for (const auto& object : m_objects)
        if (!object->m_deleted && object->entity().isKindOf(entity) && (!filter || filter(*object)))
            result.append(object.get());
    if (lessThan)
        std::stable_sort(result.begin(), result.end(), [&lessThan](const ManagedObject* a, const ManagedObject* b) {
            return lessThan(*a, *b);
        });
    return result;
}

void ObjectContext::markSaved()
{
    m_hasChanges = false;
}

void ObjectContext::reset()
{
    Q_EMIT willReset();
    m_undoManager.removeAllActions();
    m_touched.clear();
    m_touchedSet.clear();
    m_liveAtPassStart.clear();
    m_updated.clear();
    m_objectsBySerial.clear();
    m_objects.clear();
    m_hasChanges = false;
    ++m_membershipChangeCount;
    m_changeCount.fetch_add(1, std::memory_order_release);
}

void ObjectContext::processPendingChanges()
{
    m_processingScheduled = false;
    ObjectsChange change;
    for (ManagedObject* object : std::as_const(m_touched)) {
        const bool live = !object->m_deleted;
        const bool wasLive = m_liveAtPassStart.value(object, live);
        if (live && !wasLive)
            change.inserted.append(object);
        else if (!live && wasLive)
            change.deleted.append(object);
        else if (live && m_updated.contains(object))
            change.updated.append(object);
    }
    m_touched.clear();
    m_touchedSet.clear();
    m_liveAtPassStart.clear();
    m_updated.clear();
    if (!change.inserted.isEmpty() || !change.updated.isEmpty() || !change.deleted.isEmpty())
        Q_EMIT objectsDidChange(change);
}

void ObjectContext::noteChange(ManagedObject* object)
{
    m_hasChanges = true;
    m_changeCount.fetch_add(1, std::memory_order_release);
    if (!m_touchedSet.contains(object)) {
        m_touchedSet.insert(object);
        m_touched.append(object);
    }
    if (!m_processingScheduled) {
        m_processingScheduled = true;
        QMetaObject::invokeMethod(this, &ObjectContext::processPendingChanges, Qt::QueuedConnection);
    }
}

// --- Primitives -----------------------------------------------------------

void ObjectContext::setLive(ManagedObject* object, bool live)
{
    if (!object->m_deleted == live)
        return;
    if (!m_liveAtPassStart.contains(object))
        m_liveAtPassStart.insert(object, !object->m_deleted);
    object->m_deleted = !live;
    ++m_membershipChangeCount;
    m_undoManager.registerUndo([this, object, live] { setLive(object, !live); });
    noteChange(object);
}

void ObjectContext::changeAttribute(ManagedObject* object, const QString& key, const QVariant& value)
{
    const QVariant old = object->m_values.value(key);
    if (old == value)
        return;
    if (value.isValid())
        object->m_values.insert(key, value);
    else
        object->m_values.remove(key);
    m_undoManager.registerUndo([this, object, key, old] { changeAttribute(object, key, old); });
    m_updated.insert(object);
    noteChange(object);
    Q_EMIT valueChanged(object, key, old, value);
}

void ObjectContext::changeHalf(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target, bool link,
                               bool checkMembers)
{
    const QString& key = relationship.name;
    if (relationship.toMany) {
        QList<ManagedObject*>& members = object->m_toMany[key];
        if (checkMembers && members.contains(target) == link)
            return;
        if (link)
            members.append(target);
        else
            members.removeOne(target);
    } else {
        ManagedObject* old = object->m_toOne.value(key);
        ManagedObject* now = link ? target : nullptr;
        if (old == now)
            return;
        object->m_toOne.insert(key, now);
    }
    const RelationshipDescription* description = &relationship;
    m_undoManager.registerUndo([this, object, description, target, link] { changeHalf(object, *description, target, !link); });
    m_updated.insert(object);
    noteChange(object);
    if (relationship.toMany) {
        const QList<ManagedObject*> changed { target };
        Q_EMIT toManyChanged(object, key, link ? changed : QList<ManagedObject*>(), link ? QList<ManagedObject*>() : changed);
    } else {
        Q_EMIT valueChanged(object, key, objectVariant(link ? nullptr : target), objectVariant(link ? target : nullptr));
    }
}

void ObjectContext::relate(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target)
{
    if (related(object, relationship).contains(target))
        return;
    if (!relationship.toMany)
        if (ManagedObject* old = object->m_toOne.value(relationship.name))
            unrelate(object, relationship, old);
    const RelationshipDescription& inverse = *relationship.inverse;
    if (!inverse.toMany)
        if (ManagedObject* previous = target->m_toOne.value(inverse.name))
            unrelate(target, inverse, previous);
    // Both halves are known to be unlinked, since they always agree: a group's
    // long list of items is not searched again for every item added.
    changeHalf(object, relationship, target, true, false);
    changeHalf(target, inverse, object, true, false);
}

void ObjectContext::unrelate(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target)
{
    if (!related(object, relationship).contains(target))
        return;
    changeHalf(object, relationship, target, false);
    changeHalf(target, *relationship.inverse, object, false);
}

QList<ManagedObject*> ObjectContext::related(const ManagedObject* object, const RelationshipDescription& relationship)
{
    if (relationship.toMany)
        return object->m_toMany.value(relationship.name);
    ManagedObject* target = object->m_toOne.value(relationship.name);
    return target ? QList<ManagedObject*> { target } : QList<ManagedObject*>();
}

// --- Checked generic mutation --------------------------------------------

bool ObjectContext::isMutable(const ManagedObject* object, const QString& key) const
{
    if (!object || object->m_context != this) {
        LOG_ERROR("Cannot change %1 of %2: not an object of this context", key, object);
        return false;
    }
    if (object->m_deleted) {
        LOG_ERROR("Cannot change %1 of deleted %2", key, object);
        return false;
    }
    return true;
}

void ObjectContext::setAttribute(ManagedObject* object, const QString& key, const QVariant& value)
{
    if (!isMutable(object, key))
        return;
    const AttributeDescription* attribute = object->entity().attribute(key);
    if (!attribute) {
        LOG_ERROR("Unknown attribute %1 of %2", key, object);
        return;
    }
    bool ok = false;
    const QVariant stored = attribute->normalized(value, &ok);
    if (!ok) {
        LOG_ERROR("Rejecting value %1 for %2 of %3", value.toString(), key, object);
        return;
    }
    changeAttribute(object, key, stored);
}

const RelationshipDescription* ObjectContext::checkedRelationship(ManagedObject* object, const QString& key, ManagedObject* target,
                                                                  bool toMany) const
{
    if (!isMutable(object, key))
        return nullptr;
    const RelationshipDescription* relationship = object->entity().relationship(key);
    if (!relationship || relationship->toMany != toMany) {
        LOG_ERROR("Unknown %1 relationship %2 of %3", toMany ? "to-many" : "to-one", key, object);
        return nullptr;
    }
    if (target && (target->m_context != this || target->m_deleted || !target->entity().isKindOf(*relationship->target))) {
        LOG_ERROR("Cannot relate %1 to %2 through %3", object, target, key);
        return nullptr;
    }
    return relationship;
}

void ObjectContext::setToOne(ManagedObject* object, const QString& key, ManagedObject* target)
{
    const RelationshipDescription* relationship = checkedRelationship(object, key, target, false);
    if (!relationship)
        return;
    if (target)
        relate(object, *relationship, target);
    else if (ManagedObject* old = object->m_toOne.value(key))
        unrelate(object, *relationship, old);
}

void ObjectContext::addToManyObject(ManagedObject* object, const QString& key, ManagedObject* target)
{
    if (!target) {
        LOG_ERROR("Cannot add nothing to %1 of %2", key, object);
        return;
    }
    if (const RelationshipDescription* relationship = checkedRelationship(object, key, target, true))
        relate(object, *relationship, target);
}

void ObjectContext::removeToManyObject(ManagedObject* object, const QString& key, ManagedObject* target)
{
    if (!target)
        return;
    if (const RelationshipDescription* relationship = checkedRelationship(object, key, nullptr, true))
        unrelate(object, *relationship, target);
}

// --- Creation --------------------------------------------------------------

DBFileItem* ObjectContext::createFileItemWithPath(const QString& path)
{
    LOG_DEBUG("Creating new file item with path %1...", path);
    DBFileItem* item = insertNewObject<DBFileItem>();
    item->setItemPath(path);
    return item;
}

DBDelayItem* ObjectContext::createDelayItemWithDelay(double delay)
{
    LOG_DEBUG("Creating new delay item with delay %1...", delay);
    DBDelayItem* item = insertNewObject<DBDelayItem>();
    item->setItemDelayValue(delay);
    return item;
}

DBWaitPreviousItem* ObjectContext::createWaitPreviousItem()
{
    LOG_DEBUG("Creating new wait previous item...");
    return insertNewObject<DBWaitPreviousItem>();
}

DBConditionalPreviousItem* ObjectContext::createConditionalPreviousItem()
{
    return createConditionalPreviousItemWithMode(int32_t(ConditionalPreviousItemModeIfLaunched));
}

DBConditionalPreviousItem* ObjectContext::createConditionalPreviousItemWithMode(const QVariant& mode)
{
    LOG_DEBUG("Creating new conditional previous item...");
    DBConditionalPreviousItem* item = insertNewObject<DBConditionalPreviousItem>();
    item->setItemMode(mode);
    return item;
}

DBStartupCondition* ObjectContext::createStartupConditionWithData(int32_t type, const QString& relationship, ManagedObject* data)
{
    DBStartupCondition* condition = DBStartupCondition::createStartupConditionOfType(type, *this);
    condition->setToOne(relationship, data);
    return condition;
}

DBStartupCondition* ObjectContext::createScheduledStartupConditionWithDefaultScheduleItem(bool withDefaultItem)
{
    DBScheduledConditionData* data = createScheduledConditionData();
    DBStartupCondition* condition = createStartupConditionWithData(StartupConditionTypeScheduled, QStringLiteral("conditionScheduledData"), data);
    if (withDefaultItem)
        createScheduledConditionDataItem()->setScheduleConditionData(data);
    return condition;
}

DBStartupCondition* ObjectContext::createScheduledStartupCondition()
{
    return createScheduledStartupConditionWithDefaultScheduleItem(true);
}

DBStartupCondition* ObjectContext::createHotkeyStartupCondition()
{
    return createStartupConditionWithData(StartupConditionTypeHotkey, QStringLiteral("conditionHotkeyData"), createHotkeyConditionData());
}

DBStartupCondition* ObjectContext::createPowerSourceStartupCondition()
{
    return createStartupConditionWithData(StartupConditionTypePowerSource, QStringLiteral("conditionPowerSourceData"),
                                          createPowerSourceConditionData());
}

DBStartupCondition* ObjectContext::createMountedVolumeStartupCondition()
{
    return createStartupConditionWithData(StartupConditionTypeMountedVolume, QStringLiteral("conditionVolumeData"),
                                          createVolumeConditionData());
}

DBStartupCondition* ObjectContext::createNetworkStartupCondition()
{
    return createStartupConditionWithData(StartupConditionTypeNetwork, QStringLiteral("conditionNetworkData"),
                                          createNetworkConditionData());
}

DBHotkeyConditionData* ObjectContext::createHotkeyConditionData()
{
    LOG_DEBUG("Creating new hotkey condition data...");
    return insertNewObject<DBHotkeyConditionData>();
}

DBPowerSourceConditionData* ObjectContext::createPowerSourceConditionData()
{
    LOG_DEBUG("Creating new power source condition data...");
    return insertNewObject<DBPowerSourceConditionData>();
}

DBScheduledConditionData* ObjectContext::createScheduledConditionData()
{
    LOG_DEBUG("Creating new scheduled condition data...");
    return insertNewObject<DBScheduledConditionData>();
}

DBScheduledConditionDataItem* ObjectContext::createScheduledConditionDataItem()
{
    LOG_DEBUG("Creating new scheduled condition data item...");
    return insertNewObject<DBScheduledConditionDataItem>();
}

DBVolumeConditionData* ObjectContext::createVolumeConditionData()
{
    LOG_DEBUG("Creating new volume condition data...");
    return insertNewObject<DBVolumeConditionData>();
}

DBNetworkConditionData* ObjectContext::createNetworkConditionData()
{
    LOG_DEBUG("Creating new network condition data...");
    return insertNewObject<DBNetworkConditionData>();
}

// --- Groups and ordered reading ---------------------------------------------

DBLoginGroup* ObjectContext::getOrCreateApplicationLoginGroup()
{
    return DBLoginGroup::getOrCreateGroupOfType(LoginGroupTypeApplication, m_texts.applicationLoginGroupDisplayName(), *this);
}

DBLoginGroup* ObjectContext::getOrCreateIgnoreLoginGroup()
{
    return DBLoginGroup::getOrCreateGroupOfType(LoginGroupTypeIgnored, m_texts.ignoreLoginGroupDisplayName(), *this);
}

QList<DBLoginItem*> ObjectContext::sortedLoginItemsForGroup(const DBLoginGroup* group) const
{
    return group ? sortedBySortIndex(group->groupLoginItems(), QStringLiteral("itemSortIndex")) : QList<DBLoginItem*>();
}

DBLoginItem* ObjectContext::loginItemImmediatelyBeforeItem(const DBLoginItem& item) const
{
    return loginItemAtOffsetFromItem(item, -1);
}

DBLoginItem* ObjectContext::loginItemImmediatelyAfterItem(const DBLoginItem& item) const
{
    return loginItemAtOffsetFromItem(item, 1);
}

DBLoginItem* ObjectContext::loginItemAtOffsetFromItem(const DBLoginItem& item, qsizetype offset) const
{
    const QList<DBLoginItem*> items = sortedLoginItemsForGroup(item.itemLoginGroup());
    const auto found = std::find(items.cbegin(), items.cend(), &item);
    if (found == items.cend())
        return nullptr;
    return items.value((found - items.cbegin()) + offset, nullptr);
}

QList<DBStartupCondition*> ObjectContext::sortedStartupConditions() const
{
    LOG_DEBUG("Fetching startup conditions...");
    return sortedBySortIndex(fetch<DBStartupCondition>(), QStringLiteral("conditionSortIndex"));
}

QList<DBScheduledConditionDataItem*> ObjectContext::sortedScheduleItemsForScheduledConditionData(const DBScheduledConditionData* data) const
{
    return data ? sortedBySortIndex(data->scheduleItems(), QStringLiteral("scheduleSortIndex")) : QList<DBScheduledConditionDataItem*>();
}
