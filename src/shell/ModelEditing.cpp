#include "shell/ModelEditing.h"

#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "model/DBWaitPreviousItem.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

const QString kItemSortIndex = QStringLiteral("itemSortIndex");
const QString kConditionSortIndex = QStringLiteral("conditionSortIndex");
const QString kScheduleSortIndex = QStringLiteral("scheduleSortIndex");

// One user edit, one undo step. Nested in a caller's group it folds into it,
// and the name the group got first stays.
class UndoStep {
public:
    explicit UndoStep(UndoManager& undo)
        : m_undo(undo)
    {
        m_undo.beginUndoGrouping();
    }
    ~UndoStep() { m_undo.endUndoGrouping(); }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    void setActionName(const QString& name)
    {
        if (m_undo.openGroupActionName().isEmpty())
            m_undo.setActionName(name);
    }

private:
    UndoManager& m_undo;
};

qsizetype clamped(qsizetype index, qsizetype count)
{
    return std::clamp<qsizetype>(index, 0, count);
}

// Numbers the list 0, 1, 2 ... in its order, touching only what differs.
template <typename T>
void renumber(const QList<T*>& objects, const QString& key)
{
    for (qsizetype position = 0; position < objects.size(); ++position) {
        T* object = objects[position];
        const QVariant index(static_cast<int32_t>(position));
        if (object->value(key) == index)
            continue;
        LOG_DEBUG("Updating sort index of %1 from %2 to %3...", object, object->value(key).toString(), position);
        object->setValue(key, index);
    }
}

template <typename T>
QList<T*> insertedAt(QList<T*> list, qsizetype position, const QList<T*>& inserted)
{
    for (qsizetype offset = 0; offset < inserted.size(); ++offset)
        list.insert(position + offset, inserted[offset]);
    return list;
}

// The order after placing moved at index among the objects of all that do not
// move; a repeated object moves once.
template <typename T>
QList<T*> moveObjects(const QList<T*>& moved, const QList<T*>& all, qsizetype index)
{
    LOG_DEBUG("Preparing array of objects that aren't affected by move...");
    QList<T*> unique;
    for (T* object : moved)
        if (!unique.contains(object))
            unique.append(object);
    QList<T*> others;
    for (T* object : all)
        if (!unique.contains(object))
            others.append(object);
    LOG_DEBUG("Updating sort indexes of inserted objects...");
    return insertedAt(others, clamped(index, others.size()), unique);
}

QList<DBLoginItem*> withoutRepeats(const QList<DBLoginItem*>& items)
{
    QList<DBLoginItem*> unique;
    for (DBLoginItem* item : items)
        if (!unique.contains(item))
            unique.append(item);
    return unique;
}

} // namespace

ModelEditing::ModelEditing(ObjectContext& context, const Localizator& localizator)
    : m_context(context)
    , m_localizator(localizator)
{
}

bool ModelEditing::isLiveObject(const ManagedObject* object) const
{
    return object && object->managedObjectContext() == &m_context && object->isInserted();
}

// --- Login items -------------------------------------------------------------

QList<DBLoginItem*> ModelEditing::sortedLoginItemsForApplicationGroup()
{
    return sortedLoginItemsForGroup(m_context.getOrCreateApplicationLoginGroup());
}

QList<DBLoginItem*> ModelEditing::sortedLoginItemsForGroup(const DBLoginGroup* group)
{
    return m_context.sortedLoginItemsForGroup(group);
}

LoginItemType ModelEditing::typeOfLoginItem(const DBLoginItem* item) const
{
    LOG_DEBUG("Determining type of login item %1...", item);
    return item ? item->loginItemType() : LoginItemTypeFile;
}

QList<DBLoginItem*> ModelEditing::createLoginItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index,
                                                           ItemsActionName actionName, const ItemMaker& block)
{
    LOG_VERBOSE("Creating %1 login items...", data.size());
    if (!isLiveObject(group)) {
        LOG_ERROR("Cannot create login items in %1: not a group of this database", group);
        return {};
    }
    const QList<DBLoginItem*> items = m_context.sortedLoginItemsForGroup(group);
    const qsizetype position = clamped(index, items.size());
    UndoStep step(m_context.undoManager());
    QList<DBLoginItem*> created;
    for (const QVariant& element : data) {
        LOG_DEBUG("Creating login item from %1, for index %2...", element.toString(), position + created.size());
        DBLoginItem* item = block(element);
        if (!item)
            continue;
        item->setItemLoginGroup(group);
        created.append(item);
    }
    if (position < items.size())
        LOG_DEBUG("Fixing sort indexes of items that were moved...");
    renumber(insertedAt(items, position, created), kItemSortIndex);
    step.setActionName((m_localizator.*actionName)(created));
    return created;
}

QList<DBLoginItem*> ModelEditing::createFileItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index)
{
    return createLoginItemsFromData(data, group, index, &Localizator::undoActionForCreatingFileItems,
                                    [this](const QVariant& element) -> DBLoginItem* {
                                        QString path;
                                        if (element.typeId() == QMetaType::QUrl && element.toUrl().isLocalFile())
                                            path = element.toUrl().toLocalFile();
                                        else if (element.typeId() == QMetaType::QString)
                                            path = element.toString();
                                        if (path.isEmpty()) {
                                            LOG_ERROR("Invalid file item data %1, expecting a file URL or a path!", element.toString());
                                            return nullptr;
                                        }
                                        return acceptsText(path) ? m_context.createFileItemWithPath(path) : nullptr;
                                    });
}

QList<DBLoginItem*> ModelEditing::createDelayItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index)
{
    return createLoginItemsFromData(data, group, index, &Localizator::undoActionForCreatingDelayItems,
                                    [this](const QVariant& element) -> DBLoginItem* {
                                        bool ok = false;
                                        const double seconds = element.toDouble(&ok);
                                        if (!ok || !DBDelayItem::isAllowedDelay(seconds)) {
                                            LOG_ERROR("Invalid delay item data %1, expecting a number!", element.toString());
                                            return nullptr;
                                        }
                                        return m_context.createDelayItemWithDelay(seconds);
                                    });
}

QList<DBLoginItem*> ModelEditing::createWaitPreviousItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index)
{
    return createLoginItemsFromData(data, group, index, &Localizator::undoActionForCreatingWaitPreviousItems,
                                    [this](const QVariant&) -> DBLoginItem* { return m_context.createWaitPreviousItem(); });
}

QList<DBLoginItem*> ModelEditing::createConditionalPreviousItemsFromData(const QVariantList& data, DBLoginGroup* group, qsizetype index)
{
    return createLoginItemsFromData(data, group, index, &Localizator::undoActionForCreatingConditionalPreviousItems,
                                    [this](const QVariant&) -> DBLoginItem* { return m_context.createConditionalPreviousItem(); });
}

void ModelEditing::deleteLoginItems(const QList<DBLoginItem*>& items, DBLoginGroup* group)
{
    LOG_VERBOSE("Deleting %1 login items...", items.size());
    QList<DBLoginItem*> deleted;
    for (DBLoginItem* item : withoutRepeats(items))
        if (isLiveObject(item))
            deleted.append(item);
        else
            LOG_ERROR("Cannot delete %1: not a live item of this database", item);
    if (deleted.isEmpty())
        return;
    const bool ignored = group && group->groupTypeValue() == LoginGroupTypeIgnored;
    UndoStep step(m_context.undoManager());
    step.setActionName(ignored ? m_localizator.undoActionForDeletingIgnoredItems(deleted)
                               : m_localizator.undoActionForDeletingLoginItems(deleted));
    // Whichever group an item was in is left without a gap.
    QList<DBLoginGroup*> groups;
    if (isLiveObject(group))
        groups.append(group);
    for (DBLoginItem* item : std::as_const(deleted)) {
        if (DBLoginGroup* own = item->itemLoginGroup(); own && !groups.contains(own))
            groups.append(own);
        LOG_DEBUG("Deleting %1 from index %2...", item, item->itemSortIndexValue());
        m_context.deleteObject(item);
    }
    LOG_DEBUG("Fixing sort indexes of remaining items...");
    for (DBLoginGroup* remaining : std::as_const(groups))
        renumber(m_context.sortedLoginItemsForGroup(remaining), kItemSortIndex);
}

void ModelEditing::moveLoginItems(const QList<DBLoginItem*>& items, DBLoginGroup* fromGroup, DBLoginGroup* toGroup, qsizetype index)
{
    LOG_VERBOSE("Moving %1 login items from group %2 to %3, index %4...", items.size(), fromGroup, toGroup, index);
    if (!isLiveObject(fromGroup) || !isLiveObject(toGroup)) {
        LOG_ERROR("Cannot move login items from %1 to %2: not groups of this database", fromGroup, toGroup);
        return;
    }
    // An item of another group would take a number in a list it is not in.
    QList<DBLoginItem*> moving;
    for (DBLoginItem* item : withoutRepeats(items))
        if (isLiveObject(item) && item->itemLoginGroup() == fromGroup)
            moving.append(item);
        else
            LOG_ERROR("Cannot move %1: not an item of %2", item, fromGroup);
    UndoStep step(m_context.undoManager());
    if (fromGroup != toGroup) {
        LOG_DEBUG("Moving items from group %1 to %2...", fromGroup, toGroup);
        moving.removeIf([this](const DBLoginItem* item) { return typeOfLoginItem(item) != LoginItemTypeFile; });
        for (DBLoginItem* item : std::as_const(moving))
            item->setItemLoginGroup(toGroup);
        LOG_DEBUG("Updating sort indexes of items from group %1...", fromGroup);
        renumber(m_context.sortedLoginItemsForGroup(fromGroup), kItemSortIndex);
    }
    LOG_DEBUG("Fetching current items for group %1...", toGroup);
    renumber(moveObjects(moving, m_context.sortedLoginItemsForGroup(toGroup), index), kItemSortIndex);

    const bool fromIgnored = fromGroup->groupTypeValue() == LoginGroupTypeIgnored;
    const bool toIgnored = toGroup->groupTypeValue() == LoginGroupTypeIgnored;
    if (fromIgnored == toIgnored)
        step.setActionName(toIgnored ? m_localizator.undoActionForMovingIgnoreItems(moving)
                                     : m_localizator.undoActionForMovingLoginItems(moving));
    else
        step.setActionName(toIgnored ? m_localizator.undoActionForMovingApplicationItemsToIgnoreGroup(moving)
                                     : m_localizator.undoActionForMovingIgnoreItemsToApplicationGroup(moving));
}

DBLoginItem* ModelEditing::loginItemImmediatelyBeforeItem(const DBLoginItem* item) const
{
    LOG_DEBUG("Determining item immediately before %1...", item);
    return item ? m_context.loginItemImmediatelyBeforeItem(*item) : nullptr;
}

DBLoginItem* ModelEditing::loginItemImmediatelyAfterItem(const DBLoginItem* item) const
{
    LOG_DEBUG("Determining item immediately after %1...", item);
    return item ? m_context.loginItemImmediatelyAfterItem(*item) : nullptr;
}

// --- Startup conditions --------------------------------------------------------

QList<DBStartupCondition*> ModelEditing::sortedStartupConditions() const
{
    LOG_VERBOSE("Fetching startup conditions...");
    return m_context.sortedStartupConditions();
}

DBStartupCondition* ModelEditing::createStartupConditionAtIndex(qsizetype index, const QString& actionName,
                                                                const std::function<DBStartupCondition*()>& block)
{
    const QList<DBStartupCondition*> conditions = m_context.sortedStartupConditions();
    const qsizetype position = clamped(index, conditions.size());
    UndoStep step(m_context.undoManager());
    step.setActionName(actionName);
    DBStartupCondition* condition = block();
    if (position < conditions.size())
        LOG_DEBUG("Fixing sort indexes of conditions that were moved...");
    renumber(insertedAt(conditions, position, { condition }), kConditionSortIndex);
    return condition;
}

DBStartupCondition* ModelEditing::createScheduledStartupConditionAtIndex(qsizetype index)
{
    LOG_VERBOSE("Creating scheduled startup condition at index %1...", index);
    return createStartupConditionAtIndex(index, m_localizator.undoActionForCreatingScheduledStartupCondition(),
                                         [this] { return m_context.createScheduledStartupCondition(); });
}

DBStartupCondition* ModelEditing::createHotkeyStartupConditionAtIndex(qsizetype index)
{
    LOG_VERBOSE("Creating hotkey startup condition at index %1...", index);
    return createStartupConditionAtIndex(index, m_localizator.undoActionForCreatingHotkeyStartupCondition(), [this] {
        LOG_DEBUG("Determining first available hotkey combination...");
        const QList<DBStartupCondition*> conditions = m_context.sortedStartupConditions();
        int32_t combination = HotkeyCombinationCommand;
        for (const int32_t candidate : { HotkeyCombinationControl, HotkeyCombinationOption, HotkeyCombinationShift }) {
            const bool used = std::any_of(conditions.cbegin(), conditions.cend(), [candidate](const DBStartupCondition* condition) {
                const DBHotkeyConditionData* data = condition->conditionHotkeyData();
                return condition->conditionTypeValue() == StartupConditionTypeHotkey && data && data->hotkeyCombinationValue() == candidate;
            });
            if (!used) {
                combination = candidate;
                break;
            }
            LOG_DEBUG("Eliminating %1 as it's already being used.", candidate);
        }
        LOG_DEBUG("Creating hotkey startup condition using combination %1...", combination);
        DBStartupCondition* condition = m_context.createHotkeyStartupCondition();
        condition->conditionHotkeyData()->setHotkeyCombinationValue(combination);
        return condition;
    });
}

DBStartupCondition* ModelEditing::createPowerSourceStartupConditionAtIndex(qsizetype index)
{
    LOG_VERBOSE("Creating power source startup condition at index %1...", index);
    return createStartupConditionAtIndex(index, m_localizator.undoActionForCreatingPowerSourceStartupCondition(), [this] {
        LOG_DEBUG("Determining first available power source type...");
        const QList<DBStartupCondition*> conditions = m_context.sortedStartupConditions();
        const bool supplyUsed = std::any_of(conditions.cbegin(), conditions.cend(), [](const DBStartupCondition* condition) {
            const DBPowerSourceConditionData* data = condition->conditionPowerSourceData();
            return condition->conditionTypeValue() == StartupConditionTypePowerSource && data
                && data->powerSourceTypeValue() == PowerSourceTypePowerSupply;
        });
        if (supplyUsed)
            LOG_DEBUG("Eliminating %1 as it's already being used.", PowerSourceTypePowerSupply);
        const int32_t type = supplyUsed ? PowerSourceTypeBattery : PowerSourceTypePowerSupply;
        LOG_DEBUG("Creating power source startup condition using type %1...", type);
        DBStartupCondition* condition = m_context.createPowerSourceStartupCondition();
        condition->conditionPowerSourceData()->setPowerSourceTypeValue(type);
        return condition;
    });
}

DBStartupCondition* ModelEditing::createMountedVolumeStartupConditionAtIndex(qsizetype index)
{
    LOG_VERBOSE("Creating mounted volume startup condition at index %1...", index);
    return createStartupConditionAtIndex(index, m_localizator.undoActionForCreatingMountedVolumeStartupCondition(),
                                         [this] { return m_context.createMountedVolumeStartupCondition(); });
}

DBStartupCondition* ModelEditing::createNetworkStartupConditionAtIndex(qsizetype index)
{
    LOG_VERBOSE("Creating network startup condition at index %1...", index);
    return createStartupConditionAtIndex(index, m_localizator.undoActionForCreatingNetworkStartupCondition(),
                                         [this] { return m_context.createNetworkStartupCondition(); });
}

void ModelEditing::moveStartupConditions(const QList<DBStartupCondition*>& conditions, qsizetype index)
{
    LOG_VERBOSE("Moving %1 startup condition to index %2...", conditions.size(), index);
    QList<DBStartupCondition*> moving;
    for (DBStartupCondition* condition : conditions)
        if (isLiveObject(condition))
            moving.append(condition);
        else
            LOG_ERROR("Cannot move %1: not a live condition of this database", condition);
    UndoStep step(m_context.undoManager());
    step.setActionName(m_localizator.undoActionForMovingStartupConditions(moving));
    renumber(moveObjects(moving, m_context.sortedStartupConditions(), index), kConditionSortIndex);
}

void ModelEditing::deleteStartupConditions(const QList<DBStartupCondition*>& conditions)
{
    LOG_VERBOSE("Deleting %1 startup conditions...", conditions.size());
    QList<DBStartupCondition*> deleted;
    for (DBStartupCondition* condition : conditions)
        if (isLiveObject(condition) && !deleted.contains(condition))
            deleted.append(condition);
    if (deleted.isEmpty())
        return;
    UndoStep step(m_context.undoManager());
    step.setActionName(m_localizator.undoActionForDeletingStartupConditions(deleted));
    for (DBStartupCondition* condition : std::as_const(deleted)) {
        LOG_DEBUG("Deleting %1 from index %2...", condition, condition->conditionSortIndexValue());
        m_context.deleteObject(condition);
    }
    LOG_DEBUG("Fixing sort indexes of remaining startup conditions...");
    renumber(m_context.sortedStartupConditions(), kConditionSortIndex);
}

// --- Schedule entries ------------------------------------------------------------

QList<DBScheduledConditionDataItem*> ModelEditing::sortedScheduleDataItemsForCondition(const DBStartupCondition* condition) const
{
    return m_context.sortedScheduleItemsForScheduledConditionData(condition ? condition->conditionScheduledData() : nullptr);
}

DBScheduledConditionDataItem* ModelEditing::createScheduledConditionDataItemForCondition(DBStartupCondition* condition, qsizetype index)
{
    LOG_VERBOSE("Creating scheduled condition data item...");
    DBScheduledConditionData* data = isLiveObject(condition) ? condition->conditionScheduledData() : nullptr;
    if (!data) {
        LOG_ERROR("Cannot add a schedule item to %1: it has no schedule", condition);
        return nullptr;
    }
    const QList<DBScheduledConditionDataItem*> entries = sortedScheduleDataItemsForCondition(condition);
    const qsizetype position = clamped(index, entries.size());
    UndoStep step(m_context.undoManager());
    step.setActionName(m_localizator.undoActionForAddingScheduledConditionDataItem(*condition));
    DBScheduledConditionDataItem* entry = m_context.createScheduledConditionDataItem();
    if (position < entries.size())
        LOG_DEBUG("Fixing sort indexes of schedule items that were moved...");
    renumber(insertedAt(entries, position, { entry }), kScheduleSortIndex);
    entry->setScheduleConditionData(data);
    return entry;
}

void ModelEditing::deleteScheduledConditionDataItem(DBScheduledConditionDataItem* item, DBStartupCondition* condition)
{
    LOG_VERBOSE("Deleting scheduled condition data item %1 from startup condition %2...", item, condition);
    if (!isLiveObject(item)) {
        LOG_ERROR("Cannot delete %1: not a live schedule item of this database", item);
        return;
    }
    DBScheduledConditionData* data = item->scheduleConditionData();
    const DBStartupCondition* owner = data ? data->scheduleStartupCondition() : condition;
    UndoStep step(m_context.undoManager());
    if (owner)
        step.setActionName(m_localizator.undoActionForRemovingScheduledConditionDataItem(*owner));
    m_context.deleteObject(item);
    LOG_DEBUG("Fixing sort indexes of remaining schedule items...");
    renumber(m_context.sortedScheduleItemsForScheduledConditionData(data), kScheduleSortIndex);
}

// --- Single values -------------------------------------------------------------

bool ModelEditing::changeValue(ManagedObject* object, const QString& key, const QVariant& value,
                               const std::function<QString()>& actionName)
{
    if (!isLiveObject(object)) {
        LOG_ERROR("Cannot change %1 of %2: not a live object of this database", key, object);
        return false;
    }
    if (object->value(key) == value)
        return false;
    LOG_VERBOSE("Changing %1 of %2 to %3...", key, object, value.toString());
    UndoStep step(m_context.undoManager());
    object->setValue(key, value);
    step.setActionName(actionName());
    return true;
}

bool ModelEditing::setFileItemStartupMode(DBFileItem* item, int32_t mode)
{
    if (mode < ItemStartupModeShown || mode > ItemStartupModeDisabled) {
        LOG_ERROR("Refusing startup mode %1", mode);
        return false;
    }
    return changeValue(item, QStringLiteral("itemStartupMode"), QVariant(mode),
                       [&] { return m_localizator.undoActionForChangingFileItemStartupMode(*item); });
}

bool ModelEditing::setStartupConditionUsedByLoginItem(DBStartupCondition* condition, DBLoginItem* item, bool used)
{
    if (!isLiveObject(condition) || !isLiveObject(item)) {
        LOG_ERROR("Cannot change the use of %1 by %2: not live objects of this database", condition, item);
        return false;
    }
    if (item->itemStartupConditions().contains(condition) == used)
        return false;
    UndoStep step(m_context.undoManager());
    if (used) {
        LOG_VERBOSE("Adding startup condition %1 to login item %2...", condition, item);
        item->addItemStartupConditionsObject(condition);
        step.setActionName(m_localizator.undoActionForAddingStartupCondition(*condition, *item));
    } else {
        LOG_VERBOSE("Removing startup condition %1 from login item %2...", condition, item);
        item->removeItemStartupConditionsObject(condition);
        step.setActionName(m_localizator.undoActionForRemovingStartupCondition(*condition, *item));
    }
    return true;
}

bool ModelEditing::acceptsText(const QString& text) const
{
    if (PropertyList::canHoldString(text))
        return true;
    LOG_ERROR("Refusing text the database file cannot hold: %1", QString::fromLatin1(text.toUtf8().toPercentEncoding(" /")));
    if (m_refusedTextHandler)
        m_refusedTextHandler(text);
    return false;
}

bool ModelEditing::renameStartupCondition(DBStartupCondition* condition, const QString& name)
{
    if (!acceptsText(name))
        return false;
    const QString oldName = isLiveObject(condition) ? condition->conditionName() : QString();
    return changeValue(condition, QStringLiteral("conditionName"), QVariant(name),
                       [&] { return m_localizator.undoActionForRenamingFrom(oldName, name); });
}

bool ModelEditing::setDelayItemDelay(DBDelayItem* item, double delay)
{
    if (!DBDelayItem::isAllowedDelay(delay)) {
        LOG_ERROR("Refusing delay %1", delay);
        return false;
    }
    return changeValue(item, QStringLiteral("itemDelay"), QVariant(delay),
                       [&] { return m_localizator.undoActionForChangingDelayItemDelay(); });
}

bool ModelEditing::setConditionalPreviousItemMode(DBConditionalPreviousItem* item, int32_t mode)
{
    if (mode != ConditionalPreviousItemModeIfLaunched && mode != ConditionalPreviousItemModeIfNotLaunched) {
        LOG_ERROR("Refusing conditional item mode %1", mode);
        return false;
    }
    return changeValue(item, QStringLiteral("itemMode"), QVariant(mode),
                       [&] { return m_localizator.undoActionForChangingConditionalPreviousItemMode(); });
}

bool ModelEditing::changeEnumeration(ManagedObject* object, const QString& key, int32_t value, int32_t first, int32_t last,
                                     const std::function<QString()>& actionName)
{
    if (value < first || value > last) {
        LOG_ERROR("Refusing %1 %2", key, value);
        return false;
    }
    return changeValue(object, key, QVariant(value), actionName);
}

// --- Settings of the conditions -------------------------------------------------------

bool ModelEditing::setHotkeyCombination(DBStartupCondition* condition, int32_t combination)
{
    return changeEnumeration(condition ? condition->conditionHotkeyData() : nullptr, QStringLiteral("hotkeyCombination"), combination,
                             HotkeyCombinationControl, HotkeyCombinationCommand,
                             [&] { return m_localizator.undoActionForChangingHotkeyCombinationForCondition(*condition); });
}

bool ModelEditing::setHotkeyStatus(DBStartupCondition* condition, int32_t status)
{
    return changeEnumeration(condition ? condition->conditionHotkeyData() : nullptr, QStringLiteral("hotkeyStatus"), status,
                             HotkeyStatusPressed, HotkeyStatusNotPressed,
                             [&] { return m_localizator.undoActionForChangingHotkeyStatusForCondition(*condition); });
}

bool ModelEditing::setPowerSourceType(DBStartupCondition* condition, int32_t type)
{
    return changeEnumeration(condition ? condition->conditionPowerSourceData() : nullptr, QStringLiteral("powerSourceType"), type,
                             PowerSourceTypePowerSupply, PowerSourceTypeBattery,
                             [&] { return m_localizator.undoActionForChangingPowerSourceCombinationForCondition(*condition); });
}

bool ModelEditing::setScheduleDay(DBScheduledConditionDataItem* item, int32_t day)
{
    return changeEnumeration(item, QStringLiteral("scheduleDay"), day, ScheduleDayMonday, ScheduleDayEveryDay,
                             [&] { return m_localizator.undoActionForChangingScheduleDayForDataItem(*item); });
}

bool ModelEditing::changeScheduleTime(DBScheduledConditionDataItem* item, const QString& key, const QTime& time,
                                      const std::function<QString()>& actionName)
{
    if (!time.isValid()) {
        LOG_ERROR("Refusing an invalid %1", key);
        return false;
    }
    // Never on the stored day: a date at the edge of the years the file holds
    // would cross them in another zone.
    return changeValue(item, key, QVariant(DBScheduledConditionDataItem::dateForTimeOfDay(time)), actionName);
}

bool ModelEditing::setScheduleFromTime(DBScheduledConditionDataItem* item, const QTime& time)
{
    return changeScheduleTime(item, QStringLiteral("scheduleFromTime"), time,
                              [&] { return m_localizator.undoActionForChangingScheduleFromTimeForDataItem(*item); });
}

bool ModelEditing::setScheduleToTime(DBScheduledConditionDataItem* item, const QTime& time)
{
    return changeScheduleTime(item, QStringLiteral("scheduleToTime"), time,
                              [&] { return m_localizator.undoActionForChangingScheduleToTimeForDataItem(*item); });
}

bool ModelEditing::setVolumePath(DBStartupCondition* condition, const QString& path)
{
    if (!acceptsText(path))
        return false;
    return changeValue(condition ? condition->conditionVolumeData() : nullptr, QStringLiteral("volumePath"), QVariant(path),
                       [&] { return m_localizator.undoActionForChangingVolumePathForCondition(*condition); });
}

bool ModelEditing::setVolumeStatus(DBStartupCondition* condition, int32_t status)
{
    return changeEnumeration(condition ? condition->conditionVolumeData() : nullptr, QStringLiteral("volumeStatus"), status,
                             VolumeStatusMounted, VolumeStatusNotMounted,
                             [&] { return m_localizator.undoActionForChangingVolumeStatusForCondition(*condition); });
}

bool ModelEditing::setNetworkName(DBStartupCondition* condition, const QString& name)
{
    if (!acceptsText(name))
        return false;
    DBNetworkConditionData* data = condition ? condition->conditionNetworkData() : nullptr;
    const bool internet = name.isNull();
    const bool resetsStatus = internet && isLiveObject(data) && data->networkStatusValue() == NetworkStatusConnected;
    UndoStep step(m_context.undoManager());
    if (!changeValue(data, QStringLiteral("networkName"), internet ? QVariant() : QVariant(name),
                     [&] { return m_localizator.undoActionForChangingNetworkNameForCondition(*condition); }))
        return false;
    if (resetsStatus) {
        LOG_DEBUG("The internet connection is never joined: %1 now asks for it to be available.", condition);
        data->setNetworkStatusValue(NetworkStatusAvailable);
    }
    return true;
}

bool ModelEditing::setNetworkMode(DBStartupCondition* condition, int32_t mode)
{
    return changeEnumeration(condition ? condition->conditionNetworkData() : nullptr, QStringLiteral("networkMode"), mode, NetworkModeIs,
                             NetworkModeNot, [&] { return m_localizator.undoActionForChangingNetworkModeForCondition(*condition); });
}

bool ModelEditing::setNetworkStatus(DBStartupCondition* condition, int32_t status)
{
    return changeEnumeration(condition ? condition->conditionNetworkData() : nullptr, QStringLiteral("networkStatus"), status,
                             NetworkStatusAvailable, NetworkStatusConnected,
                             [&] { return m_localizator.undoActionForChangingNetworkStatusForCondition(*condition); });
}
