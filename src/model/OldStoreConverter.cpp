#include "model/OldStoreConverter.h"

#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "model/MHTextStorageKeys.h"
#include "model/ModelEnumerations.h"
#include "model/OldStoreModel.h"
#include "model/TextStorageDecoder.h"
#include "model/TextStorageFormat.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace Keys = MHTextStorageKeys;

namespace {

const QString kStartupCondition = QStringLiteral("StartupCondition");

int32_t intValue(const OldStoreObject& object, const QString& name)
{
    return object.values.value(name).toInt();
}

// Keys of a table in the order of a sort index, ties by key.
QList<qint64> sortedKeys(const QMap<qint64, OldStoreObject>& table, const QString& sortIndex)
{
    QList<qint64> keys = table.keys();
    std::stable_sort(keys.begin(), keys.end(),
                     [&](qint64 a, qint64 b) { return intValue(table[a], sortIndex) < intValue(table[b], sortIndex); });
    return keys;
}

// Seconds since the start of 2001 as a date the file can hold; schedules only
// read its hour and minute, so any sane date will do.
std::optional<QDateTime> storedDate(const QVariant& value)
{
    const double seconds = value.toDouble();
    if (!value.isValid() || !std::isfinite(seconds) || std::abs(seconds) > 4.0e9)
        return std::nullopt;
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime date = reference.addSecs(qint64(std::floor(seconds)));
    if (date.date().year() < 1902 || date.date().year() > 2100)
        return std::nullopt;
    return date;
}

// The file's values of one object: enumerations as integers, dates as dates.
bool fileFields(const OldStoreObject& object, const std::vector<TextStorageFormat::Field>& fields, QVariantMap* record)
{
    using Kind = TextStorageFormat::FieldKind;
    for (const TextStorageFormat::Field& field : fields) {
        const QVariant value = object.values.value(field.attribute);
        if (!value.isValid())
            continue;
        switch (field.kind) {
        case Kind::Enumeration:
            record->insert(field.fileKey, qint64(value.toInt()));
            break;
        case Kind::String:
            record->insert(field.fileKey, value);
            break;
        case Kind::Date: {
            const std::optional<QDateTime> date = storedDate(value);
            if (!date)
                return false;
            record->insert(field.fileKey, *date);
            break;
        }
        }
    }
    return true;
}

bool loads(const QVariantMap& root)
{
    return TextStorageDecoder::decode(root).has_value();
}

// The data relationship's destination and its inverse, from the model.
std::pair<QString, QString> dataEntityAndInverse(const QString& relationship)
{
    const OldStoreModel& model = OldStoreModel::currentModel();
    for (const OldStoreModel::ToOne& toOne : model.entity(kStartupCondition)->toOne) {
        if (toOne.name != relationship)
            continue;
        for (const OldStoreModel::ToOne& inverse : model.entity(toOne.destination)->toOne)
            if (inverse.destination == kStartupCondition)
                return { toOne.destination, inverse.name };
    }
    return {};
}

} // namespace

QVariantMap OldStoreConverter::dictionaryRepresentation(const OldStoreGraph& graph, QVariantMap* changed)
{
    OldStoreConverter converter(graph);
    converter.m_root.insert(Keys::version, Keys::currentVersion);
    converter.convertConditions();
    converter.convertItems();
    if (changed)
        *changed = converter.changedPart();
    return converter.m_root;
}

OldStoreConverter::OldStoreConverter(const OldStoreGraph& graph)
    : m_graph(graph)
{
}

void OldStoreConverter::convertConditions()
{
    const QMap<qint64, OldStoreObject> conditions = m_graph.objects.value(kStartupCondition);
    QVariantList records;
    for (qint64 key : sortedKeys(conditions, QStringLiteral("conditionSortIndex"))) {
        bool changed = false;
        m_conditionIndexes.insert(key, records.size());
        records.append(conditionRecord(key, conditions[key], &changed));
        if (changed)
            m_changedConditions.insert(records.size() - 1);
    }
    if (!records.isEmpty())
        m_root.insert(Keys::conditions, records);
}

QVariantMap OldStoreConverter::conditionRecord(qint64 key, const OldStoreObject& condition, bool* changed) const
{
    const QVariant name = condition.values.value(QStringLiteral("conditionName"));
    const QVariant type = condition.values.value(QStringLiteral("conditionType"));
    const TextStorageFormat::ConditionKind* kind = type.isValid() ? TextStorageFormat::conditionKindForType(type.toInt()) : nullptr;
    QVariantMap record;
    if (name.isValid()) {
        // Only a label: what the file cannot hold is shown, not dropped with the rule.
        const QString holdable = PropertyList::holdableString(name.toString());
        if (holdable != name.toString()) {
            LOG_WARN("Condition %1 of the old database is renamed %2: the database file cannot hold its name", key, holdable);
            *changed = true;
        }
        record.insert(Keys::conditionName, holdable);
    }
    // Kept like one of a kind this version does not know: it refuses, and its items with it.
    const auto refusing = [&] {
        record.insert(Keys::conditionType, qint64(type.toInt()));
        return record;
    };
    if (!kind) {
        LOG_WARN("Keeping condition %1 (%2) of the old database of the unknown type %3", key, name.toString(), type.toString());
        return refusing();
    }

    const auto [dataRoot, inverse] = dataEntityAndInverse(kind->dataRelationship);
    const std::optional<qint64> dataKey = m_graph.related(condition, key, kind->dataRelationship, dataRoot, inverse);
    const OldStoreObject data = dataKey ? m_graph.objects.value(dataRoot).value(*dataKey) : OldStoreObject();
    QVariantMap rule = record;
    rule.insert(Keys::conditionType, kind->word);
    if ((!kind->fields.empty() && !dataKey) || !fileFields(data, kind->fields, &rule) || !loads({ { Keys::conditions, QVariantList { rule } } })) {
        LOG_WARN("Condition %1 (%2) of the old database has no data the database file can hold: it now prevents its items from starting",
                 key, name.toString());
        *changed = true;
        return refusing();
    }
    if (kind->type == StartupConditionTypeScheduled)
        rule.insert(Keys::schedules, dataKey ? scheduleRecords(*dataKey, changed) : QVariantList());
    return rule;
}

QVariantList OldStoreConverter::scheduleRecords(qint64 dataKey, bool* changed) const
{
    const QString entriesRoot = QStringLiteral("ScheduledConditionDataItem");
    const QMap<qint64, OldStoreObject> all = m_graph.objects.value(entriesRoot);
    QMap<qint64, OldStoreObject> entries;
    for (qint64 key : m_graph.referring(entriesRoot, QStringLiteral("scheduleConditionData"), dataKey))
        entries.insert(key, all[key]);
    QVariantList records;
    for (qint64 key : sortedKeys(entries, QStringLiteral("scheduleSortIndex"))) {
        QVariantMap entry;
        const auto schedule = [&] {
            return QVariantMap { { Keys::conditionType, Keys::conditionTypeSchedule }, { Keys::schedules, QVariantList { entry } } };
        };
        // One window fewer only narrows the schedule.
        if (!fileFields(entries[key], TextStorageFormat::scheduleEntryFields(), &entry)
            || !loads({ { Keys::conditions, QVariantList { schedule() } } })) {
            LOG_WARN("Skipping schedule entry %1 of the old database: its day or times are out of range", key);
            *changed = true;
            continue;
        }
        records.append(entry);
    }
    return records;
}

void OldStoreConverter::convertItems()
{
    const QMap<qint64, OldStoreObject> groups = m_graph.objects.value(QStringLiteral("LoginGroup"));
    const QMap<qint64, OldStoreObject> items = m_graph.objects.value(QStringLiteral("LoginItem"));
    const QString groupRelationship = QStringLiteral("itemLoginGroup");
    // Items of a second group of one type follow those of the first.
    const QList<qint64> itemKeys = sortedKeys(items, QStringLiteral("itemSortIndex"));
    QVariantList application;
    QVariantList ignored;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        const int32_t type = intValue(*group, QStringLiteral("groupType"));
        QVariantList* records = type == LoginGroupTypeApplication ? &application : type == LoginGroupTypeIgnored ? &ignored : nullptr;
        for (qint64 key : itemKeys) {
            if (items[key].toOne.value(groupRelationship, -1) != group.key())
                continue;
            if (!records) {
                LOG_WARN("Skipping item %1 of the old database: its group has the unknown type %2", key, type);
                continue;
            }
            if (const std::optional<QVariantMap> record = itemRecord(key, items[key]))
                records->append(*record);
        }
    }
    for (qint64 key : itemKeys)
        if (!items[key].toOne.contains(groupRelationship))
            LOG_WARN("Skipping item %1 of the old database: it belongs to no group", key);
    if (!application.isEmpty())
        m_root.insert(Keys::application, application);
    if (!ignored.isEmpty())
        m_root.insert(Keys::ignored, ignored);
}

std::optional<QVariantMap> OldStoreConverter::itemRecord(qint64 key, const OldStoreObject& item) const
{
    QVariantMap record;
    const QVariantMap& values = item.values;
    if (item.entity == QLatin1String("FileItem")) {
        record.insert(Keys::itemType, Keys::itemTypeFile);
        if (values.contains(QStringLiteral("itemPath")))
            record.insert(Keys::itemPath, values.value(QStringLiteral("itemPath")));
        if (values.contains(QStringLiteral("itemStartupMode")))
            record.insert(Keys::itemStartupMode, TextStorageFormat::storedStartupMode(intValue(item, QStringLiteral("itemStartupMode"))));
    } else if (item.entity == QLatin1String("DelayItem")) {
        record.insert(Keys::itemType, Keys::itemTypeDelay);
        if (values.contains(QStringLiteral("itemDelay")))
            record.insert(Keys::itemDelay, values.value(QStringLiteral("itemDelay")).toDouble());
    } else if (item.entity == QLatin1String("WaitPreviousItem")) {
        record.insert(Keys::itemType, Keys::itemTypeWaitPrevious);
    } else {
        record.insert(Keys::itemType, Keys::itemTypeConditionalPrevious);
        if (values.contains(QStringLiteral("itemMode")))
            record.insert(Keys::itemMode, qint64(intValue(item, QStringLiteral("itemMode"))));
    }
    if (!loads({ { Keys::application, QVariantList { record } } })) {
        LOG_WARN("Skipping item %1 of the old database: the database file cannot hold it (a path or delay missing or out of range?)", key);
        return std::nullopt;
    }
    QVariantList indexes;
    for (qint64 condition : item.toMany.value(QStringLiteral("itemStartupConditions")))
        if (m_conditionIndexes.contains(condition))
            indexes.append(m_conditionIndexes.value(condition));
    std::sort(indexes.begin(), indexes.end(), [](const QVariant& a, const QVariant& b) { return a.toLongLong() < b.toLongLong(); });
    if (!indexes.isEmpty())
        record.insert(Keys::itemConditions, indexes);
    return record;
}

QVariantMap OldStoreConverter::changedPart() const
{
    const QVariantList conditions = m_root.value(Keys::conditions).toList();
    QHash<qint64, qint64> positions;
    QVariantList changedConditions;
    for (qint64 index = 0; index < conditions.size(); ++index) {
        if (m_changedConditions.contains(index)) {
            positions.insert(index, changedConditions.size());
            changedConditions.append(conditions.at(index));
        }
    }
    QVariantList items;
    for (const QLatin1String group : { Keys::application, Keys::ignored }) {
        for (const QVariant& value : m_root.value(group).toList()) {
            QVariantMap item = value.toMap();
            QVariantList used;
            for (const QVariant& index : item.value(Keys::itemConditions).toList())
                if (positions.contains(index.toLongLong()))
                    used.append(positions.value(index.toLongLong()));
            if (used.isEmpty())
                continue;
            item.insert(Keys::itemConditions, used);
            items.append(item);
        }
    }
    QVariantMap changed;
    if (!changedConditions.isEmpty())
        changed.insert(Keys::conditions, changedConditions);
    if (!items.isEmpty())
        changed.insert(Keys::application, items);
    return changed;
}
