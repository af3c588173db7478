#include "ui/base/FileItems.h"

#include "engine/ApplicationContext.h"
#include "engine/CreateSystemItemsApplicationState.h"
#include "engine/StateChain.h"
#include "foundation/Log.h"
#include "model/DBFileItem.h"
#include "model/UndoManager.h"

namespace {

// Reads the session's list again, after handing handBack back to it, with
// the watcher of the list off meanwhile.
void refreshSessionList(ApplicationContext& context, const QList<SystemItemData>& handBack)
{
    QList<StateChain::Step> steps;
    for (ApplicationState* state : { context.disableSystemItemsChangeState(), handBack.isEmpty() ? nullptr : context.createSystemItemsState(),
                                     context.readSystemItemsState(), context.enableSystemItemsChangeState() }) {
        if (state)
            steps.append(StateChain::Step { state, {} });
    }
    StateChain::startRun(context, steps, std::make_shared<ChainRun>(nullptr, handBack));
}

} // namespace

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
    for (const DBFileItem* item : items) {
        records.append(SystemItemData(*item));
        if (records.last().isSwitchedOff())
            LOG_NORMAL("%1 is set not to start: handing it back switched off", item->itemNiceDisplayName());
    }
    // The items ride with the run: a move made while an earlier one is still
    // with the service sends exactly its own.
    context.pushRun(state, std::make_shared<ChainRun>(nullptr, records));
    return true;
}

void registerSessionListFollowing(UndoManager& undo, ApplicationContext& context, const QList<SystemItemData>& entries, bool handsBackWhenRun)
{
    // Runs within the undo or redo; the reading waits for the bus, so it
    // sees the whole step done.
    undo.registerUndo([&undo, &context, entries, handsBackWhenRun] {
        registerSessionListFollowing(undo, context, entries, !handsBackWhenRun);
        refreshSessionList(context, handsBackWhenRun ? entries : QList<SystemItemData>());
    });
}
