#include "model/EntityDescription.h"

#include <QDateTime>
#include <limits>
#include <utility>

QVariant AttributeDescription::normalized(const QVariant& value, bool* ok) const
{
    *ok = true;
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case AttributeType::Int32: {
        bool converted = false;
        const qlonglong number = value.toLongLong(&converted);
        // A fraction or an out-of-range number would be silently changed.
        if (!converted || number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max()
            || (value.typeId() == QMetaType::Double && value.toDouble() != static_cast<double>(number))) {
            *ok = false;
            return {};
        }
        return QVariant(static_cast<int32_t>(number));
    }
    case AttributeType::Double: {
        bool converted = false;
        const double number = value.toDouble(&converted);
        *ok = converted;
        return converted ? QVariant(number) : QVariant();
    }
    case AttributeType::Dictionary:
        *ok = value.typeId() == QMetaType::QVariantMap;
        return *ok && !value.toMap().isEmpty() ? value : QVariant();
    case AttributeType::String:
    case AttributeType::Date: {
        const QMetaType::Type expected = type == AttributeType::String ? QMetaType::QString : QMetaType::QDateTime;
        if (value.typeId() != expected) {
            *ok = false;
            return {};
        }
        // A null text or an invalid date is an absent value.
        const bool present = type == AttributeType::String ? !value.toString().isNull() : value.toDateTime().isValid();
        return present ? value : QVariant();
    }
    }
    *ok = false;
    return {};
}

EntityDescription::EntityDescription(QString name, QString className, const EntityDescription* parent, bool isAbstract,
                                     QList<AttributeDescription> attributes, QList<RelationshipDescription> relationships)
    : m_name(std::move(name))
    , m_className(std::move(className))
    , m_parent(parent)
    , m_abstract(isAbstract)
    , m_attributes(std::move(attributes))
    , m_relationships(std::move(relationships))
{
}

QList<const AttributeDescription*> EntityDescription::attributes() const
{
    QList<const AttributeDescription*> all = m_parent ? m_parent->attributes() : QList<const AttributeDescription*>();
    for (const AttributeDescription& attribute : m_attributes)
        all.append(&attribute);
    return all;
}

QList<const RelationshipDescription*> EntityDescription::relationships() const
{
    QList<const RelationshipDescription*> all = m_parent ? m_parent->relationships() : QList<const RelationshipDescription*>();
    for (const RelationshipDescription& relationship : m_relationships)
        all.append(&relationship);
    return all;
}

const AttributeDescription* EntityDescription::attribute(const QString& name) const
{
    for (const AttributeDescription& attribute : m_attributes)
        if (attribute.name == name)
            return &attribute;
    return m_parent ? m_parent->attribute(name) : nullptr;
}

const RelationshipDescription* EntityDescription::relationship(const QString& name) const
{
    for (const RelationshipDescription& relationship : m_relationships)
        if (relationship.name == name)
            return &relationship;
    return m_parent ? m_parent->relationship(name) : nullptr;
}

bool EntityDescription::isKindOf(const EntityDescription& other) const
{
    for (const EntityDescription* entity = this; entity; entity = entity->m_parent)
        if (entity == &other)
            return true;
    return false;
}

void EntityDescription::resolveRelationships(const std::function<const EntityDescription*(const QString&)>& findEntity)
{
    for (RelationshipDescription& relationship : m_relationships) {
        relationship.target = findEntity(relationship.targetEntityName);
        Q_ASSERT_X(relationship.target, "EntityDescription", "relationship to an unknown entity");
        relationship.inverse = relationship.target->relationship(relationship.inverseName);
        Q_ASSERT_X(relationship.inverse, "EntityDescription", "relationship without its inverse");
    }
}
