#include "model/TextStorageDecoder.h"

#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "model/DBDelayItem.h"
#include "model/MHTextStorageKeys.h"

#include <QDateTime>
#include <algorithm>
#include <limits>

namespace Keys = MHTextStorageKeys;

namespace {

// The type of a kept condition whose record names no type, or a word.
constexpr int32_t kUnknownConditionType = -1;

QString at(const QString& where, const QString& key)
{
    return where + QLatin1Char('.') + key;
}

QString indexed(const QString& where, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(where).arg(index);
}

// A file gives 64-bit integers; a context's own representation (a copy of
// the database in memory) holds the model's 32-bit ones.
bool isInteger(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::UInt;
}

bool isInt32(const QVariant& value)
{
    return isInteger(value) && value.toLongLong() >= std::numeric_limits<int32_t>::min()
        && value.toLongLong() <= std::numeric_limits<int32_t>::max();
}

// Text the file format cannot hold never enters the model: every later save would fail.
bool isString(const QVariant& value)
{
    return value.typeId() == QMetaType::QString && PropertyList::canHoldString(value.toString());
}

} // namespace

std::optional<StoredDatabase> TextStorageDecoder::decode(const QVariant& root)
{
    if (root.typeId() != QMetaType::QVariantMap) {
        LOG_ERROR("Database file holds a %1 instead of a dictionary!", QString::fromUtf8(root.typeName()));
        return std::nullopt;
    }
    TextStorageDecoder decoder(root.toMap());
    LOG_DEBUG("Loading startup conditions...");
    if (!decoder.decodeConditions()) {
        LOG_ERROR("Failed loading startup conditions!");
        return std::nullopt;
    }
    LOG_DEBUG("Loading application items...");
    if (!decoder.decodeItems(Keys::application, &decoder.m_database.applicationItems)) {
        LOG_ERROR("Failed loading application items!");
        return std::nullopt;
    }
    LOG_DEBUG("Loading ignored items...");
    if (!decoder.decodeItems(Keys::ignored, &decoder.m_database.ignoredItems)) {
        LOG_ERROR("Failed loading ignored items!");
        return std::nullopt;
    }
    return decoder.m_database;
}

TextStorageDecoder::TextStorageDecoder(const QVariantMap& root)
    : m_root(root)
{
}

bool TextStorageDecoder::problem(const QString& text)
{
    LOG_ERROR("%1", text);
    return false;
}

bool TextStorageDecoder::list(const QVariantMap& map, const QString& key, const QString& where, QVariantList* result)
{
    const QVariant value = map.value(key);
    if (!value.isValid()) {
        result->clear();
        return true;
    }
    if (value.typeId() != QMetaType::QVariantList)
        return problem(QStringLiteral("%1 is not an array").arg(at(where, key)));
    *result = value.toList();
    return true;
}

bool TextStorageDecoder::dictionary(const QVariant& value, const QString& where, QVariantMap* result)
{
    if (value.typeId() != QMetaType::QVariantMap)
        return problem(QStringLiteral("%1 is not a dictionary").arg(where));
    *result = value.toMap();
    return true;
}

bool TextStorageDecoder::optionalString(const QVariantMap& map, const QString& key, const QString& where, QVariant* result)
{
    const QVariant value = map.value(key);
    if (value.isValid() && !isString(value))
        return problem(QStringLiteral("%1 is not a string").arg(at(where, key)));
    *result = value;
    return true;
}

bool TextStorageDecoder::fields(const QVariantMap& record, const std::vector<TextStorageFormat::Field>& wanted, const QString& where,
                                QVariantMap* result)
{
    using Kind = TextStorageFormat::FieldKind;
    for (const TextStorageFormat::Field& field : wanted) {
        const QVariant value = record.value(field.fileKey);
        const QString place = at(where, field.fileKey);
        QVariant stored;
        if (value.isValid()) {
            switch (field.kind) {
            case Kind::Enumeration:
                if (!isInt32(value))
                    return problem(QStringLiteral("%1 is not a 32-bit integer").arg(place));
                stored = QVariant(int32_t(value.toLongLong()));
                break;
            case Kind::String:
                if (!isString(value))
                    return problem(QStringLiteral("%1 is not a string").arg(place));
                stored = value;
                break;
            case Kind::Date:
                if (value.typeId() != QMetaType::QDateTime || !value.toDateTime().isValid())
                    return problem(QStringLiteral("%1 is not a date").arg(place));
                // Schedules are judged by the hour and minute of the user's own zone.
                stored = QVariant(value.toDateTime().toLocalTime());
                break;
            }
        }
        result->insert(field.attribute, stored);
    }
    return true;
}

bool TextStorageDecoder::decodeConditions()
{
    QVariantList records;
    if (!list(m_root, Keys::conditions, QStringLiteral("root"), &records))
        return false;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (!decodeCondition(records.at(i), indexed(Keys::conditions, i)))
            return false;
    return true;
}

bool TextStorageDecoder::decodeCondition(const QVariant& value, const QString& where)
{
    QVariantMap record;
    if (!dictionary(value, where, &record))
        return false;
    const QVariant typeWord = record.value(Keys::conditionType);
    StoredDatabase::Condition condition;
    if (!optionalString(record, Keys::conditionName, where, &condition.name))
        return false;
    const TextStorageFormat::ConditionKind* kind =
        typeWord.typeId() == QMetaType::QString ? TextStorageFormat::conditionKindForWord(typeWord.toString()) : nullptr;
    if (!kind) {
        // Written by a version that knows more kinds, or for a type without a
        // word: kept as it came. Its record must be one a save can write again.
        if (!PropertyList::toData(record))
            return problem(QStringLiteral("%1 holds values the database file cannot hold").arg(where));
        LOG_WARN("Keeping condition of unknown type %1 at %2, it prevents execution", typeWord.isValid() ? typeWord.toString() : QStringLiteral("(none)"), where);
        const bool typeNumbered = isInt32(typeWord) && !TextStorageFormat::conditionKindForType(int32_t(typeWord.toLongLong()));
        condition.type = typeNumbered ? int32_t(typeWord.toLongLong()) : kUnknownConditionType;
        // What the numbered type and the name say alone is written again from them.
        QVariantMap rest = record;
        rest.remove(Keys::conditionName);
        if (typeNumbered)
            rest.remove(Keys::conditionType);
        if (!rest.isEmpty())
            condition.keptRecord = record;
        m_database.conditions.append(condition);
        return true;
    }
    condition.type = kind->type;
    if (!fields(record, kind->fields, where, &condition.data))
        return false;
    if (kind->type == StartupConditionTypeScheduled) {
        QVariantList entries;
        if (!list(record, Keys::schedules, where, &entries))
            return false;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString place = indexed(at(where, Keys::schedules), i);
            QVariantMap entry;
            QVariantMap values;
            if (!dictionary(entries.at(i), place, &entry) || !fields(entry, TextStorageFormat::scheduleEntryFields(), place, &values))
                return false;
            condition.scheduleEntries.append(values);
        }
    }
    m_database.conditions.append(condition);
    return true;
}

bool TextStorageDecoder::decodeItems(const QLatin1String& key, QList<StoredDatabase::Item>* items)
{
    QVariantList records;
    if (!list(m_root, key, QStringLiteral("root"), &records))
        return false;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (!decodeItem(records.at(i), indexed(key, i), items))
            return false;
    return true;
}

bool TextStorageDecoder::decodeItem(const QVariant& value, const QString& where, QList<StoredDatabase::Item>* items)
{
    QVariantMap record;
    if (!dictionary(value, where, &record))
        return false;
    StoredDatabase::Item item;
    const QVariant typeWord = record.value(Keys::itemType);
    if (typeWord.typeId() != QMetaType::QString || !TextStorageFormat::itemTypeForWord(typeWord.toString(), &item.type))
        return problem(QStringLiteral("Invalid item type %1 for %2").arg(typeWord.toString(), where));

    switch (item.type) {
    case LoginItemTypeFile: {
        const QVariant path = record.value(Keys::itemPath);
        if (!isString(path))
            return problem(QStringLiteral("Missing path for %1").arg(where));
        item.path = path.toString();
        item.startupMode = TextStorageFormat::startupModeForStoredValue(record.value(Keys::itemStartupMode));
        break;
    }
    case LoginItemTypeDelay: {
        const QVariant delay = record.value(Keys::itemDelay);
        if (delay.typeId() != QMetaType::Double && !isInteger(delay))
            return problem(QStringLiteral("Missing delay for %1").arg(where));
        item.delay = delay.toDouble();
        // Earlier versions saved such delays; one must not lock the user out.
        if (!DBDelayItem::isAllowedDelay(item.delay)) {
            LOG_WARN("%1 holds the delay %2 no countdown can end, loading it as no delay", at(where, Keys::itemDelay), item.delay);
            item.delay = 0;
        }
        break;
    }
    case LoginItemTypeWaitPrevious:
        break;
    case LoginItemTypeConditionalPrevious: {
        const QVariant mode = record.value(Keys::itemMode);
        if (mode.isValid()) {
            if (!isInt32(mode))
                return problem(QStringLiteral("%1 is not a 32-bit integer").arg(at(where, Keys::itemMode)));
            item.mode = QVariant(int32_t(mode.toLongLong()));
        }
        break;
    }
    }
    if (!decodeItemConditions(record, where, &item))
        return false;
    items->append(item);
    return true;
}

bool TextStorageDecoder::decodeItemConditions(const QVariantMap& record, const QString& where, StoredDatabase::Item* item)
{
    QVariantList indexes;
    if (!list(record, Keys::itemConditions, where, &indexes))
        return false;
    for (const QVariant& value : std::as_const(indexes)) {
        if (!isInteger(value) || value.toLongLong() < 0 || value.toLongLong() >= m_database.conditions.size())
            return problem(QStringLiteral("Invalid condition index %1 for %2").arg(value.toString(), where));
        const qsizetype position = qsizetype(value.toLongLong());
        // An item holds a condition once, however often the file names it.
        if (!item->conditions.contains(position))
            item->conditions.append(position);
    }
    std::sort(item->conditions.begin(), item->conditions.end());
    return true;
}
