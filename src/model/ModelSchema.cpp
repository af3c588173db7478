#include "model/ModelSchema.h"

#include <QtGlobal>
#include <memory>
#include <vector>

namespace {

using Type = AttributeType;
using Rule = DeleteRule;

AttributeDescription int32Attribute(const char* name)
{
    return { QString::fromLatin1(name), Type::Int32, QVariant(int32_t(0)) };
}

RelationshipDescription toOne(const char* name, const char* target, const char* inverse, Rule rule = Rule::Nullify)
{
    return { QString::fromLatin1(name), QString::fromLatin1(target), false, QString::fromLatin1(inverse), rule };
}

RelationshipDescription toMany(const char* name, const char* target, const char* inverse, Rule rule = Rule::Nullify)
{
    return { QString::fromLatin1(name), QString::fromLatin1(target), true, QString::fromLatin1(inverse), rule };
}

class Schema {
public:
    Schema()
    {
        // A group owns its items; a condition owns its data object; a schedule
        // owns its entries. Everything else only lets go, so deleting a
        // condition leaves the items that used it intact.
        const EntityDescription* item = add("LoginItem", "DBLoginItem", nullptr, true,
            { int32Attribute("itemSortIndex") },
            { toOne("itemLoginGroup", "LoginGroup", "groupLoginItems"),
              toMany("itemStartupConditions", "StartupCondition", "conditionLoginItems") });
        add("FileItem", "DBFileItem", item, false,
            { { "itemPath", Type::String, {} }, int32Attribute("itemStartupMode") }, {});
        add("DelayItem", "DBDelayItem", item, false, { { "itemDelay", Type::Double, QVariant(0.0) } }, {});
        add("WaitPreviousItem", "DBWaitPreviousItem", item, false, {}, {});
        add("ConditionalPreviousItem", "DBConditionalPreviousItem", item, false, { int32Attribute("itemMode") }, {});
        add("LoginGroup", "DBLoginGroup", nullptr, false,
            { { "groupName", Type::String, {} }, int32Attribute("groupType") },
            { toMany("groupLoginItems", "LoginItem", "itemLoginGroup", Rule::Cascade) });
        add("StartupCondition", "DBStartupCondition", nullptr, false,
            { { "conditionName", Type::String, {} }, int32Attribute("conditionSortIndex"), int32Attribute("conditionType"),
              // The file's record of a kind this version does not know, written back as it came.
              { "conditionKeptRecord", Type::Dictionary, {} } },
            { toMany("conditionLoginItems", "LoginItem", "itemStartupConditions"),
              toOne("conditionScheduledData", "ScheduledConditionData", "scheduleStartupCondition", Rule::Cascade),
              toOne("conditionHotkeyData", "HotkeyConditionData", "hotkeyStartupCondition", Rule::Cascade),
              toOne("conditionPowerSourceData", "PowerSourceConditionData", "powerSourceStartupCondition", Rule::Cascade),
              toOne("conditionVolumeData", "VoumeConditionData", "volumeStartupCondition", Rule::Cascade),
              toOne("conditionNetworkData", "NetworkConditionData", "networkStartupCondition", Rule::Cascade) });
        add("HotkeyConditionData", "DBHotkeyConditionData", nullptr, false,
            { int32Attribute("hotkeyCombination"), int32Attribute("hotkeyStatus") },
            { toOne("hotkeyStartupCondition", "StartupCondition", "conditionHotkeyData") });
        add("PowerSourceConditionData", "DBPowerSourceConditionData", nullptr, false,
            { int32Attribute("powerSourceType") },
            { toOne("powerSourceStartupCondition", "StartupCondition", "conditionPowerSourceData") });
        add("ScheduledConditionData", "DBScheduledConditionData", nullptr, false, {},
            { toMany("scheduleItems", "ScheduledConditionDataItem", "scheduleConditionData", Rule::Cascade),
              toOne("scheduleStartupCondition", "StartupCondition", "conditionScheduledData") });
        add("ScheduledConditionDataItem", "DBScheduledConditionDataItem", nullptr, false,
            { int32Attribute("scheduleDay"), { "scheduleFromTime", Type::Date, {} }, { "scheduleToTime", Type::Date, {} },
              int32Attribute("scheduleSortIndex") },
            { toOne("scheduleConditionData", "ScheduledConditionData", "scheduleItems") });
        add("NetworkConditionData", "DBNetworkConditionData", nullptr, false,
            { { "networkName", Type::String, {} }, int32Attribute("networkMode"), int32Attribute("networkStatus") },
            { toOne("networkStartupCondition", "StartupCondition", "conditionNetworkData") });
        add("VoumeConditionData", "DBVolumeConditionData", nullptr, false,
            { { "volumePath", Type::String, {} }, int32Attribute("volumeStatus") },
            { toOne("volumeStartupCondition", "StartupCondition", "conditionVolumeData") });
        resolveRelationships();
    }

    const EntityDescription* find(const QString& name) const
    {
        for (const auto& entity : m_entities)
            if (entity->name() == name)
                return entity.get();
        return nullptr;
    }

private:
    const EntityDescription* add(const char* name, const char* className, const EntityDescription* parent, bool isAbstract,
                                 QList<AttributeDescription> attributes, QList<RelationshipDescription> relationships)
    {
        m_entities.push_back(std::make_unique<EntityDescription>(QString::fromLatin1(name), QString::fromLatin1(className),
                                                                 parent, isAbstract, std::move(attributes), std::move(relationships)));
        return m_entities.back().get();
    }

    void resolveRelationships()
    {
        for (const auto& entity : m_entities)
            entity->resolveRelationships([this](const QString& name) { return find(name); });
    }

    std::vector<std::unique_ptr<EntityDescription>> m_entities;
};

const Schema& schema()
{
    static const Schema instance;
    return instance;
}

} // namespace

const EntityDescription& ModelSchema::entity(const QString& name)
{
    const EntityDescription* found = findEntity(name);
    Q_ASSERT_X(found, "ModelSchema::entity", "unknown entity name");
    return *found;
}

const EntityDescription* ModelSchema::findEntity(const QString& name)
{
    return schema().find(name);
}
