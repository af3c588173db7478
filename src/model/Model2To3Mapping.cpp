#include "model/Model2To3Mapping.h"

#include "foundation/Log.h"
#include "model/ModelEnumerations.h"
#include "model/OldStoreModel.h"

#include <QSet>
#include <algorithm>

namespace {

const QString kLoginItem = QStringLiteral("LoginItem");
const QString kLoginGroup = QStringLiteral("LoginGroup");
const QString kStartupCondition = QStringLiteral("StartupCondition");
const QString kScheduledConditionData = QStringLiteral("ScheduledConditionData");
const QString kScheduledConditionDataItem = QStringLiteral("ScheduledConditionDataItem");

void copyValue(const OldStoreObject& from, const QString& sourceName, OldStoreObject* to, const QString& destinationName)
{
    if (from.values.contains(sourceName))
        to->values.insert(destinationName, from.values.value(sourceName));
}

// Links a condition and its data object both ways, as version 3 keeps them.
void linkData(OldStoreGraph* graph, qint64 condition, const QString& relationship, const QString& dataRoot, qint64 data,
              const QString& inverse)
{
    graph->objects[kStartupCondition][condition].toOne.insert(relationship, data);
    graph->objects[dataRoot][data].toOne.insert(inverse, condition);
}

} // namespace

OldStoreGraph Model2To3Mapping::migrate(const OldStoreGraph& source)
{
    OldStoreGraph destination;
    destination.modelName = OldStoreModel::version3().name;
    destination.objects[kLoginGroup] = source.objects.value(kLoginGroup);
    migrateStartupConditions(source, &destination);
    migrateLoginItems(source, &destination);
    endRelationshipCreationForStartupConditions(source, destination);
    return destination;
}

void Model2To3Mapping::migrateLoginItems(const OldStoreGraph& source, OldStoreGraph* destination)
{
    const QMap<qint64, OldStoreObject> items = source.objects.value(kLoginItem);
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const OldStoreObject& from = *it;
        OldStoreObject to;
        to.entity = from.entity;
        if (from.entity == QLatin1String("FileItem")) {
            LOG_INFO("Migrating attributes for file item %1...", it.key());
            copyValue(from, QStringLiteral("fullPath"), &to, QStringLiteral("itemPath"));
            copyValue(from, QStringLiteral("startupMode"), &to, QStringLiteral("itemStartupMode"));
        } else {
            LOG_INFO("Migrating attributes for delay item %1...", it.key());
            copyValue(from, QStringLiteral("delay"), &to, QStringLiteral("itemDelay"));
        }
        copyValue(from, QStringLiteral("sortIndex"), &to, QStringLiteral("itemSortIndex"));

        LOG_INFO("Migrating relationships for item %1...", it.key());
        LOG_VERBOSE("Migrating login group relationship for item %1...", it.key());
        // An item without a group or conditions was valid before and stays so.
        if (from.toOne.contains(QStringLiteral("loginGroup")))
            to.toOne.insert(QStringLiteral("itemLoginGroup"), from.toOne.value(QStringLiteral("loginGroup")));
        else
            LOG_WARN("Couldn't find source login group for %1!", it.key());
        LOG_VERBOSE("Migrating startup conditions relationship for file item %1...", it.key());
        to.toMany.insert(QStringLiteral("itemStartupConditions"), from.toMany.value(QStringLiteral("startupConditions")));
        destination->objects[kLoginItem].insert(it.key(), to);
    }
}

void Model2To3Mapping::migrateStartupConditions(const OldStoreGraph& source, OldStoreGraph* destination)
{
    const QMap<qint64, OldStoreObject> conditions = source.objects.value(kStartupCondition);
    const QMap<qint64, OldStoreObject> entries = source.objects.value(kScheduledConditionData);
    qint64 nextDataKey = 1;
    for (auto it = conditions.cbegin(); it != conditions.cend(); ++it) {
        const qint64 key = it.key();
        OldStoreObject condition;
        condition.entity = it->entity;
        condition.values = it->values;
        destination->objects[kStartupCondition].insert(key, condition);

        LOG_INFO("Migrating relationships for startup condition %1...", key);
        const int32_t type = it->values.value(QStringLiteral("conditionType")).toInt();
        if (type == StartupConditionTypeHotkey || type == StartupConditionTypePowerSource) {
            const bool hotkey = type == StartupConditionTypeHotkey;
            if (hotkey)
                LOG_VERBOSE("Condition is hotkey, deleting unneeded power source and schedules data...");
            else
                LOG_VERBOSE("Condition is power source, eleting unneeded hotkey and scheduled data...");
            const QString root = hotkey ? QStringLiteral("HotkeyConditionData") : QStringLiteral("PowerSourceConditionData");
            const QString relationship = hotkey ? QStringLiteral("conditionHotkeyData") : QStringLiteral("conditionPowerSourceData");
            const QString inverse = hotkey ? QStringLiteral("hotkeyStartupCondition") : QStringLiteral("powerSourceStartupCondition");
            const std::optional<qint64> data = source.related(*it, key, relationship, root, inverse);
            if (data) {
                OldStoreObject copy = source.objects.value(root).value(*data);
                copy.toOne.clear();
                destination->objects[root].insert(*data, copy);
                linkData(destination, key, relationship, root, *data, inverse);
            }
            continue;
        }

        LOG_VERBOSE("Condition is schedules, deleting unneeded hotkey and power source data...");
        LOG_VERBOSE("Fetching and migrating schedules list...");
        // Entries keep their order: sort index, then key.
        QList<qint64> schedule = source.referring(kScheduledConditionData, QStringLiteral("scheduleStartupCondition"), key);
        std::stable_sort(schedule.begin(), schedule.end(), [&](qint64 a, qint64 b) {
            return entries.value(a).values.value(QStringLiteral("scheduleSortIndex")).toInt()
                < entries.value(b).values.value(QStringLiteral("scheduleSortIndex")).toInt();
        });
        LOG_DEBUG("Found %1 destination and %2 source schedules.", schedule.size(), schedule.size());
        LOG_VERBOSE("Creating intermediate condition data and setting up schedules...");
        const qint64 dataKey = nextDataKey++;
        destination->objects[kScheduledConditionData].insert(dataKey, { kScheduledConditionData, {}, {}, {} });
        linkData(destination, key, QStringLiteral("conditionScheduledData"), kScheduledConditionData, dataKey,
                 QStringLiteral("scheduleStartupCondition"));
        for (qsizetype position = 0; position < schedule.size(); ++position) {
            OldStoreObject entry;
            entry.entity = kScheduledConditionDataItem;
            entry.values = entries.value(schedule.at(position)).values;
            entry.values.insert(QStringLiteral("scheduleSortIndex"), int32_t(position));
            entry.toOne.insert(QStringLiteral("scheduleConditionData"), dataKey);
            destination->objects[kScheduledConditionDataItem].insert(schedule.at(position), entry);
        }
    }
}

void Model2To3Mapping::endRelationshipCreationForStartupConditions(const OldStoreGraph& source, const OldStoreGraph& destination)
{
    LOG_INFO("Cleaning up excessive schedules...");
    const QMap<qint64, OldStoreObject> migrated = destination.objects.value(kScheduledConditionDataItem);
    const QList<qint64> keys = source.objects.value(kScheduledConditionData).keys();
    for (qint64 key : keys)
        if (!migrated.contains(key))
            LOG_VERBOSE("Deleting %1...", key);
}
