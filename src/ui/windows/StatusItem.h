#pragma once
// One icon in the desktop's system tray, with its menu.
#include <QIcon>

class StatusItem {
public:
    virtual ~StatusItem() = default;

    virtual QIcon image() const = 0;
    virtual void setImage(const QIcon& image) = 0;
};
