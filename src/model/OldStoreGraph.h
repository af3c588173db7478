#pragma once
// The objects of an old store in memory, under the entity, attribute and
// relationship names of one model version. Objects are keyed per root entity
// (the store's primary keys are unique within a root entity's table).
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <optional>

struct OldStoreObject {
    // The concrete entity ("FileItem"); its root names the graph's table.
    QString entity;
    // Attribute name -> value; absent (NULL) values are left out.
    QVariantMap values;
    // To-one relationship name -> key of the related object in its root's table.
    QHash<QString, qint64> toOne;
    // Many-to-many relationship name -> keys of the related objects, ascending.
    QHash<QString, QList<qint64>> toMany;
};

class OldStoreGraph {
public:
    // The name of the model version the objects follow.
    QString modelName;
    // Root entity name -> key -> object.
    QHash<QString, QMap<qint64, OldStoreObject>> objects;

    // The key of the object of destinationRoot that a one-to-one relationship
    // links to: the object's own key column when the store has one, else the
    // first object whose inverse names it (the framework may keep either side).
    std::optional<qint64> related(const OldStoreObject& object, qint64 key, const QString& relationship, const QString& destinationRoot,
                                  const QString& inverse) const;
    // Keys of the objects of root whose to-one relationship names key.
    QList<qint64> referring(const QString& root, const QString& relationship, qint64 key) const;
};
