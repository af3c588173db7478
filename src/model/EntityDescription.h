#pragma once
// What the object context knows about one entity: its attributes with their
// types and defaults, and its relationships with inverse and delete rule.
// Descriptions are built once by ModelSchema and live for the process.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class EntityDescription;

enum class AttributeType { Int32, Double, String, Date, Dictionary };

struct AttributeDescription {
    QString name;
    AttributeType type;
    QVariant defaultValue; // invalid: absent

    // The value as stored: absent for null input, converted to the attribute's
    // type; ok is false for a value that cannot be stored unchanged.
    QVariant normalized(const QVariant& value, bool* ok) const;
};

enum class DeleteRule { Nullify, Cascade };

struct RelationshipDescription {
    QString name;
    QString targetEntityName;
    bool toMany = false;
    QString inverseName;
    DeleteRule deleteRule = DeleteRule::Nullify;
    // Resolved by ModelSchema once every entity exists.
    const EntityDescription* target = nullptr;
    const RelationshipDescription* inverse = nullptr;
};

class EntityDescription {
public:
    EntityDescription(QString name, QString className, const EntityDescription* parent, bool isAbstract,
                      QList<AttributeDescription> attributes, QList<RelationshipDescription> relationships);

    const QString& name() const { return m_name; }
    const QString& className() const { return m_className; }
    const EntityDescription* parent() const { return m_parent; }
    bool isAbstract() const { return m_abstract; }

    // Own and inherited, the parent's first.
    QList<const AttributeDescription*> attributes() const;
    QList<const RelationshipDescription*> relationships() const;
    const AttributeDescription* attribute(const QString& name) const;
    const RelationshipDescription* relationship(const QString& name) const;

    bool isKindOf(const EntityDescription& other) const;

    // Links every relationship to its target and inverse; asserts when one is
    // missing, which is a mistake in the schema.
    void resolveRelationships(const std::function<const EntityDescription*(const QString&)>& findEntity);

private:

    QString m_name;
    QString m_className;
    const EntityDescription* m_parent;
    bool m_abstract;
    QList<AttributeDescription> m_attributes;
    QList<RelationshipDescription> m_relationships;
};
