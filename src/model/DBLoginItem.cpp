#include "model/DBLoginItem.h"

#include "foundation/Log.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

namespace {
const QString kConditions = QStringLiteral("itemStartupConditions");
}

DBLoginItem::DBLoginItem(const EntityDescription& entity)
    : ManagedObject(entity)
{
}

DBLoginGroup* DBLoginItem::itemLoginGroup() const
{
    return toOneAs<DBLoginGroup>(QStringLiteral("itemLoginGroup"));
}

void DBLoginItem::setItemLoginGroup(DBLoginGroup* group)
{
    setToOne(QStringLiteral("itemLoginGroup"), group);
}

QList<DBStartupCondition*> DBLoginItem::itemStartupConditions() const
{
    return toManyAs<DBStartupCondition>(kConditions);
}

void DBLoginItem::addItemStartupConditionsObject(DBStartupCondition* condition)
{
    addToManyObject(kConditions, condition);
}

void DBLoginItem::removeItemStartupConditionsObject(DBStartupCondition* condition)
{
    removeToManyObject(kConditions, condition);
}

void DBLoginItem::replaceItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions)
{
    LOG_VERBOSE("Replacing startup conditions with %1 conditions...", conditions.size());
    for (DBStartupCondition* condition : itemStartupConditions())
        removeItemStartupConditionsObject(condition);
    for (DBStartupCondition* condition : conditions)
        addItemStartupConditionsObject(condition);
}

void DBLoginItem::appendItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions)
{
    LOG_VERBOSE("Appending startup conditions with %1 conditions...", conditions.size());
    for (DBStartupCondition* condition : conditions)
        addItemStartupConditionsObject(condition);
}

QString DBLoginItem::logDescription() const
{
    return QStringLiteral("%1 (%2)").arg(entity().className(), itemNiceDisplayName());
}

bool DBLoginItem::recordExecutionStatus(uint32_t status, ExecutionValidationParameters& parameters)
{
    parameters.setExecutionStatusForItem(this, status);
    setLastExecutionStatus(status);
    return status == LastExecutionStatusAllowed;
}

bool DBLoginItem::isMissingFileItem(const DBLoginItem* item, ExecutionValidationParameters& parameters)
{
    return item && item->loginItemType() == LoginItemTypeFile
        && parameters.isFileItemMissing(*static_cast<const DBFileItem*>(item));
}

uint32_t DBLoginItem::executionStatusInPass(ExecutionValidationParameters& parameters)
{
    if (const std::optional<uint32_t> status = parameters.executionStatusForItem(this))
        return *status;
    isExecutionAllowedForParameters(parameters);
    return parameters.executionStatusForItem(this).value_or(LastExecutionStatusPreventedByItem);
}

bool DBLoginItem::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters)
{
    LOG_VERBOSE("%1: Determining if execution is allowed for parameters %2...", this, parameters);
    if (!isExecutionByStartupConditionsAllowedForParameters(parameters))
        return recordExecutionStatus(LastExecutionStatusPreventedByConditions, parameters);
    return recordExecutionStatus(isExecutionByNeighborsAllowedForParameters(parameters) ? LastExecutionStatusAllowed
                                                                                        : LastExecutionStatusPreventedByNeighbors,
                                 parameters);
}

bool DBLoginItem::isExecutionByStartupConditionsAllowedForParameters(ExecutionValidationParameters& parameters)
{
    LOG_DEBUG("Determining if startup conditions allow execution...");
    for (DBStartupCondition* condition : itemStartupConditions()) {
        LOG_DEBUG("%1: Determining if startup condition %2 allows execution for %3...", this, condition, parameters);
        if (!condition->isExecutionAllowedForParameters(parameters))
            return false;
    }
    return true;
}

bool DBLoginItem::isExecutionByNeighborsAllowedForParameters(ExecutionValidationParameters& parameters)
{
    LOG_DEBUG("Determining if conditional items allow execution...");
    return isExecutionByPreviousItem(parameters.availableItemBeforeOfItem(this), parameters)
        && isExecutionByNextItem(parameters.availableItemAfterItem(this), parameters);
}

bool DBLoginItem::isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters)
{
    return !previousItem || previousItem->allowExecutionOfNextItem(this, parameters.availableItems(), parameters);
}

bool DBLoginItem::isExecutionByNextItem(DBLoginItem* nextItem, ExecutionValidationParameters& parameters)
{
    return !nextItem || nextItem->allowExecutionOfPreviousItem(this, parameters.availableItems(), parameters);
}

bool DBLoginItem::allowExecutionOfNextItem(DBLoginItem*, const QList<DBLoginItem*>&, ExecutionValidationParameters&)
{
    return true;
}

bool DBLoginItem::allowExecutionOfPreviousItem(DBLoginItem*, const QList<DBLoginItem*>&, ExecutionValidationParameters&)
{
    return true;
}
