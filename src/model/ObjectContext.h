#pragma once
// The in-memory object store of the item database (main thread only).
//
// The context owns every object it made, deleted ones too, so that undo can
// bring back the very object with its ID; reset() frees them all. Every change
// goes through here: relationships keep their inverses, delete rules apply at
// once, each change registers its undo and is reported to observers, and the
// changes of one pass of the event loop are summed up in one objectsDidChange.
#include "model/ManagedObject.h"
#include "model/ObjectID.h"
#include "model/UndoManager.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ModelTexts;
class DBLoginItem;
class DBFileItem;
class DBDelayItem;
class DBWaitPreviousItem;
class DBConditionalPreviousItem;
class DBLoginGroup;
class DBStartupCondition;
class DBHotkeyConditionData;
class DBPowerSourceConditionData;
class DBScheduledConditionData;
class DBScheduledConditionDataItem;
class DBNetworkConditionData;
class DBVolumeConditionData;

struct ObjectsChange {
    QList<ManagedObject*> inserted;
    QList<ManagedObject*> updated;
    QList<ManagedObject*> deleted;
};

class ObjectContext : public QObject {
    Q_OBJECT
public:
    // texts must outlive the context.
    explicit ObjectContext(const ModelTexts& texts, QObject* parent = nullptr);
    ~ObjectContext() override;

    const ModelTexts& texts() const { return m_texts; }
    UndoManager& undoManager() { return m_undoManager; }
    const QUuid& identifier() const { return m_identifier; }

    template <typename T>
    T* insertNewObject()
    {
        T* object = new T();
        insertObject(std::unique_ptr<ManagedObject>(object));
        return object;
    }
    void deleteObject(ManagedObject* object);

    ObjectID objectIDFor(const ManagedObject& object) const;
    // Null for a deleted object, an unknown ID or another context's ID.
    ManagedObject* objectWithID(const ObjectID& id) const;
    ManagedObject* objectWithURI(const QString& uriRepresentation) const;

    using Filter = std::function<bool(const ManagedObject&)>;
    using LessThan = std::function<bool(const ManagedObject&, const ManagedObject&)>;
    // Live objects of the entity and its sub-entities; ties of the sort keep
    // creation order.
    QList<ManagedObject*> fetchObjects(const EntityDescription& entity, const Filter& filter = {},
                                       const LessThan& lessThan = {}) const;
    template <typename T>
    QList<T*> fetch(const std::function<bool(const T&)>& filter = {},
                    const std::function<bool(const T&, const T&)>& lessThan = {}) const
    {
        QList<T*> typed;
        const Filter anyFilter = filter ? Filter([&](const ManagedObject& object) { return filter(static_cast<const T&>(object)); }) : Filter();
        const LessThan anyLessThan = lessThan ? LessThan([&](const ManagedObject& a, const ManagedObject& b) {
            return lessThan(static_cast<const T&>(a), static_cast<const T&>(b));
        })
                                              : LessThan();
        for (ManagedObject* object : fetchObjects(T::entityDescription(), anyFilter, anyLessThan))
            typed.append(static_cast<T*>(object));
        return typed;
    }

    // Changed since the last markSaved() (or since creation or reset()).
    bool hasChanges() const { return m_hasChanges; }
    // Changes whenever an object is inserted or deleted (undo and redo
    // included) and at reset(): a list of objects taken while it had one
    // value holds live objects only as long as it keeps it.
    quint64 membershipChangeCount() const { return m_membershipChangeCount; }
    // Changes with every change of what the database stores (undo, redo and
    // reset() included), never with a transient value. Any thread may read
    // it: whoever works on a copy of the context learns whether the copy is
    // still current.
    quint64 changeCount() const { return m_changeCount.load(std::memory_order_acquire); }
    void markSaved();
    // Frees every object and forgets undo and pending changes.
    void reset();
    // Emits one objectsDidChange for the changes since the last call; also runs
    // by itself at the end of the current pass of the event loop.
    void processPendingChanges();

    // Generic mutation, reached through ManagedObject's setters.
    void setAttribute(ManagedObject* object, const QString& key, const QVariant& value);
    void setToOne(ManagedObject* object, const QString& key, ManagedObject* target);
    void addToManyObject(ManagedObject* object, const QString& key, ManagedObject* target);
    void removeToManyObject(ManagedObject* object, const QString& key, ManagedObject* target);

    // Creation. None sets a sort index or a group: the caller does.
    DBFileItem* createFileItemWithPath(const QString& path);
    DBDelayItem* createDelayItemWithDelay(double delay);
    DBWaitPreviousItem* createWaitPreviousItem();
    DBConditionalPreviousItem* createConditionalPreviousItem();
    // An invalid mode leaves itemMode absent (as loaded from a record without one).
    DBConditionalPreviousItem* createConditionalPreviousItemWithMode(const QVariant& mode);
    DBStartupCondition* createScheduledStartupConditionWithDefaultScheduleItem(bool withDefaultItem);
    DBStartupCondition* createScheduledStartupCondition();
    DBStartupCondition* createHotkeyStartupCondition();
    DBStartupCondition* createPowerSourceStartupCondition();
    DBStartupCondition* createMountedVolumeStartupCondition();
    DBStartupCondition* createNetworkStartupCondition();
    DBHotkeyConditionData* createHotkeyConditionData();
    DBPowerSourceConditionData* createPowerSourceConditionData();
    DBScheduledConditionData* createScheduledConditionData();
    DBScheduledConditionDataItem* createScheduledConditionDataItem();
    DBVolumeConditionData* createVolumeConditionData();
    DBNetworkConditionData* createNetworkConditionData();

    DBLoginGroup* getOrCreateApplicationLoginGroup();
    DBLoginGroup* getOrCreateIgnoreLoginGroup();

    // Ascending sort index; equal indexes keep creation order.
    QList<DBLoginItem*> sortedLoginItemsForGroup(const DBLoginGroup* group) const;
    // The item's neighbours in its group's order; null at either end and for
    // an item outside any group.
    DBLoginItem* loginItemImmediatelyBeforeItem(const DBLoginItem& item) const;
    DBLoginItem* loginItemImmediatelyAfterItem(const DBLoginItem& item) const;
    QList<DBStartupCondition*> sortedStartupConditions() const;
    QList<DBScheduledConditionDataItem*> sortedScheduleItemsForScheduledConditionData(const DBScheduledConditionData* data) const;

Q_SIGNALS:
    // Every object is about to be freed (reset() or destruction): whoever holds
    // objects of the context lets go of them now.
    void willReset();
    void objectsDidChange(const ObjectsChange& change);
    // Attributes and to-one relationships (values are ManagedObject* then).
    void valueChanged(ManagedObject* object, const QString& key, const QVariant& oldValue, const QVariant& newValue);
    void toManyChanged(ManagedObject* object, const QString& key, const QList<ManagedObject*>& inserted,
                       const QList<ManagedObject*>& removed);

private:
    void insertObject(std::unique_ptr<ManagedObject> object);
    DBLoginItem* loginItemAtOffsetFromItem(const DBLoginItem& item, qsizetype offset) const;
    DBStartupCondition* createStartupConditionWithData(int32_t type, const QString& relationship, ManagedObject* data);

    // Primitives: each registers its own inverse for undo and reports itself.
    void setLive(ManagedObject* object, bool live);
    void changeAttribute(ManagedObject* object, const QString& key, const QVariant& value);
    // Without checkMembers the caller knows that the change is one.
    void changeHalf(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target, bool link,
                    bool checkMembers = true);
    // Both sides of a relationship, cutting whatever a to-one side held before.
    void relate(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target);
    void unrelate(ManagedObject* object, const RelationshipDescription& relationship, ManagedObject* target);
    static QList<ManagedObject*> related(const ManagedObject* object, const RelationshipDescription& relationship);

    bool isMutable(const ManagedObject* object, const QString& key) const;
    const RelationshipDescription* checkedRelationship(ManagedObject* object, const QString& key, ManagedObject* target, bool toMany) const;
    void noteChange(ManagedObject* object);

    const ModelTexts& m_texts;
    const QUuid m_identifier;
    UndoManager m_undoManager;
    std::vector<std::unique_ptr<ManagedObject>> m_objects;
    QHash<quint64, ManagedObject*> m_objectsBySerial;
    quint64 m_lastSerial = 0;
    bool m_hasChanges = false;
    quint64 m_membershipChangeCount = 0;
    std::atomic<quint64> m_changeCount { 0 };

    // Pending changes of the current pass.
    QList<ManagedObject*> m_touched; // in order of first change
    QSet<ManagedObject*> m_touchedSet;
    QHash<ManagedObject*, bool> m_liveAtPassStart;
    QSet<ManagedObject*> m_updated;
    bool m_processingScheduled = false;
};
