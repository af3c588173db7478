#pragma once
// Keeps the machine awake while timed work runs, so a countdown or a run of
// items is not cut by the system going to sleep.
#include <QString>
#include <functional>

class IdleInhibitor {
public:
    virtual ~IdleInhibitor() = default;

    // Runs block synchronously, keeping the system from idling into sleep
    // while it runs when that can be done; otherwise just runs it.
    virtual void performActivity(const QString& reason, const std::function<void()>& block) = 0;
};
