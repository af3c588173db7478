#include "ui/base/FileItems.h"

#include "engine/ApplicationContext.h"
#include "engine/CreateSystemItemsApplicationState.h"
#include "foundation/Log.h"
#include "model/DBFileItem.h"

QList<DBFileItem*> fileItemsOf(const QList<DBLoginItem*>& items)
{
    QList<DBFileItem*> files;
    for (DBLoginItem* item : items)
        if (item->loginItemType() == LoginItemTypeFile)
            files.append(static_cast<DBFileItem*>(item));
    return files;
}

bool createSystemItemsFromFileItems(ApplicationContext& context, const QList<DBFileItem*>& items)
{
    if (items.isEmpty())
        return true;
    auto* state = dynamic_cast<CreateSystemItemsApplicationState*>(context.createSystemItemsState());
    if (!state) {
        LOG_ERROR("No state to create system items with, %1 items are not handed to the session!", items.size());
        return false;
    }
    QList<SystemItemData> records;
    for (const DBFileItem* item : items)
        records.append(SystemItemData(*item));
    // The items ride with the run: a move made while an earlier one is still
    // with the service sends exactly its own.
    context.pushRun(state, std::make_shared<ChainRun>(nullptr, records));
    return true;
}
