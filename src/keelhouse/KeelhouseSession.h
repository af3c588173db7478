#pragma once
// What the service keeps for one client between its requests.
#include "keelhouse/SystemItemsServerInterface.h"

#include <QString>
#include <QVariantMap>
#include <memory>

struct KeelhouseSession {
    // Where this client's callbacks go; none before it set up an endpoint.
    std::shared_ptr<SystemItemsServerInterface> server;
    QVariantMap debugOptions;
    // From the client's last read, so that uninstalling knows the application too.
    QString lanternwickPath;
};
