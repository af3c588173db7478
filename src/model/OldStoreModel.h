#pragma once
// The versions of the object model that older releases stored in SQLite.
//
// The stores were written by the platform's persistence framework, whose table
// layout we assume from its general conventions: one table "Z<ROOT ENTITY>"
// per root entity holding the rows of all its sub-entities, with "Z_PK" (key),
// "Z_ENT" (entity number, named in the catalogue "Z_PRIMARYKEY"), a column
// "Z<ATTRIBUTE>" per attribute and "Z<RELATIONSHIP>" per to-one relationship
// (the related key), and a join table "Z_<n><RELATIONSHIP>" per many-to-many
// relationship whose columns "Z_<n>…" hold the keys of the entity numbered n.
// Everything is found by name through the catalogue, never by position.
#include <QList>
#include <QString>
#include <QStringList>

class OldStoreModel {
public:
    enum class Type { Integer, Double, String, Date };

    struct Attribute {
        QString name;
        Type type;
    };
    struct ToOne {
        QString name;
        // Root entity of the related object.
        QString destination;
    };
    struct Entity {
        QString name;
        QString root;
        QList<Attribute> attributes;
        QList<ToOne> toOne;
    };
    // Stored in a join table named after either side.
    struct ManyToMany {
        QString root;
        QString name;
        QString destination;
        QString inverse;
    };

    QString name;
    // Steps between versions only ever go up.
    int version = 0;
    QList<Entity> entities;
    QList<ManyToMany> manyToMany;
    // "Entity.attribute" pairs whose columns tell this version's stores apart.
    QStringList signature;

    // Null for a name the model does not have.
    const Entity* entity(const QString& entityName) const;
    QStringList rootEntities() const;

    // The older model, before conditions kept their data apart and schedules had one data object.
    static const OldStoreModel& version2();
    // The model of the current entities, the last one stores were written with.
    static const OldStoreModel& version3();
    static const OldStoreModel& currentModel() { return version3(); }
    // Every version this program can read, oldest first.
    static QList<const OldStoreModel*> all();

    static QString tableName(const QString& rootEntity);
    static QString columnName(const QString& attributeOrRelationship);
};
