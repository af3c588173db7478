#pragma once
// The watcher of the session's login items list, as the engine switches it.
// The shell hands over the application's login items adapter.
class SystemItemsHandling {
public:
    virtual ~SystemItemsHandling() = default;

    virtual void enableChangeNotifications(bool enabled) = 0;
};
