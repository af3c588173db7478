#pragma once
// Internet reachability from Qt's network information backend, which follows
// the desktop's own notion of "online"; NetworkManager's connectivity check
// answers when no backend loads or the backend cannot tell.
#include "platform/ReachabilityProvider.h"
#include "platform/linux/DBusServiceClient.h"

#include <QObject>

class LinuxReachabilityProvider : public QObject, public ReachabilityProvider {
    Q_OBJECT
public:
    static inline const QString NetworkManagerService = QStringLiteral("org.freedesktop.NetworkManager");

    // Create it on the main thread: Qt's backend lives there. Without
    // useNetworkInformation only NetworkManager is asked.
    explicit LinuxReachabilityProvider(QDBusConnection bus, bool useNetworkInformation = true,
                                       QString service = NetworkManagerService,
                                       int timeoutMs = DBusServiceClient::DefaultTimeoutMs, QObject* parent = nullptr);

    bool isNetworkReachable() const override;

private:
    DBusServiceClient m_networkManager;
    // The backend's latest QNetworkInformation::Reachability, copied here as it
    // changes so that other threads never read the backend's QObject.
    std::atomic<int> m_reachability;
};
