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

    // The name a file shows under, for entries made from a bare path.
    virtual QString displayNameForPath(const QString& path) const = 0;
    // The handle the application's own entry has when it exists.
    virtual QString ownEntryRef() const = 0;
    // Folders whose changes are changes of the list; may be empty.
    virtual QStringList watchedFolders() const = 0;
};
