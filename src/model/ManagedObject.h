#pragma once
// Base of every entity. Stored values and relationships live here and change
// only through the owning ObjectContext, so that undo, change reports and the
// upkeep of inverses are the same for every entity; the typed accessors of the
// entity classes are thin calls into the generic ones.
#include "model/EntityDescription.h"
#include "model/MHKVONotificationHelper.h"
#include "model/ObjectID.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class ObjectContext;

class ManagedObject {
public:
    virtual ~ManagedObject();
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;

    const EntityDescription& entity() const { return m_entity; }
    const QString& entityName() const { return m_entity.name(); }
    ObjectID objectID() const;
    ObjectContext* managedObjectContext() const { return m_context; }
    // Live in its context; a deleted object is kept (for undo) but not live.
    bool isInserted() const { return m_context && !m_deleted; }
    bool isDeleted() const { return m_deleted; }
    // Increases with every object a context makes; breaks ties in ordered lists.
    quint64 creationSerial() const { return m_serial; }

    virtual QString logDescription() const;

    // Generic access; keys are names of the entity's attributes and relationships.
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    ManagedObject* toOne(const QString& key) const;
    void setToOne(const QString& key, ManagedObject* target);
    QList<ManagedObject*> toMany(const QString& key) const;
    void addToManyObject(const QString& key, ManagedObject* target);
    void removeToManyObject(const QString& key, ManagedObject* target);

    // Calls block on every change of the key path until the answer is
    // destroyed; main thread only (see MHKVONotificationHelper).
    std::unique_ptr<MHKVONotificationHelper> addObserver(const QString& keyPath, MHKVONotificationHelper::Block block);
    std::unique_ptr<MHKVONotificationHelper> addObserver(const QString& keyPath, KeyValueObservingOptions options,
                                                         MHKVONotificationHelper::Block block);

protected:
    explicit ManagedObject(const EntityDescription& entity);

    // Sets up a new object just before it joins its context (with
    // setInitialValue), so the values are part of the insert itself.
    virtual void awakeFromInsert() {}

    int32_t int32Value(const QString& key) const;
    double doubleValue(const QString& key) const;
    // Values an object starts with, before it is inserted; never recorded.
    void setInitialValue(const QString& key, const QVariant& value);

    template <typename T>
    T* toOneAs(const QString& key) const
    {
        return static_cast<T*>(toOne(key));
    }
    template <typename T>
    QList<T*> toManyAs(const QString& key) const
    {
        QList<T*> typed;
        for (ManagedObject* object : toMany(key))
            typed.append(static_cast<T*>(object));
        return typed;
    }

private:
    friend class ObjectContext;

    const EntityDescription& m_entity;
    ObjectContext* m_context = nullptr;
    quint64 m_serial = 0;
    bool m_deleted = false;
    bool m_beingDeleted = false;
    QHash<QString, QVariant> m_values;
    QHash<QString, ManagedObject*> m_toOne;
    QHash<QString, QList<ManagedObject*>> m_toMany;
};
