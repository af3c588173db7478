#include "ui/windows/SystemTrayStatusBar.h"

#include "ui/windows/SystemTrayStatusItem.h"

bool SystemTrayStatusBar::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::unique_ptr<StatusItem> SystemTrayStatusBar::addStatusItem(const QIcon& image, QMenu* menu)
{
    return std::make_unique<SystemTrayStatusItem>(image, menu);
}
