#pragma once
// The desktop's system tray, where status items live. An interface, so that
// the dock and tray switching can be tested without a tray host.
#include "ui/windows/StatusItem.h"

#include <memory>

class QMenu;

class StatusBar {
public:
    virtual ~StatusBar() = default;

    // Whether the desktop shows tray icons at all.
    virtual bool isAvailable() const = 0;
    // A shown icon with the menu (kept by the caller, which must outlive it);
    // the icon goes when the item is destroyed.
    virtual std::unique_ptr<StatusItem> addStatusItem(const QIcon& image, QMenu* menu) = 0;
};
