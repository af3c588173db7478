#pragma once
// The application's side of KeelhouseInterface: one-way requests to the
// service, which the bus starts on the first one.
#include "keelhouse/KeelhouseInterface.h"

#include <QDBusConnection>

class KeelhouseClient : public KeelhouseInterface {
public:
    explicit KeelhouseClient(QDBusConnection connection);

    void setupServerEndPoint(const QString& objectPath) override;
    // The options carry this program's desktop too (KeelhouseBus::currentDesktopOption).
    void setupDebugOptions(const QVariantMap& options) override;
    void readSystemItemsWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems,
                                         const QString& lanternwickBundlePath) override;
    void uninstallLanternwickWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems) override;
    void createSystemItemsWithItems(const QVariantList& items) override;
    void deleteSystemItemsWithItems(const QVariantList& items) override;

    // False when a request could not be sent at all.
    bool lastSendSucceeded() const { return m_lastSendSucceeded; }

private:
    void send(const QString& method, const QVariantList& arguments);

    QDBusConnection m_connection;
    bool m_lastSendSucceeded = true;
};
