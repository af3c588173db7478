#pragma once
// The session's login items list as LoginItemsHandler needs it: an ordered
// snapshot, insertion at the end, removal by handle. Failures answer an errno
// value (0 is success).
#include "keelhouse/LoginItemEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

class LoginItemsList {
public:
    virtual ~LoginItemsList() = default;

    virtual QList<LoginItemEntry> entries() = 0;
    // switchedOff: no desktop starts the entry at login.
    virtual int insert(const QString& name, const QString& path, bool hidden, bool switchedOff) = 0;
    virtual int remove(const QString& ref) = 0;
    // The entry that resolves to entryPath is about to be removed because the
    // item at itemPath starts its program: it is kept for that item, whose
    // hand-back gives it back. A list that keeps nothing has nothing to do.
    virtual int keepForItem(const QString& /*entryPath*/, const QString& /*itemPath*/) { return 0; }
    // Why the last insert failed, when its errno value alone does not say it.
    virtual QString failureReason() const { return {}; }

    // The name a file shows under, for entries made from a bare path.
    virtual QString displayNameForPath(const QString& path) const = 0;
    // The handle the application's own entry has when it exists.
    virtual QString ownEntryRef() const = 0;
    // Folders whose changes are changes of the list; may be empty.
    virtual QStringList watchedFolders() const = 0;
};
