#pragma once
// The watcher of the session's login items list, as the engine switches it.
// The application keeps one login items adapter for that.
class SystemItemsHandling {
public:
    virtual ~SystemItemsHandling() = default;

    virtual void enableChangeNotifications(bool enabled) = 0;
};
