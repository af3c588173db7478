#include "model/DBDelayItem.h"

#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QString DBDelayItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().delayItemNiceDisplayNameForDelay(itemDelayValue());
}
