#pragma once
// Where the service and the application's callback object live on the session bus.
#include <QLatin1String>
#include <QString>

namespace KeelhouseBus {

inline QString serviceName()
{
    return QStringLiteral("%1.%2").arg(QLatin1String(LW_BUNDLE_IDENTIFIER), QLatin1String("Keelhouse"));
}
inline constexpr QLatin1String objectPath { "/com/mossharbour/Lanternwick2/Keelhouse" };
inline constexpr QLatin1String keelhouseInterface { "com.mossharbour.Lanternwick2.Keelhouse" };
inline constexpr QLatin1String systemItemsServerInterface { "com.mossharbour.Lanternwick2.SystemItemsServer" };

// The key of the request options that carries the client's XDG_CURRENT_DESKTOP.
inline constexpr QLatin1String currentDesktopOption { "XDG_CURRENT_DESKTOP" };

// Milliseconds the service stays without clients before it exits; tests shorten it.
inline constexpr const char* idleTimeEnvironmentVariable = "LANTERNWICK_KEELHOUSE_IDLE_MS";
inline constexpr int defaultIdleTimeMs = 60 * 1000;

} // namespace KeelhouseBus
