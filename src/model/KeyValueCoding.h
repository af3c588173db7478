#pragma once
// Reading model objects by key path, as the observers see them: stored
// attributes, relationships, and the derived values the views show (an item's
// display name, description, icon, missing state), with the stored keys each
// derived value follows.
//
// Values: an attribute as stored (invalid when absent); a to-one relationship
// as a ManagedObject* (invalid when empty); a to-many relationship, and every
// step after one, as a QVariantList with one value per element.
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

class ManagedObject;

class KeyValueCoding {
public:
    static QVariant valueForKeyPath(const ManagedObject* object, const QString& keyPath);
    static QVariant valueForKey(const ManagedObject* object, const QString& key);

    // The stored keys of the object whose changes change the derived key.
    static QSet<QString> keyPathsForValuesAffectingKey(const ManagedObject& object, const QString& key);
    // Every stored key some derived key of that name follows, of any entity.
    static QSet<QString> keysAffectingKeyInAnyEntity(const QString& key);

    // The objects a value holds: one object, or every object of a (nested) list.
    static QList<ManagedObject*> objectsInValue(const QVariant& value);
    static ManagedObject* objectInValue(const QVariant& value);
};
