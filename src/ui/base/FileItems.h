#pragma once
// The file items among a selection of login items, and handing them to the
// session's login items list: only file items have a place there.
#include <QList>

class ApplicationContext;
class DBFileItem;
class DBLoginItem;

// In the order given.
QList<DBFileItem*> fileItemsOf(const QList<DBLoginItem*>& items);

// Starts the context's create state with a record of each item, in order;
// the items themselves are left as they are. Nothing happens for an empty
// list; false (logged) when the context has no state to create them with.
bool createSystemItemsFromFileItems(ApplicationContext& context, const QList<DBFileItem*>& items);
