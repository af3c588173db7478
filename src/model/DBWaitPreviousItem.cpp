#include "model/DBWaitPreviousItem.h"

#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QString DBWaitPreviousItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().waitPreviousItemNiceDisplayName(*this);
}
