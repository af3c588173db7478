#include "model/DBConditionalPreviousItem.h"

#include "foundation/Log.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QString DBConditionalPreviousItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().conditionalPreviousItemNiceDisplayName(*this);
}

bool DBConditionalPreviousItem::isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters)
{
    return previousItem && !isMissingFileItem(previousItem, parameters)
        && DBLoginItem::isExecutionByPreviousItem(previousItem, parameters);
}

bool DBConditionalPreviousItem::isExecutionByNextItem(DBLoginItem* nextItem, ExecutionValidationParameters& parameters)
{
    return nextItem && !isMissingFileItem(nextItem, parameters) && DBLoginItem::isExecutionByNextItem(nextItem, parameters);
}

bool DBConditionalPreviousItem::allowExecutionOfNextItem(DBLoginItem* nextItem, const QList<DBLoginItem*>& items,
                                                         ExecutionValidationParameters& parameters)
{
    LOG_VERBOSE("Determining if we allow launching %1...", nextItem);
    if (!isExecutionAllowedForParameters(parameters)) {
        LOG_VERBOSE("Conditions for %1 prevent launch, so it doesn't participate in next item launching!", this);
        return true;
    }
    const qsizetype index = items.indexOf(this);
    if (index <= 0 || index == items.size() - 1)
        return true;
    DBLoginItem* previousItem = items[index - 1];
    const LoginItemType nextType = nextItem->loginItemType();
    if (previousItem->loginItemType() == LoginItemTypeConditionalPrevious || nextType == LoginItemTypeWaitPrevious
        || nextType == LoginItemTypeConditionalPrevious || isMissingFileItem(previousItem, parameters))
        return true;
    const int32_t mode = itemModeValue();
    const uint32_t previousStatus = previousItem->executionStatusInPass(parameters);
    if (mode == ConditionalPreviousItemModeIfNotLaunched && previousStatus == LastExecutionStatusAllowed) {
        LOG_VERBOSE("Preventing launching %1 because it was launched!", nextItem);
        return false;
    }
    if (mode == ConditionalPreviousItemModeIfLaunched && previousStatus != LastExecutionStatusAllowed) {
        LOG_VERBOSE("Preventing launching %1 because it was not launched!", nextItem);
        return false;
    }
    return true;
}
