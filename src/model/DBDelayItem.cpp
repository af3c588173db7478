#include "model/DBDelayItem.h"

#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

#include <cmath>

bool DBDelayItem::isAllowedDelay(double seconds)
{
    return std::isfinite(seconds) && seconds >= 0;
}

QString DBDelayItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().delayItemNiceDisplayNameForDelay(itemDelayValue());
}
