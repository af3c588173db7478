#pragma once
// The file items among a selection of login items, and handing them to the
// session's login items list: only file items have a place there.
#include "engine/SystemItemData.h"

#include <QList>

class ApplicationContext;
class DBFileItem;
class DBLoginItem;
class UndoManager;

// In the order given.
QList<DBFileItem*> fileItemsOf(const QList<DBLoginItem*>& items);

// Starts the context's create state with a record of each item, in order;
// the items themselves are left as they are. Nothing happens for an empty
// list; false (logged) when the context has no state to create them with.
bool createSystemItemsFromFileItems(ApplicationContext& context, const QList<DBFileItem*>& items);

// Undo and redo of a move between Lanternwick's lists and the session's
// follow it in the session's list. Registered in the move's undo step: when
// handsBackWhenRun, the step's undo hands the entries back to the session as
// they were (they left Lanternwick), else it only reads the list again (whose
// reading takes entries back into Lanternwick over again); the step's redo
// does the other. Every step reads the list again, so the pages follow.
void registerSessionListFollowing(UndoManager& undo, ApplicationContext& context, const QList<SystemItemData>& entries, bool handsBackWhenRun);
