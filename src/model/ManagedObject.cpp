#include "model/ManagedObject.h"

#include "foundation/Log.h"
#include "model/ObjectContext.h"

ManagedObject::ManagedObject(const EntityDescription& entity)
    : m_entity(entity)
{
    for (const AttributeDescription* attribute : entity.attributes())
        if (attribute->defaultValue.isValid())
            m_values.insert(attribute->name, attribute->defaultValue);
}

ManagedObject::~ManagedObject() = default;

ObjectID ManagedObject::objectID() const
{
    return m_context ? m_context->objectIDFor(*this) : ObjectID();
}

QString ManagedObject::logDescription() const
{
    return m_entity.className();
}

QVariant ManagedObject::value(const QString& key) const
{
    return m_values.value(key);
}

void ManagedObject::setValue(const QString& key, const QVariant& value)
{
    m_context->setAttribute(this, key, value);
}

ManagedObject* ManagedObject::toOne(const QString& key) const
{
    return m_toOne.value(key);
}

void ManagedObject::setToOne(const QString& key, ManagedObject* target)
{
    m_context->setToOne(this, key, target);
}

QList<ManagedObject*> ManagedObject::toMany(const QString& key) const
{
    return m_toMany.value(key);
}

void ManagedObject::addToManyObject(const QString& key, ManagedObject* target)
{
    m_context->addToManyObject(this, key, target);
}

void ManagedObject::removeToManyObject(const QString& key, ManagedObject* target)
{
    m_context->removeToManyObject(this, key, target);
}

std::unique_ptr<MHKVONotificationHelper> ManagedObject::addObserver(const QString& keyPath, MHKVONotificationHelper::Block block)
{
    return addObserver(keyPath, {}, std::move(block));
}

std::unique_ptr<MHKVONotificationHelper> ManagedObject::addObserver(const QString& keyPath, KeyValueObservingOptions options,
                                                                    MHKVONotificationHelper::Block block)
{
    return std::make_unique<MHKVONotificationHelper>(this, keyPath, options, std::move(block));
}

int32_t ManagedObject::int32Value(const QString& key) const
{
    return static_cast<int32_t>(m_values.value(key).toInt());
}

double ManagedObject::doubleValue(const QString& key) const
{
    return m_values.value(key).toDouble();
}

void ManagedObject::setInitialValue(const QString& key, const QVariant& value)
{
    Q_ASSERT_X(!m_context, "ManagedObject::setInitialValue", "the object is already in a context");
    m_values.insert(key, value);
}
