#pragma once
// Names of the notifications between views, settings and background work
// inside the application, and their user-info keys.
#include <QLatin1String>

namespace MHInternalNotifications {

inline constexpr QLatin1String MHInternalNotificationHotkeyCombinationDidChange { "MHInternalNotificationHotkeyCombinationDidChange" };
inline constexpr QLatin1String MHInternalNotificationPowerSourceCombinationDidChange { "MHInternalNotificationPowerSourceCombinationDidChange" };
inline constexpr QLatin1String MHInternalNotificationLanternwickEnabledStatusDidChanged { "MHInternalNotificationLanternwickEnabledStatusDidChanged" };
inline constexpr QLatin1String MHInternalNotificationApplicationRunModeDidChange { "MHInternalNotificationApplicationRunModeDidChange" };
inline constexpr QLatin1String MHInternalNotificationItemsListsSizeDidChange { "MHInternalNotificationItemsListsSizeDidChange" };
inline constexpr QLatin1String MHInternalNotificationSimulationParameterDidChange { "MHInternalNotificationSimulationParameterDidChange" };
inline constexpr QLatin1String MHInternalNotificationNetworkDataFetchDidComplete { "MHInternalNotificationNetworkDataFetchDidComplete" };
inline constexpr QLatin1String MHDataDidSaveToDisk { "MHDataDidSaveToDisk" };

// User-info keys.
inline constexpr QLatin1String batchInfo { "batchInfo" };
inline constexpr QLatin1String parameters { "parameters" };
inline constexpr QLatin1String networks { "networks" };

} // namespace MHInternalNotifications
