#pragma once
// The system tray through QSystemTrayIcon.
#include "ui/windows/StatusBar.h"

class SystemTrayStatusBar : public StatusBar {
public:
    bool isAvailable() const override;
    std::unique_ptr<StatusItem> addStatusItem(const QIcon& image, QMenu* menu) override;
};
