#pragma once
// The requests the application sends to the service. None has a reply: the
// service reports progress through SystemItemsServerInterface at the endpoint
// set up last by the same client.
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class KeelhouseInterface {
public:
    virtual ~KeelhouseInterface() = default;

    // The object path, on the caller's own bus connection, of its callback object.
    virtual void setupServerEndPoint(const QString& objectPath) = 0;
    // Keys of MHDebugOptions to Boolean values.
    virtual void setupDebugOptions(const QVariantMap& options) = 0;
    // Item data dictionaries (MHItemDataKeys) of the two groups.
    virtual void readSystemItemsWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems,
                                                 const QString& lanternwickBundlePath) = 0;
    virtual void uninstallLanternwickWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems) = 0;
    // Create and delete request records ("path", "name" of MHKeelhouseKeys).
    virtual void createSystemItemsWithItems(const QVariantList& items) = 0;
    virtual void deleteSystemItemsWithItems(const QVariantList& items) = 0;
};
