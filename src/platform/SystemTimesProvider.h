#pragma once
// When the machine started and when the user logged in: how the engine tells
// a login from a later manual start of the program.
#include <QDateTime>

class SystemTimesProvider {
public:
    virtual ~SystemTimesProvider() = default;

    // The start of the machine by the wall clock; invalid when unknown. It
    // stays the same across sleep, so a wake never looks like a new boot.
    virtual QDateTime bootTime() const = 0;
    // The first login of this user since the machine started; invalid when
    // unknown (no login record of this boot).
    virtual QDateTime loginTime() const = 0;
    // Seconds since the machine started, time asleep included; negative when
    // unknown.
    virtual double timeSinceStartup() const = 0;
};
