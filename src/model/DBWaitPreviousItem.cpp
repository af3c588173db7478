#include "model/DBWaitPreviousItem.h"

#include "foundation/Log.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QString DBWaitPreviousItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().waitPreviousItemNiceDisplayName(*this);
}

bool DBWaitPreviousItem::isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters)
{
    if (!previousItem) {
        LOG_DEBUG("%1 will not launch because it is the first item in the list!", this);
        return false;
    }
    if (previousItem->executionStatusInPass(parameters) == LastExecutionStatusAllowed)
        return true;
    LOG_DEBUG("%1 will not launch becuase the item it was waiting for (%2) was not launched!", this, previousItem);
    return false;
}
