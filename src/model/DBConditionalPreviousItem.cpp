#include "model/DBConditionalPreviousItem.h"

#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QString DBConditionalPreviousItem::itemNiceDisplayName() const
{
    return managedObjectContext()->texts().conditionalPreviousItemNiceDisplayName(*this);
}
