#pragma once
// What the engine asks of the application's shared service object. The shell
// implements it; the engine only holds it.
#include <QDateTime>
#include <QString>
#include <QVariantMap>

class RunJournal;
class SystemItemsHandling;

class ApplicationHelping {
public:
    virtual ~ApplicationHelping() = default;

    // Prefixes the engine's queue names and the login items service name.
    virtual QString applicationBundleID() const = 0;
    // The start of the machine; invalid when it cannot be told.
    virtual QDateTime calculatedBootTime() const = 0;
    // This boot's own ID; empty when unknown.
    virtual QString bootID() const = 0;
    // The start of this login session; invalid when it cannot be told.
    virtual QDateTime calculatedLoginTime() const = 0;
    // This login session's ID; empty when unknown.
    virtual QString loginSessionID() const = 0;
    // What the runs of this login started; null where nothing is kept.
    virtual RunJournal* runJournal() = 0;
    // The debug options file's keys (MHDebugOptions) to Booleans.
    virtual QVariantMap debugOptions() const = 0;
    // Answers false when the notification could not be shown.
    virtual bool postUserNotificationWithTitle(const QString& title, const QString& informativeText) = 0;
    // The watcher of the session's login items list.
    virtual SystemItemsHandling* systemItemsHandler() = 0;
};
