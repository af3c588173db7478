#pragma once
// One observation of a key path of a model object, made with
// ManagedObject::addObserver and ended when its owner lets go of it (or by
// deregister()), so that no block is ever called for an observer that is gone.
//
// Key paths may run through relationships ("itemStartupConditions.conditionName"):
// a change of any object on the way, of a relationship on the way, or of a
// stored key a derived key follows (itemPath for a file item's display name)
// is reported. Changes are reported as the object context makes them, so
// blocks run on the main thread, like every user of the context; registering
// or being told elsewhere asserts in debug builds. When the context resets or
// goes away the observation ends by itself.
#include "foundation/ScopedConnection.h"

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>
#include <QSet>
#include <QVariant>
#include <functional>

class ManagedObject;

enum class KeyValueObservingOption {
    New = 0x1, // fill KeyValueChange::newValue
    Old = 0x2, // fill KeyValueChange::oldValue
    Initial = 0x4, // report once at registration
};
Q_DECLARE_FLAGS(KeyValueObservingOptions, KeyValueObservingOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(KeyValueObservingOptions)

struct KeyValueChange {
    enum Kind { Setting, Insertion, Removal };

    Kind kind = Setting;
    QString keyPath;
    // Values as KeyValueCoding reads them; invalid stands for nothing.
    QVariant oldValue;
    QVariant newValue;
    // Insertion and Removal: a to-many key observed directly.
    QList<ManagedObject*> inserted;
    QList<ManagedObject*> removed;
};

class MHKVONotificationHelper {
public:
    using Block = std::function<void(ManagedObject* object, const KeyValueChange& change)>;

    MHKVONotificationHelper(ManagedObject* target, const QString& keyPath, KeyValueObservingOptions options, Block block);
    ~MHKVONotificationHelper();
    MHKVONotificationHelper(const MHKVONotificationHelper&) = delete;
    MHKVONotificationHelper& operator=(const MHKVONotificationHelper&) = delete;

    ManagedObject* target() const { return m_target; }
    const QString& keyPath() const { return m_keyPath; }
    bool isRegistered() const { return m_target != nullptr; }
    void deregister();

    // A value that stands for nothing (an empty to-one) becomes invalid.
    static QVariant objectOrNilFor(const QVariant& value);

private:
    void objectValueChanged(ManagedObject* object, const QString& key);
    void objectToManyChanged(ManagedObject* object, const QString& key, const QList<ManagedObject*>& inserted,
                             const QList<ManagedObject*>& removed);
    bool isAffectedByChange(ManagedObject* object, const QString& key) const;
    void deliver(KeyValueChange change);

    ManagedObject* m_target = nullptr;
    const QString m_keyPath;
    const QStringList m_components;
    const KeyValueObservingOptions m_options;
    const Block m_block;
    // Components and the stored keys derived components follow: any other key
    // cannot matter, which spares walking the path on most changes.
    QSet<QString> m_watchedKeys;
    QVariant m_lastValue; // for Old
    ScopedConnection m_valueConnection;
    ScopedConnection m_toManyConnection;
    ScopedConnection m_resetConnection;
};
