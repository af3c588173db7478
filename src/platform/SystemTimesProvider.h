#pragma once
// When the machine started and when the user logged in: how the engine tells
// a login from a later manual start of the program.
#include <QDateTime>
#include <QString>

class SystemTimesProvider {
public:
    virtual ~SystemTimesProvider() = default;

    // The start of the machine by the wall clock; invalid when unknown. It
    // stays the same across sleep, so a wake never looks like a new boot.
    virtual QDateTime bootTime() const = 0;
    // This boot's own ID, which no later boot has; empty when unknown.
    virtual QString bootID() const = 0;
    // The start of this login session (never of another login of the same
    // user that is still open); invalid when unknown.
    virtual QDateTime loginTime() const = 0;
    // The login session this program runs in (XDG_SESSION_ID); empty when
    // unknown. Where no start time can be had, a new one is a new login.
    virtual QString loginSessionID() const = 0;
    // Seconds since the machine started, time asleep included; negative when
    // unknown.
    virtual double timeSinceStartup() const = 0;
};
