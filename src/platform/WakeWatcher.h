#pragma once
// Tells when the computer has woken from sleep.
#include <functional>

class WakeWatcher {
public:
    using Handler = std::function<void()>;

    virtual ~WakeWatcher() = default;

    // handler runs on the main thread after each wake; an empty one stops the reports.
    virtual void setWakeHandler(Handler handler) = 0;
};
