#pragma once
// Records every callback as "Name" or "Name path-or-name", in order.
#include "foundation/MHKeelhouseKeys.h"
#include "keelhouse/SystemItemsServerForwarder.h"

#include <QStringList>

class RecordingServer : public SystemItemsServerForwarder {
public:
    RecordingServer()
        : SystemItemsServerForwarder([this](const QString& name, const QVariantList& arguments) {
            if (arguments.isEmpty()) {
                calls.append(name);
                return;
            }
            const QVariantMap item = arguments.first().toMap();
            items.append(item);
            const QString path = item.value(MHKeelhouseKeys::path).toString();
            calls.append(name + QLatin1Char(' ') + (path.isEmpty() ? item.value(MHKeelhouseKeys::name).toString() : path));
        })
    {
    }

    QStringList calls;
    QList<QVariantMap> items;
};
