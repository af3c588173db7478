#pragma once
// One posted notification: its name, the object that posted it (compared by
// address only, may be null) and its user info.
#include <QString>
#include <QVariantMap>

struct Notification {
    QString name;
    const void* sender = nullptr;
    QVariantMap userInfo;
};
