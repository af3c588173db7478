#pragma once
// A tray icon shown while this object lives.
#include "ui/windows/StatusItem.h"

#include <QSystemTrayIcon>

class SystemTrayStatusItem : public StatusItem {
public:
    SystemTrayStatusItem(const QIcon& image, QMenu* menu);

    QIcon image() const override { return m_icon.icon(); }
    void setImage(const QIcon& image) override { m_icon.setIcon(image); }

private:
    QSystemTrayIcon m_icon;
};
