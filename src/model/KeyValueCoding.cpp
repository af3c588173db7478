#include "model/KeyValueCoding.h"

#include "model/DBFileItem.h"
#include "model/DBLoginItem.h"

#include <functional>

namespace {

struct DerivedKey {
    QString entityName; // applies to this entity and its sub-entities
    QString key;
    QSet<QString> affectedBy;
    std::function<QVariant(const ManagedObject&)> read;
};

const QList<DerivedKey>& derivedKeys()
{
    static const QList<DerivedKey> keys = [] {
        const auto item = [](const ManagedObject& object) -> const DBLoginItem& { return static_cast<const DBLoginItem&>(object); };
        const auto file = [](const ManagedObject& object) -> const DBFileItem& { return static_cast<const DBFileItem&>(object); };
        const QSet<QString> path { QStringLiteral("itemPath") };
        return QList<DerivedKey> {
            { "FileItem", "itemNiceDisplayName", path, [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDisplayName()); } },
            { "FileItem", "itemNiceDescription", path, [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDescription()); } },
            { "FileItem", "itemIconName", path, [=](const ManagedObject& o) { return QVariant(file(o).itemIconName()); } },
            { "FileItem", "itemIsMissing", path, [=](const ManagedObject& o) { return QVariant(file(o).itemIsMissing()); } },
            { "DelayItem", "itemNiceDisplayName", { "itemDelay" }, [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDisplayName()); } },
            { "ConditionalPreviousItem", "itemNiceDisplayName", { "itemMode" },
              [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDisplayName()); } },
            { "ConditionalPreviousItem", "itemNiceDescription", { "itemMode" },
              [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDescription()); } },
            // Kinds whose names never change still answer.
            { "LoginItem", "itemNiceDisplayName", {}, [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDisplayName()); } },
            { "LoginItem", "itemNiceDescription", {}, [=](const ManagedObject& o) { return QVariant(item(o).itemNiceDescription()); } },
        };
    }();
    return keys;
}

// The most specific derived key of that name for the object, first match wins
// as the table lists sub-entities before their parents.
const DerivedKey* derivedKey(const ManagedObject& object, const QString& key)
{
    for (const DerivedKey& derived : derivedKeys())
        if (derived.key == key && object.entity().isKindOf(ModelSchema::entity(derived.entityName)))
            return &derived;
    return nullptr;
}

QVariant objectVariant(ManagedObject* object)
{
    return object ? QVariant::fromValue(object) : QVariant();
}

} // namespace

QVariant KeyValueCoding::valueForKey(const ManagedObject* object, const QString& key)
{
    if (!object)
        return {};
    const EntityDescription& entity = object->entity();
    if (entity.attribute(key))
        return object->value(key);
    if (const RelationshipDescription* relationship = entity.relationship(key)) {
        if (!relationship->toMany)
            return objectVariant(object->toOne(key));
        QVariantList members;
        for (ManagedObject* member : object->toMany(key))
            members.append(objectVariant(member));
        return members;
    }
    if (const DerivedKey* derived = derivedKey(*object, key))
        return derived->read(*object);
    return {};
}

QVariant KeyValueCoding::valueForKeyPath(const ManagedObject* object, const QString& keyPath)
{
    const qsizetype dot = keyPath.indexOf(u'.');
    if (dot < 0)
        return valueForKey(object, keyPath);
    const QString rest = keyPath.mid(dot + 1);
    const QVariant first = valueForKey(object, keyPath.left(dot));
    if (first.typeId() != QMetaType::QVariantList)
        return valueForKeyPath(objectInValue(first), rest);
    QVariantList values;
    for (const QVariant& member : first.toList())
        values.append(valueForKeyPath(objectInValue(member), rest));
    return values;
}

QSet<QString> KeyValueCoding::keyPathsForValuesAffectingKey(const ManagedObject& object, const QString& key)
{
    const DerivedKey* derived = derivedKey(object, key);
    return derived ? derived->affectedBy : QSet<QString>();
}

QSet<QString> KeyValueCoding::keysAffectingKeyInAnyEntity(const QString& key)
{
    QSet<QString> keys;
    for (const DerivedKey& derived : derivedKeys())
        if (derived.key == key)
            keys.unite(derived.affectedBy);
    return keys;
}

ManagedObject* KeyValueCoding::objectInValue(const QVariant& value)
{
    return value.typeId() == qMetaTypeId<ManagedObject*>() ? value.value<ManagedObject*>() : nullptr;
}

QList<ManagedObject*> KeyValueCoding::objectsInValue(const QVariant& value)
{
    if (value.typeId() != QMetaType::QVariantList) {
        ManagedObject* object = objectInValue(value);
        return object ? QList<ManagedObject*> { object } : QList<ManagedObject*>();
    }
    QList<ManagedObject*> objects;
    for (const QVariant& member : value.toList())
        objects.append(objectsInValue(member));
    return objects;
}
