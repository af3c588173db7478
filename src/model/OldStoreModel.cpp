#include "model/OldStoreModel.h"

namespace {

using Type = OldStoreModel::Type;
using Attribute = OldStoreModel::Attribute;
using ToOne = OldStoreModel::ToOne;

const QString kLoginItem = QStringLiteral("LoginItem");
const QString kLoginGroup = QStringLiteral("LoginGroup");
const QString kStartupCondition = QStringLiteral("StartupCondition");
const QString kScheduledConditionData = QStringLiteral("ScheduledConditionData");

OldStoreModel::Entity root(const QString& name, QList<Attribute> attributes, QList<ToOne> toOne = {})
{
    return { name, name, std::move(attributes), std::move(toOne) };
}

OldStoreModel::Entity item(const QString& name, QList<Attribute> attributes, const QString& sortIndex, const QString& group)
{
    attributes.prepend({ sortIndex, Type::Integer });
    return { name, kLoginItem, std::move(attributes), { { group, kLoginGroup } } };
}

// The data of hotkey and power source conditions kept their names from version 2 on.
QList<OldStoreModel::Entity> sharedConditionData()
{
    return {
        root(QStringLiteral("HotkeyConditionData"),
             { { QStringLiteral("hotkeyCombination"), Type::Integer }, { QStringLiteral("hotkeyStatus"), Type::Integer } },
             { { QStringLiteral("hotkeyStartupCondition"), kStartupCondition } }),
        root(QStringLiteral("PowerSourceConditionData"), { { QStringLiteral("powerSourceType"), Type::Integer } },
             { { QStringLiteral("powerSourceStartupCondition"), kStartupCondition } }),
    };
}

const QList<Attribute> kConditionAttributes { { QStringLiteral("conditionName"), Type::String },
                                              { QStringLiteral("conditionSortIndex"), Type::Integer },
                                              { QStringLiteral("conditionType"), Type::Integer } };

const QList<Attribute> kScheduleEntryAttributes { { QStringLiteral("scheduleDay"), Type::Integer },
                                                  { QStringLiteral("scheduleFromTime"), Type::Date },
                                                  { QStringLiteral("scheduleToTime"), Type::Date },
                                                  { QStringLiteral("scheduleSortIndex"), Type::Integer } };

OldStoreModel makeVersion2()
{
    OldStoreModel model;
    model.name = QStringLiteral("Lanternwick 2");
    model.version = 2;
    const QString sortIndex = QStringLiteral("sortIndex");
    const QString group = QStringLiteral("loginGroup");
    model.entities = {
        item(QStringLiteral("FileItem"), { { QStringLiteral("fullPath"), Type::String }, { QStringLiteral("startupMode"), Type::Integer } },
             sortIndex, group),
        item(QStringLiteral("DelayItem"), { { QStringLiteral("delay"), Type::Double } }, sortIndex, group),
        root(kLoginGroup, { { QStringLiteral("groupName"), Type::String }, { QStringLiteral("groupType"), Type::Integer } }),
        root(kStartupCondition, kConditionAttributes,
             { { QStringLiteral("conditionHotkeyData"), QStringLiteral("HotkeyConditionData") },
               { QStringLiteral("conditionPowerSourceData"), QStringLiteral("PowerSourceConditionData") } }),
        // The schedule entries themselves; each names its condition.
        root(kScheduledConditionData, kScheduleEntryAttributes, { { QStringLiteral("scheduleStartupCondition"), kStartupCondition } }),
    };
    model.entities += sharedConditionData();
    model.manyToMany = { { kLoginItem, QStringLiteral("startupConditions"), kStartupCondition, QStringLiteral("conditionLoginItems") } };
    model.signature = { QStringLiteral("LoginItem.sortIndex"), QStringLiteral("ScheduledConditionData.scheduleDay") };
    return model;
}

OldStoreModel makeVersion3()
{
    OldStoreModel model;
    model.name = QStringLiteral("Lanternwick 3");
    model.version = 3;
    const QString sortIndex = QStringLiteral("itemSortIndex");
    const QString group = QStringLiteral("itemLoginGroup");
    const QString scheduleItem = QStringLiteral("ScheduledConditionDataItem");
    const QString volumeData = QStringLiteral("VoumeConditionData");
    const QString networkData = QStringLiteral("NetworkConditionData");
    model.entities = {
        item(QStringLiteral("FileItem"), { { QStringLiteral("itemPath"), Type::String }, { QStringLiteral("itemStartupMode"), Type::Integer } },
             sortIndex, group),
        item(QStringLiteral("DelayItem"), { { QStringLiteral("itemDelay"), Type::Double } }, sortIndex, group),
        item(QStringLiteral("WaitPreviousItem"), {}, sortIndex, group),
        item(QStringLiteral("ConditionalPreviousItem"), { { QStringLiteral("itemMode"), Type::Integer } }, sortIndex, group),
        root(kLoginGroup, { { QStringLiteral("groupName"), Type::String }, { QStringLiteral("groupType"), Type::Integer } }),
        root(kStartupCondition, kConditionAttributes,
             { { QStringLiteral("conditionScheduledData"), kScheduledConditionData },
               { QStringLiteral("conditionHotkeyData"), QStringLiteral("HotkeyConditionData") },
               { QStringLiteral("conditionPowerSourceData"), QStringLiteral("PowerSourceConditionData") },
               { QStringLiteral("conditionVolumeData"), volumeData },
               { QStringLiteral("conditionNetworkData"), networkData } }),
        root(kScheduledConditionData, {}, { { QStringLiteral("scheduleStartupCondition"), kStartupCondition } }),
        root(scheduleItem, kScheduleEntryAttributes, { { QStringLiteral("scheduleConditionData"), kScheduledConditionData } }),
        root(volumeData, { { QStringLiteral("volumePath"), Type::String }, { QStringLiteral("volumeStatus"), Type::Integer } },
             { { QStringLiteral("volumeStartupCondition"), kStartupCondition } }),
        root(networkData,
             { { QStringLiteral("networkName"), Type::String }, { QStringLiteral("networkMode"), Type::Integer },
               { QStringLiteral("networkStatus"), Type::Integer } },
             { { QStringLiteral("networkStartupCondition"), kStartupCondition } }),
    };
    model.entities += sharedConditionData();
    model.manyToMany = { { kLoginItem, QStringLiteral("itemStartupConditions"), kStartupCondition, QStringLiteral("conditionLoginItems") } };
    model.signature = { QStringLiteral("LoginItem.itemSortIndex"), QStringLiteral("ScheduledConditionDataItem.scheduleDay") };
    return model;
}

} // namespace

const OldStoreModel::Entity* OldStoreModel::entity(const QString& entityName) const
{
    for (const Entity& candidate : entities)
        if (candidate.name == entityName)
            return &candidate;
    return nullptr;
}

QStringList OldStoreModel::rootEntities() const
{
    QStringList roots;
    for (const Entity& candidate : entities)
        if (!roots.contains(candidate.root))
            roots.append(candidate.root);
    return roots;
}

const OldStoreModel& OldStoreModel::version2()
{
    static const OldStoreModel model = makeVersion2();
    return model;
}

const OldStoreModel& OldStoreModel::version3()
{
    static const OldStoreModel model = makeVersion3();
    return model;
}

QList<const OldStoreModel*> OldStoreModel::all()
{
    return { &version2(), &version3() };
}

QString OldStoreModel::tableName(const QString& rootEntity)
{
    return QLatin1Char('Z') + rootEntity.toUpper();
}

QString OldStoreModel::columnName(const QString& attributeOrRelationship)
{
    return QLatin1Char('Z') + attributeOrRelationship.toUpper();
}
