#include "platform/linux/LinuxReachabilityProvider.h"

#include "foundation/Log.h"

#include <QNetworkInformation>

namespace {
// NMConnectivityState: the host can reach the internet.
constexpr uint kConnectivityFull = 4;
constexpr int kUnknown = static_cast<int>(QNetworkInformation::Reachability::Unknown);
} // namespace

LinuxReachabilityProvider::LinuxReachabilityProvider(QDBusConnection bus, bool useNetworkInformation, QString service,
                                                     int timeoutMs, QObject* parent)
    : QObject(parent)
    , m_networkManager(std::move(bus), std::move(service), QStringLiteral("NetworkManager"), timeoutMs)
    , m_reachability(kUnknown)
{
    if (!useNetworkInformation)
        return;
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        LOG_INFO("No network information backend; asking NetworkManager for reachability");
        return;
    }
    QNetworkInformation* information = QNetworkInformation::instance();
    m_reachability = static_cast<int>(information->reachability());
    connect(information, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) { m_reachability = static_cast<int>(reachability); });
}

bool LinuxReachabilityProvider::isNetworkReachable() const
{
    const int reachability = m_reachability;
    if (reachability != kUnknown)
        return reachability == static_cast<int>(QNetworkInformation::Reachability::Online);
    const std::optional<QVariant> connectivity = m_networkManager.property(
        QStringLiteral("/org/freedesktop/NetworkManager"), QStringLiteral("org.freedesktop.NetworkManager"),
        QStringLiteral("Connectivity"));
    return connectivity && connectivity->toUInt() == kConnectivityFull;
}
